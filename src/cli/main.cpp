// pagimond-cli: the compiler and the project store from a terminal. Reads the command
// line and hands it to one of the commands; a wrong command line is one message on
// standard error and exit status 2.
#include <CLI/CLI.hpp>

#include <exception>
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "map/map_text.h"

namespace {

using pm::cli::Request;

int run(int argc, char** argv) {
  CLI::App app{"Pagimond from a terminal: compile a gamebook project into a web site, write its map, "
               "create projects.",
               "pagimond-cli"};
  app.set_version_flag("--version", "pagimond-cli " PAGIMOND_VERSION);
  app.require_subcommand(1);

  Request r;
  r.argv0 = argc > 0 ? argv[0] : nullptr;
  r.phrase = std::string(pm::kDefaultLinkPhrase);
  std::string home;
  std::string in;
  const char* home_help = "Program folder (default: PAGIMOND_HOME, else the program's own folder)";

  auto* compile = app.add_subcommand("compile", "Compile the whole project into DIR/Output, one page per room");
  compile->add_option("PROJECT", r.project, "Project folder")->required();
  compile->add_flag("--classic", r.classic, "Classic page style (as the installer build) instead of mobile");
  compile->add_option("--home", home, home_help);

  auto* single = app.add_subcommand("single", "Compile the whole project into one page, DIR/Output/index.htm");
  single->add_option("PROJECT", r.project, "Project folder")->required();
  single->add_option("--home", home, home_help);

  auto* map = app.add_subcommand("map", "Write the adventure map text to standard output");
  map->add_option("PROJECT", r.project, "Project folder")->required();
  map->add_flag("--numbers-only", r.numbers_only, "Room headers as #N only");
  map->add_option("--phrase", r.phrase, "Words that open each link marker")->capture_default_str();

  auto* create = app.add_subcommand("new", "Create a project and print its folder");
  create->add_option("TITLE", r.title, "Title of the book")->required();
  create->add_option("--in", in, "Parent folder (default: DIR/Projects)");
  create->add_option("--home", home, home_help);

  // No command at all: the person wants to know what there is, so the whole usage summary.
  if (argc < 2) {
    pm::cli::report_usage(app.help());
    return pm::cli::kExitUsage;
  }
  // CLI11 reports a word that is no command only as a missing command: name it instead.
  const std::string first = argv[1];
  if (first.empty() || (first[0] != '-' && first != "compile" && first != "single" && first != "map" &&
                        first != "new")) {
    pm::cli::report_error(std::string("unknown command: ") + argv[1] + " (commands: compile, single, map, new)");
    return pm::cli::kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::Success& e) {
    return app.exit(e);  // --help, --version
  } catch (const CLI::ParseError& e) {
    pm::cli::report_error(e.what());
    return pm::cli::kExitUsage;
  }

  if (!home.empty()) r.home = home;
  if (create->parsed() && !in.empty()) r.in = in;
  if (compile->parsed()) return pm::cli::run_compile(r);
  if (single->parsed()) return pm::cli::run_single(r);
  if (map->parsed()) return pm::cli::run_map(r);
  return pm::cli::run_new(r);
}

}  // namespace

int main(int argc, char** argv) {
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    pm::cli::report_error(e.what());
    return pm::cli::kExitFailed;
  }
}

// pagimond-cli: the compiler and the project store from a terminal. Reads the command
// line and hands it to one of the commands; a wrong command line is one message on
// standard error and exit status 2.
#include <CLI/CLI.hpp>

#include <exception>
#include <string>
#include <vector>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>
#endif

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "map/map_text.h"
#include "base/program_folder.h"
#include "base/version.h"

namespace {

using pm::cli::Request;

int run(int argc, char** argv) {
  CLI::App app{"Pagimond from a terminal: compile a gamebook project into a web site, write its map, "
               "pack it for readers, check its links, draw its graph, playtest it, preview it live, create "
               "projects, import and export stories, list and restore the versions of its files.",
               "pagimond-cli"};
  app.set_version_flag("--version", "pagimond-cli " + std::string(pm::version_text()));
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
  compile->add_flag("--full", r.full, "Write every page, not only those whose files changed since the last compile");
  std::vector<CLI::Option*> home_given = {compile->add_option("--home", home, home_help)};

  auto* single = app.add_subcommand("single", "Compile the whole project into one page, DIR/Output/index.htm");
  single->add_option("PROJECT", r.project, "Project folder")->required();
  home_given.push_back(single->add_option("--home", home, home_help));

  auto* map = app.add_subcommand("map", "Write the adventure map text to standard output");
  map->add_option("PROJECT", r.project, "Project folder")->required();
  map->add_flag("--numbers-only", r.numbers_only, "Room headers as #N only");
  map->add_option("--phrase", r.phrase, "Words that open each link marker")->capture_default_str();

  auto* package = app.add_subcommand(
      "package", "Compile the book as the installer build does and pack it, with the Extra files and Start, "
                 "into DIR/Distribuisci/<project folder name>.zip; print the package's path");
  package->add_option("PROJECT", r.project, "Project folder")->required();
  home_given.push_back(package->add_option("--home", home, home_help));

  auto* check = app.add_subcommand("check", "Check the book: broken links and jumps, missing files, unreachable rooms");
  check->add_option("PROJECT", r.project, "Project folder")->required();
  check->add_flag("--json", r.json, "Write the findings as JSON");

  auto* encoding = app.add_subcommand(
      "encoding", "Rewrite every text file of the book in one encoding, each line read by its own bytes; "
                  "files already in it are left as they are");
  encoding->add_option("PROJECT", r.project, "Project folder")->required();
  encoding->add_option("--to", r.to, "windows-1252 or utf-8 (default: the book's own encoding)")
      ->check(CLI::IsMember({"windows-1252", "utf-8"}, CLI::ignore_case));

  auto* graph = app.add_subcommand("graph", "Draw the graph of rooms and links to standard output");
  graph->add_option("PROJECT", r.project, "Project folder")->required();
  graph->add_option("--format", r.format, "svg or png (a picture), or dot (the graph, not laid out)")
      ->check(CLI::IsMember({"svg", "dot", "png"}))
      ->capture_default_str();

  auto* playtest = app.add_subcommand(
      "playtest", "Send random readers from room 0 and give the exact odds of each ending, the shortest way to it, "
                  "the rooms no reader sees and the loops a reader cannot leave");
  playtest->add_option("PROJECT", r.project, "Project folder")->required();
  playtest->add_option("--runs", r.runs, "Readers")->check(CLI::Range(1u, 10000000u))->capture_default_str();
  playtest->add_option("--seed", r.seed, "Seed of the readers' choices (default 1)");
  playtest->add_option("--max-steps", r.max_steps, "Moves after which a reader stops")
      ->check(CLI::Range(1u, 10000000u))
      ->capture_default_str();
  playtest->add_flag("--json", r.json, "Write the figures as JSON");

  auto* create = app.add_subcommand("new", "Create a project and print its folder");
  create->add_option("TITLE", r.title, "Title of the book")->required();
  create->add_option("--in", in, "Parent folder (default: DIR/Projects)");
  home_given.push_back(create->add_option("--home", home, home_help));

  auto* history = app.add_subcommand(
      "history", "List the versions that saves replaced, 1 the newest (the text before the last save), "
                 "with date, time and size: of ROOM, or of every file of the book and the deleted rooms");
  history->add_option("PROJECT", r.project, "Project folder")->required();
  history->add_option("ROOM", r.room, "A room number, or a file of the book (Global.cod, adv.css, 3.js)");

  auto* restore = app.add_subcommand(
      "restore", "Bring version N of ROOM back; the text it replaces becomes version 1 (so it can be undone)");
  restore->add_option("PROJECT", r.project, "Project folder")->required();
  restore->add_option("ROOM", r.room, "A room number, or a file of the book (Global.cod, adv.css, 3.js)")
      ->required();
  restore->add_option("--version", r.version, "The version to bring back, as history lists it")
      ->required()
      ->check(CLI::Range(1, 1000000));
  home_given.push_back(restore->add_option("--home", home, home_help));

  auto* importing = app.add_subcommand(
      "import", "Make a new project of a story: a Twee 3 file or a published story HTML file; print its folder");
  importing->add_option("FILE", r.file, "The story file")->required();
  importing->add_option("--in", in, "Parent folder (default: DIR/Projects)");
  home_given.push_back(importing->add_option("--home", home, home_help));

  auto* renumber = app.add_subcommand(
      "renumber", "Write the book renumbered as a new project in FOLDER, references following their rooms, "
                  "with renumber.csv mapping old numbers to new; the book itself is not touched");
  renumber->add_option("PROJECT", r.project, "Project folder")->required();
  renumber->add_option("--into", r.into, "The new project's folder (must not exist, or be empty)")->required();
  auto* shuffle = renumber->add_flag("--shuffle", r.shuffle, "Shuffle the rooms (room 0 and pinned rooms stay)");
  renumber->add_option("--seed", r.seed, "The shuffle's seed: the same seed gives the same order")->needs(shuffle);
  renumber->add_option("--pin", r.pins, "Rooms that keep their numbers, separated by commas")->delimiter(',');
  renumber->add_option("--phrase", r.phrases, "Words after which a number names a room, besides "
                                              "\"vai al\", \"torna al\", \"paragrafo\" (repeatable)");

  auto* exporting = app.add_subcommand(
      "export", "Write the book in another form: an EPUB, PDF or ODT document, one section per room in number "
                "order, or a Twee 3 story; what the form cannot carry (scripts, timed jumps, sounds) is listed "
                "on standard error");
  exporting->add_option("PROJECT", r.project, "Project folder")->required();
  exporting->add_option("--format", r.format, "epub, pdf, odt or twee")
      ->required()
      ->check(CLI::IsMember({"epub", "pdf", "odt", "twee"}));
  exporting->add_option("--out", r.out, "The file to write (default: standard output for twee, "
                                        "<project folder name>.<format> here for the others)");
  exporting->add_option("--page", r.page, "Page size of a PDF: A5 or A4")
      ->check(CLI::IsMember({"A4", "A5"}, CLI::ignore_case))
      ->capture_default_str();
  exporting->add_option("--story-format", r.story_format, "twee: the story format as NAME@VERSION (default Harlowe@3.3.9)");

  auto* serve = app.add_subcommand("serve", "Compile the project, serve DIR/Output on 127.0.0.1 and compile again on "
                                           "every change, telling open pages to reload; Ctrl+C stops");
  serve->add_option("PROJECT", r.project, "Project folder")->required();
  serve->add_option("--port", r.port, "Port to listen on (default: a free one)")->check(CLI::Range(0, 65535));
  serve->add_flag("--open", r.open, "Open the start page in the browser");
  home_given.push_back(serve->add_option("--home", home, home_help));

  // No command at all: the person wants to know what there is, so the whole usage summary.
  if (argc < 2) {
    pm::cli::report_usage(app.help());
    return pm::cli::kExitUsage;
  }
  // CLI11 reports a word that is no command only as a missing command: name it instead.
  const std::string first = argv[1];
  std::string names;  // every command, in the order they were added
  bool known = false;
  for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; })) {
    names += (names.empty() ? "" : ", ") + command->get_name();
    known = known || command->get_name() == first;
  }
  if (first.empty() || (first[0] != '-' && !known)) {
    pm::cli::report_error(std::string("unknown command: ") + argv[1] + " (commands: " + names + ")");
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

  // The folder itself is chosen by the core's rule (ProgramFolder::locate); an empty one is
  // a wrong command line, as in the other programs.
  for (const CLI::Option* o : home_given) {
    if (o->count() == 0) continue;
    if (home.empty()) {
      pm::cli::report_error(std::string(pm::kMsgHomeNeedsFolder));
      return pm::cli::kExitUsage;
    }
    r.home = home;
  }
  if ((create->parsed() || importing->parsed()) && !in.empty()) r.in = in;
  if (compile->parsed()) return pm::cli::run_compile(r);
  if (single->parsed()) return pm::cli::run_single(r);
  if (map->parsed()) return pm::cli::run_map(r);
  if (package->parsed()) return pm::cli::run_package(r);
  if (check->parsed()) return pm::cli::run_check(r);
  if (encoding->parsed()) return pm::cli::run_encoding(r);
  if (graph->parsed()) return pm::cli::run_graph(r);
  if (history->parsed()) return pm::cli::run_history(r);
  if (restore->parsed()) return pm::cli::run_restore(r);
  if (importing->parsed()) return pm::cli::run_import(r);
  if (exporting->parsed()) return pm::cli::run_export(r);
  if (playtest->parsed()) return pm::cli::run_playtest(r);
  if (renumber->parsed()) return pm::cli::run_renumber(r);
  if (serve->parsed()) return pm::cli::run_serve(r);
  return pm::cli::run_new(r);
}

#if defined(_WIN32)
// The arguments in UTF-8, as the core takes names on Windows; main's own are in the
// ANSI code page, which loses every letter outside it.
std::vector<std::string> utf8_arguments() {
  std::vector<std::string> args;
  int count = 0;
  wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  for (int i = 0; wide && i < count; ++i) {
    int size = ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(size > 0 ? size_t(size) : 1, '\0');
    if (size > 0) ::WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
    arg.pop_back();  // the terminating zero
    args.push_back(std::move(arg));
  }
  if (wide) ::LocalFree(wide);
  return args;
}
#endif

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);  // the same bytes as elsewhere: no CR added before LF
  std::vector<std::string> args = utf8_arguments();
  std::vector<char*> arg_pointers;
  for (auto& a : args) arg_pointers.push_back(a.data());
  arg_pointers.push_back(nullptr);
  if (!args.empty()) {
    argc = int(args.size());
    argv = arg_pointers.data();
  }
#endif
  try {
    return run(argc, argv);
  } catch (const std::exception& e) {
    pm::cli::report_error(e.what());
    return pm::cli::kExitFailed;
  }
}

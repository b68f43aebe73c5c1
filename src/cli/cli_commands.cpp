// The commands of pagimond-cli (see cli_commands.h). Every check that can refuse a
// command runs before anything is written.
#include "cli/cli_commands.h"

#include <string>
#include <vector>

#include "cli/cli_output.h"
#include "compiler/single_file.h"
#include "compiler/site_compiler.h"
#include "map/map_text.h"
#include "project/program_folder.h"
#include "project/project_creation.h"
#include "rooms/room_list.h"

namespace pm::cli {

namespace {

stdfs::path absolute_path(const std::string& p) {
  std::error_code ec;
  stdfs::path a = stdfs::absolute(stdfs::path(p), ec);
  return ec ? stdfs::path(p) : a;
}

// The project named on the command line, or a message and nothing.
std::optional<Project> open_project(const std::string& arg) {
  stdfs::path folder = absolute_path(arg);
  if (!is_folder(folder)) {
    report_error(with_path("no such project folder", arg));
    return std::nullopt;
  }
  auto ref = check_project_folder(folder);
  if (!ref) {
    report_error(with_path("not a project folder (it needs a readable .dat file and Room/0)", arg));
    return std::nullopt;
  }
  return Project(ref->folder, ref->name);
}

// The program folder, which must exist: every compile writes into its Output.
std::optional<ProgramFolder> program_folder(const Request& r) {
  ProgramFolder home = ProgramFolder::locate(r.home, r.argv0);
  if (!is_folder(home.home())) {
    report_error(with_path("no such program folder", path_text(home.home())));
    return std::nullopt;
  }
  return home;
}

// True when `inner` is `outer` or lies below it.
bool lies_within(const stdfs::path& inner, const stdfs::path& outer) {
  std::error_code ec;
  stdfs::path a = stdfs::weakly_canonical(inner, ec);
  if (ec) a = inner.lexically_normal();
  stdfs::path b = stdfs::weakly_canonical(outer, ec);
  if (ec) b = outer.lexically_normal();
  stdfs::path rel = a.lexically_relative(b);
  return !rel.empty() && *rel.begin() != "..";
}

// Every compile empties the output folder first: a project kept inside it would be lost.
bool output_spares_project(const Project& project, const stdfs::path& output) {
  if (!lies_within(project.folder(), output)) return true;
  report_error(with_path("the project lies inside the output folder, which every compile empties",
                         path_text(project.folder())));
  return false;
}

int finish(const CompileReport& report) {
  for (const auto& e : report.errors) report_error(e);
  return report.ok() ? kExitOk : kExitFailed;
}

// The room numbers of the project manager's list, in its order. The compiles use no
// description, so the entries are made without reading the description files: the same
// numbers in the same order, without one file read per room.
std::vector<std::string> rooms_in_list_order(const Project& project) {
  std::vector<std::string> entries;
  for (const auto& name : project.room_names()) entries.push_back(make_room_entry(name, ""));
  return room_numbers(entries);
}

// What both compiles start from: the program folder, the project, and the output folder,
// which must not hold the project. Nothing when one of them fails (the reason is reported).
struct CompileInputs {
  Project project;
  stdfs::path output;
  std::vector<std::string> rooms;  // in the project manager's order
};

std::optional<CompileInputs> compile_inputs(const Request& r) {
  auto home = program_folder(r);
  if (!home) return std::nullopt;
  auto project = open_project(r.project);
  if (!project) return std::nullopt;
  stdfs::path output = home->output();
  if (!output_spares_project(*project, output)) return std::nullopt;
  std::vector<std::string> rooms = rooms_in_list_order(*project);
  return CompileInputs{std::move(*project), std::move(output), std::move(rooms)};
}

}  // namespace

int run_compile(const Request& r) {
  auto in = compile_inputs(r);
  if (!in) return kExitFailed;
  auto style = r.classic ? PageStyle::Classic : PageStyle::Mobile;
  return finish(compile_project(in->project, in->rooms, in->output, style));
}

int run_single(const Request& r) {
  auto in = compile_inputs(r);
  if (!in) return kExitFailed;
  return finish(compile_single_file(in->project, in->rooms, in->output));
}

int run_map(const Request& r) {
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  MapOptions options;
  options.numbers_only = r.numbers_only;
  options.phrase = r.phrase;
  // The map goes out as it is built; after a failed write nothing more is tried.
  std::string error;
  bool written = true;
  write_project_map(*project, options, [&](std::string_view piece) {
    if (written) written = write_stdout_bytes(piece, &error);
  });
  if (!written) {
    report_error("cannot write the map to standard output: " + error);
    return kExitFailed;
  }
  return kExitOk;
}

int run_new(const Request& r) {
  auto home = program_folder(r);
  if (!home) return kExitFailed;
  stdfs::path parent;
  bool made_parent = false;
  std::error_code ec;
  if (r.in) {
    parent = absolute_path(*r.in);
  } else {
    // A program folder without Projects gets one, as the start page expects it; it goes
    // again if the project cannot be made.
    parent = home->projects();
    made_parent = stdfs::create_directory(parent, ec);
  }
  if (!is_folder(parent)) {
    report_error(with_path("no such folder", path_text(parent)));
    return kExitFailed;
  }
  CreationResult made = create_project(parent, r.title, home->home());
  if (!made.ok) {
    if (made_parent) stdfs::remove(parent, ec);
    if (made.message == kMsgNameExists) {
      report_error(with_path(made.message, path_text(resolve(parent, made.name))));
    } else if (made.message == kMsgNoTitle) {
      report_error(with_path(made.message, path_text(parent)));
    } else {
      report_error(made.message);
    }
    return kExitFailed;
  }
  std::string line = path_text(made.folder) + "\n";
  std::string error;
  if (!write_stdout_bytes(line, &error)) {
    report_error("cannot write to standard output: " + error);
    return kExitFailed;
  }
  return kExitOk;
}

}  // namespace pm::cli

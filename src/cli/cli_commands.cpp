// The commands of pagimond-cli (see cli_commands.h). Every check that can refuse a
// command runs before anything is written.
#include "cli/cli_commands.h"

#include <functional>
#include <future>
#include <string>
#include <vector>

#include "check/book_check.h"
#include "check/check_report.h"
#include "check/encoding_check.h"
#include "check/graph_drawing.h"
#include "check/graphviz_render.h"
#include "cli/cli_output.h"
#include "compiler/single_file.h"
#include "compiler/site_compiler.h"
#include "map/map_text.h"
#include "packager/distribution.h"
#include "project/book_encoding.h"
#include "base/program_folder.h"
#include "project/project_creation.h"
#include "base/text.h"
#include "rooms/room_list.h"

namespace pm::cli {

namespace {

stdfs::path absolute_path(const std::string& p) {
  std::error_code ec;
  stdfs::path a = stdfs::absolute(path_from_text(p), ec);
  return folder_itself(ec ? path_from_text(p) : a);
}

// The project named on the command line with the names of its folder's files (listed once,
// for the check and for the compiles), or a message and nothing.
struct OpenedProject {
  Project project;
  std::vector<std::string> names;
};

std::optional<OpenedProject> open_listed_project(const std::string& arg) {
  stdfs::path folder = absolute_path(arg);
  if (!is_folder(folder)) {
    report_error(with_path("no such project folder", arg));
    return std::nullopt;
  }
  std::vector<std::string> names = list_file_names(folder);
  auto ref = check_project_folder(folder, names);
  if (!ref) {
    report_error(with_path("not a project folder (it needs a readable .dat file and Room/0)", arg));
    return std::nullopt;
  }
  return OpenedProject{Project(ref->folder, ref->name), std::move(names)};
}

std::optional<Project> open_project(const std::string& arg) {
  auto opened = open_listed_project(arg);
  if (!opened) return std::nullopt;
  return std::move(opened->project);
}

// The program folder, which must exist: every compile writes into its Output.
std::optional<ProgramFolder> program_folder(const Request& r) {
  ProgramFolderChoice choice = choose_program_folder(named_program_folder(r.home), r.argv0);
  if (!choice.warning.empty()) report_error(choice.warning);
  ProgramFolder home(choice.folder);
  if (!is_folder(home.home())) {
    report_error(with_path("no such program folder", path_text(home.home())));
    return std::nullopt;
  }
  return home;
}

// Every compile empties the output folder first: a project kept inside it would be lost.
bool output_spares_project(const Project& project, const stdfs::path& output) {
  if (!path_is_within(project.folder(), output)) return true;
  report_error(with_path("the project lies inside the output folder, which every compile empties",
                         path_text(project.folder())));
  return false;
}

int finish(const CompileReport& report) {
  for (const auto& e : report.errors) report_error(e);
  return report.ok() ? kExitOk : kExitFailed;
}

// The room numbers of the project manager's list for the room files `names`, in its order.
// The compiles use no description, so the entries are made without reading the description
// files: the same numbers in the same order, without one file read per room.
std::vector<std::string> rooms_in_list_order(const std::vector<std::string>& names) {
  std::vector<std::string> entries;
  for (const auto& name : names) entries.push_back(make_room_entry(name, ""));
  return room_numbers(entries);
}

// The room files of the project folder named `arg` (Project::room_names) passed through
// `then`, on a second thread: a big book's room folder holds thousands of names, listed
// while the project folder is checked. (Listing is only reading; a project that fails its
// check leaves the list unused.)
template <typename Then>
auto rooms_meanwhile(const std::string& arg, Then then) {
  return std::async(std::launch::async,
                    [folder = absolute_path(arg), then] { return then(Project(folder, "").room_names()); });
}

// What the compiles start from: the program folder, the project with the names of its
// files, the output folder, which must not hold the project, and the rooms, still being
// listed. Nothing when one of them fails (the reason is reported).
struct CompileInputs {
  ProgramFolder home;
  Project project;
  std::vector<std::string> names;  // the project folder's files
  stdfs::path output;
  std::future<std::vector<std::string>> rooms;  // in the project manager's order
};

std::optional<CompileInputs> compile_inputs(const Request& r) {
  auto home = program_folder(r);
  if (!home) return std::nullopt;
  // The compile prepares its output folder while the rooms are still being listed.
  auto rooms = rooms_meanwhile(r.project, rooms_in_list_order);
  auto opened = open_listed_project(r.project);
  if (!opened) return std::nullopt;
  stdfs::path output = home->output();
  if (!output_spares_project(opened->project, output)) return std::nullopt;
  return CompileInputs{std::move(*home), std::move(opened->project), std::move(opened->names), std::move(output),
                       std::move(rooms)};
}

// A compile into the output folder: prepared (emptied, resources copied) while the rooms are
// still being listed, then written by `write`.
using CompileWriter = std::function<void(const CompileInputs&, const ProjectReader&,
                                         const std::vector<std::string>& rooms, FolderEmptying&, CompileReport&)>;
int run_prepared_compile(const Request& r, const CompileWriter& write) {
  auto in = compile_inputs(r);
  if (!in) return kExitFailed;
  CompileReport report;
  const ProjectReader reader(in->project, std::move(in->names));
  auto emptying = prepare_output(in->project, reader, in->output, report);
  if (emptying) write(*in, reader, in->rooms.get(), *emptying, report);
  return finish(report);
}

// Writes `bytes` to standard output, or reports `lead` followed by the reason and returns
// false.
bool output(std::string_view bytes, std::string_view lead) {
  const Status written = write_stdout_bytes(bytes);
  if (written.ok()) return true;
  report_error(std::string(lead) + written.message());
  return false;
}

}  // namespace

int run_compile(const Request& r) {
  const auto style = r.classic ? PageStyle::Classic : PageStyle::Mobile;
  return run_prepared_compile(r, [&](const CompileInputs& in, const ProjectReader& reader,
                                     const std::vector<std::string>& rooms, FolderEmptying& emptying,
                                     CompileReport& report) {
    write_site(in.project, reader, rooms, in.output, style, emptying, report);
  });
}

int run_single(const Request& r) {
  return run_prepared_compile(r, [](const CompileInputs& in, const ProjectReader& reader,
                                    const std::vector<std::string>& rooms, FolderEmptying& emptying,
                                    CompileReport& report) {
    write_single_file(in.project, reader, rooms, in.output, emptying, report);
  });
}

int run_package(const Request& r) {
  auto in = compile_inputs(r);
  if (!in) return kExitFailed;
  CompileReport report = compile_for_distribution(in->home, in->project, in->rooms.get());
  if (!report.ok()) return finish(report);
  if (const Status packed = write_portable_package(in->home, in->project); !packed.ok()) {
    report_error(packed.message());
    return kExitFailed;
  }
  const std::string line = path_text(portable_package_path(in->home, in->project)) + "\n";
  return output(line, "cannot write to standard output: ") ? kExitOk : kExitFailed;
}

int run_map(const Request& r) {
  if (link_phrase_feeds_itself(r.phrase)) {
    report_error("--phrase cannot hold both < and \": the map would repeat it without end");
    return kExitUsage;
  }
  auto names = rooms_meanwhile(r.project, [](std::vector<std::string> all) { return all; });
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  MapOptions options;
  options.numbers_only = r.numbers_only;
  options.phrase = r.phrase;
  // The map goes out as it is built; after a failed write nothing more is tried.
  bool written = true;
  write_project_map(*project, names.get(), options, [&](std::string_view piece) {
    if (written) written = output(piece, "cannot write the map to standard output: ");
  });
  return written ? kExitOk : kExitFailed;
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
  if (!made.status.ok()) {
    if (made_parent) stdfs::remove(parent, ec);
    const std::string& message = made.status.message();
    switch (made.status.kind()) {
      case StatusKind::NameExists:
        report_error(with_path(message, path_text(resolve(parent, made.name))));
        break;
      case StatusKind::NoTitle:
        report_error(with_path(message, path_text(parent)));
        break;
      default:
        report_error(message);
        break;
    }
    return kExitFailed;
  }
  return output(path_text(made.folder) + "\n", "cannot write to standard output: ") ? kExitOk : kExitFailed;
}

int run_check(const Request& r) {
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  const LinkGraph graph = build_link_graph(*project);
  CheckResult result = check_book(graph);
  add_encoding_findings(project->folder(), result);
  const std::string report = r.json ? check_report_json(r.project, graph.rooms.size(), result)
                                    : check_report_lines(r.project, graph.rooms.size(), result);
  if (!output(report, "cannot write the check to standard output: ")) return kExitFailed;
  return result.errors ? kExitFailed : kExitOk;
}

int run_encoding(const Request& r) {
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  const TextEncoding to = r.to.empty()                ? book_encoding(project->folder())
                          : iequals(r.to, "utf-8")    ? TextEncoding::Utf8
                                                      : TextEncoding::Windows1252;
  const BookConversion done = convert_book(project->folder(), to);
  std::string out;
  // Each file as the check names it: the project folder, "/", the file's name.
  for (const auto& name : done.changed) out += path_text(project->folder()) + "/" + name + "\n";
  out += path_text(project->folder()) + ": " + encoding_name(to) + ", " + std::to_string(done.changed.size()) +
         (done.changed.size() == 1 ? " file" : " files") + " converted\n";
  for (const auto& e : done.errors) report_error(e);
  if (!output(out, "cannot write to standard output: ")) return kExitFailed;
  return done.errors.empty() ? kExitOk : kExitFailed;
}

int run_graph(const Request& r) {
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  const LinkGraph graph = build_link_graph(*project);
  const GraphDrawing drawing = make_graph_drawing(graph, check_book(graph));
  std::string picture;
  if (r.format == "dot") {
    picture = graph_dot_text(drawing, layout_engine_for(drawing));
  } else {
    std::string error;
    if (!render_graph(drawing, r.format, picture, error)) {
      report_error("cannot draw the graph: " + error);
      return kExitFailed;
    }
  }
  return output(picture, "cannot write the graph to standard output: ") ? kExitOk : kExitFailed;
}

}  // namespace pm::cli

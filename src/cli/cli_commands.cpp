// The commands of pagimond-cli (see cli_commands.h). Every check that can refuse a
// command runs before anything is written.
#include "cli/cli_commands.h"

#include <future>
#include <string>
#include <vector>

#include "check/book_check.h"
#include "check/check_report.h"
#include "check/encoding_check.h"
#include "check/graph_drawing.h"
#include "check/graphviz_render.h"
#include "cli/cli_output.h"
#include "compiler/compile_request.h"
#include "map/map_text.h"
#include "packager/distribution.h"
#include "project/book_encoding.h"
#include "base/program_folder.h"
#include "project/project_creation.h"
#include "base/text.h"

namespace pm::cli {

namespace {

stdfs::path absolute_path(const std::string& p) {
  std::error_code ec;
  stdfs::path a = stdfs::absolute(path_from_text(p), ec);
  return folder_itself(ec ? path_from_text(p) : a);
}

// Why the folder `arg` could not be opened as a project (open_project_folder's kinds).
void report_not_a_project(StatusKind kind, const std::string& arg) {
  report_error(kind == StatusKind::NotFound
                   ? with_path("no such project folder", arg)
                   : with_path("not a project folder (it needs a readable .dat file and Room/0)", arg));
}

// The project named on the command line, or a message and nothing.
std::optional<Project> open_project(const std::string& arg) {
  OpenedProject opened = open_project_folder(absolute_path(arg));
  if (!opened.status.ok()) report_not_a_project(opened.status.kind(), arg);
  return std::move(opened.project);
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

// The compile of the project named on the command line into the program folder's Output:
// the core checks the project and the output folder, lists the rooms and compiles; here its
// result is said in the command line's words.
CompileRequest compile_of(const Request& r, const ProgramFolder& home) {
  CompileRequest request;
  request.folder = absolute_path(r.project);
  request.output = home.output();
  return request;
}

// True when the compile did everything; otherwise its reasons, one a line.
bool reported(const CompileResult& result, const Request& r) {
  switch (result.status.kind()) {
    case StatusKind::Ok:
      return true;
    case StatusKind::NotFound:
    case StatusKind::NotAProject:
      report_not_a_project(result.status.kind(), r.project);
      return false;
    case StatusKind::WouldDestroy:
      report_error(with_path("the project lies inside the output folder, which every compile empties",
                             path_text(result.project->folder())));
      return false;
    default:
      for (const auto& e : result.report.errors) report_error(e);
      return false;
  }
}

int run_compile_of(const Request& r, CompileForm form, PageStyle style) {
  auto home = program_folder(r);
  if (!home) return kExitFailed;
  CompileRequest request = compile_of(r, *home);
  request.form = form;
  request.style = style;
  request.state = r.full ? OutputState::Rebuild : OutputState::Reuse;
  return reported(pm::run_compile(request), r) ? kExitOk : kExitFailed;
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
  return run_compile_of(r, CompileForm::Site, r.classic ? PageStyle::Classic : PageStyle::Mobile);
}

int run_single(const Request& r) { return run_compile_of(r, CompileForm::SingleFile, PageStyle::Mobile); }

int run_package(const Request& r) {
  auto home = program_folder(r);
  if (!home) return kExitFailed;
  const CompileResult compiled = pm::run_compile(for_distribution(*home, compile_of(r, *home)));
  if (!reported(compiled, r)) return kExitFailed;
  if (const Status packed = write_portable_package(*home, *compiled.project); !packed.ok()) {
    report_error(packed.message());
    return kExitFailed;
  }
  const std::string line = path_text(portable_package_path(*home, *compiled.project)) + "\n";
  return output(line, "cannot write to standard output: ") ? kExitOk : kExitFailed;
}

int run_map(const Request& r) {
  if (link_phrase_feeds_itself(r.phrase)) {
    report_error("--phrase cannot hold both < and \": the map would repeat it without end");
    return kExitUsage;
  }
  // A big book's room folder holds thousands of names: listed while the project is checked.
  auto names = std::async(std::launch::async,
                          [folder = absolute_path(r.project)] { return Project(folder, "").room_names(); });
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

// The commands of pagimond-cli (see cli_commands.h). Every check that can refuse a
// command runs before anything is written.
#include "cli/cli_commands.h"

#include <future>
#include <random>
#include <string>
#include <vector>

#include "check/book_check.h"
#include "check/check_report.h"
#include "check/encoding_check.h"
#include "check/graph_drawing.h"
#include "check/graphviz_render.h"
#include "check/playtest_report.h"
#include "cli/cli_output.h"
#include "cli/cli_support.h"
#include "compiler/compile_request.h"
#include "map/map_text.h"
#include "packager/distribution.h"
#include "paper/epub_export.h"
#include "paper/paper_book.h"
#include "paper/qt_document.h"
#include "paper/renumber.h"
#include "paper/room_references.h"
#include "project/book_encoding.h"
#include "project/book_history.h"
#include "project/deleted_rooms.h"
#include "base/program_folder.h"
#include "project/project_creation.h"
#include "base/text.h"

namespace pm::cli {

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

std::optional<ProjectParent> project_parent(const Request& r, const ProgramFolder& home) {
  ProjectParent parent;
  if (r.in) {
    parent.folder = absolute_path(*r.in);
  } else {
    std::error_code ec;
    parent.folder = home.projects();
    parent.made = stdfs::create_directory(parent.folder, ec);
  }
  if (!is_folder(parent.folder)) {
    report_error(with_path("no such folder", path_text(parent.folder)));
    return std::nullopt;
  }
  return parent;
}

void undo_project_parent(const ProjectParent& parent) {
  std::error_code ec;
  if (parent.made) stdfs::remove(parent.folder, ec);
}

namespace {

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

// What the program folder's Versioni.ini says the history keeps, for a command that saves
// book files (the defaults when there is no such folder or file).
void use_history_settings(const Request& r) {
  const ProgramFolderChoice choice = choose_program_folder(named_program_folder(r.home), r.argv0);
  set_history_policy(read_history_policy(choice.folder));
}

// The file of the book that ROOM names: a room's text, or a file by name; nothing (after
// a message) when it is no plain file name.
std::optional<stdfs::path> history_file(const Project& project, const std::string& room) {
  if (!is_plain_file_name(room)) {
    report_error(with_path("ROOM must be a room number or the name of a file of the book", room));
    return std::nullopt;
  }
  return project.file(room);
}

std::string version_line(const VersionInfo& v) {
  return std::to_string(v.number) + "  " + local_time_text(v.time) + "  " + std::to_string(v.size) + " byte  " +
         std::string(reason_text(v.reason)) + "\n";
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
  const auto parent_folder = project_parent(r, *home);
  if (!parent_folder) return kExitFailed;
  const stdfs::path& parent = parent_folder->folder;
  CreationResult made = create_project(parent, r.title, home->home());
  if (!made.status.ok()) {
    undo_project_parent(*parent_folder);
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
  use_history_settings(r);
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

int run_playtest(const Request& r) {
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  const LinkGraph graph = build_link_graph(*project);
  PlaytestOptions options;
  options.runs = r.runs;
  options.seed = r.seed.value_or(1);
  options.max_steps = r.max_steps;
  const PlaytestResult result = pm::run_playtest(graph, options);
  if (!result.has_start) {
    report_error("room 0 has no page: no reader can start the book");
    return kExitFailed;
  }
  const std::string report = r.json ? playtest_report_json(r.project, graph, result)
                                    : playtest_report_lines(r.project, graph, result);
  return output(report, "cannot write the playtest to standard output: ") ? kExitOk : kExitFailed;
}

}  // namespace pm::cli

namespace pm::cli {

int run_history(const Request& r) {
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  const stdfs::path book = project->folder();
  std::string out;
  auto list = [&](const stdfs::path& file, const std::string& lead) {
    const VersionList versions = list_versions(book, file);
    for (const auto& d : versions.damaged) report_error(d);
    for (const auto& v : versions.versions) out += lead + version_line(v);
  };
  if (!r.room.empty()) {
    auto file = history_file(*project, r.room);
    if (!file) return kExitUsage;
    list(*file, "");
  } else {
    for (const auto& name : files_with_versions(book)) list(book / path_from_text(name), name + "  ");
    const DeletedRooms trash = deleted_rooms(book);
    for (const auto& d : trash.damaged) report_error(d);
    for (const auto& room : trash.rooms)
      out += "Cestino  " + room.room + "  " + local_time_text(room.time) + "  " + description_line(room.description) +
             "\n";
  }
  return output(out, "cannot write to standard output: ") ? kExitOk : kExitFailed;
}

int run_restore(const Request& r) {
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  auto file = history_file(*project, r.room);
  if (!file) return kExitUsage;
  use_history_settings(r);
  if (const Status restored = restore_version(project->folder(), *file, r.version); !restored.ok()) {
    if (restored.kind() == StatusKind::NotFound)
      report_error("no version " + std::to_string(r.version) + " of " + r.room + " (it has " +
                   std::to_string(list_versions(project->folder(), *file).versions.size()) + ")");
    else
      report_error(restored.message());
    return kExitFailed;
  }
  return output(r.room + ": version " + std::to_string(r.version) + " restored\n", "cannot write to standard output: ")
             ? kExitOk
             : kExitFailed;
}

int run_renumber(const Request& r) {
  RenumberOptions options;
  options.shuffle = r.shuffle;
  options.seed = r.seed ? *r.seed : std::random_device{}();
  options.pinned = r.pins;
  options.phrases = default_reference_phrases();
  options.phrases.insert(options.phrases.end(), r.phrases.begin(), r.phrases.end());
  const auto done = renumber_project(absolute_path(r.project), absolute_path(r.into), options);
  switch (done.kind()) {
    case StatusKind::Ok:
      break;
    case StatusKind::NotFound:
    case StatusKind::NotAProject:
      if (!is_folder(absolute_path(r.project)) || done.kind() == StatusKind::NotAProject) {
        report_not_a_project(done.kind(), r.project);
        return kExitFailed;
      }
      report_error(done.status().message());
      return kExitFailed;
    case StatusKind::Usage:
      report_error("--pin: " + done.status().message());
      return kExitUsage;
    default:
      report_error(done.status().message());
      return kExitFailed;
  }
  if (r.shuffle && !r.seed) report_error("shuffled with --seed " + std::to_string(options.seed) + " (give it to repeat this order)");
  return output(path_text(absolute_path(r.into)) + "\n", "cannot write to standard output: ") ? kExitOk : kExitFailed;
}

namespace {

// The book read for paper, or a message and nothing; what paper cannot carry goes to
// standard error, one line a thing.
std::optional<PaperBook> paper_book_of(const Request& r, PaperLinks links) {
  auto book = read_paper_book(absolute_path(r.project), links);
  if (!book.ok()) {
    if (book.kind() == StatusKind::NotFound || book.kind() == StatusKind::NotAProject)
      report_not_a_project(book.kind(), r.project);
    else
      report_error(book.status().message());
    return std::nullopt;
  }
  for (const auto& line : paper_losses(*book)) report_error("not on paper: " + line);
  return std::move(book.value());
}

stdfs::path export_path(const Request& r) {
  if (r.out) return absolute_path(*r.out);
  return absolute_path(path_text(absolute_path(r.project).filename()) + "." + r.format);
}

int written(const Status& status, const stdfs::path& file) {
  if (!status.ok()) {
    report_error(status.message());
    return kExitFailed;
  }
  return output(path_text(file) + "\n", "cannot write to standard output: ") ? kExitOk : kExitFailed;
}

int export_epub(const Request& r) {
  auto book = paper_book_of(r, PaperLinks::Files);
  if (!book) return kExitFailed;
  const stdfs::path file = export_path(r);
  return written(write_epub(*book, file), file);
}

int export_document(const Request& r) {
  auto book = paper_book_of(r, PaperLinks::Anchors);
  if (!book) return kExitFailed;
  const stdfs::path file = export_path(r);
  return written(write_paper_document(*book, file, r.format == "pdf" ? PaperDocument::Pdf : PaperDocument::Odt,
                                      iequals(r.page, "A4") ? PaperSize::A4 : PaperSize::A5),
                 file);
}

}  // namespace

int run_export_paper(const Request& r) {
  if (r.format == "epub") return export_epub(r);
  if (r.format == "pdf" || r.format == "odt") return export_document(r);
  report_error("unknown export format: " + r.format);
  return kExitUsage;
}

}  // namespace pm::cli

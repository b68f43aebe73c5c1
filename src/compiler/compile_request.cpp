// The compile entry point and the compiles the room editor hosts (see compile_request.h).
#include "compiler/compile_request.h"

#include <future>
#include <mutex>

#include "base/platform.h"
#include "base/prompts.h"
#include "base/text.h"
#include "compiler/single_file.h"
#include "project/project_creation.h"
#include "project/project_reader.h"
#include "rooms/room_list.h"

namespace pm {

namespace {

// The rooms of the project in `folder`, in the project manager's order, listed on a second
// thread: a big book's room folder holds thousands of names, listed while the project is
// checked and the output folder prepared. (Listing is only reading; a project that fails
// its check leaves the list unused.)
std::future<std::vector<std::string>> rooms_meanwhile(const stdfs::path& folder) {
  return std::async(std::launch::async,
                    [folder] { return room_numbers_of_files(Project(folder, "").room_names()); });
}

Status failure(StatusKind kind, const CompileReport& report) { return Status(kind, compile_failure_message(report)); }

// The rooms to compile: the request's, else the listing started early, else (an editor's
// save that the kept state did not answer for) the project's listed now.
std::vector<std::string> listing_or(const CompileRequest& request, const Project& project,
                                    std::future<std::vector<std::string>>& listing) {
  if (request.rooms) return *request.rooms;
  return listing.valid() ? listing.get() : room_numbers_of_files(project.room_names());
}

std::mutex compiling;

}  // namespace

CompileResult run_compile(const CompileRequest& request) {
  const std::lock_guard one_at_a_time(compiling);
  CompileResult result;
  // An editor's save names its rooms: their pages alone are made when the state kept in
  // Output answers for the rest, and then no room list is needed.
  const bool saved_only = !request.saved_rooms.empty() && request.project && request.form == CompileForm::Site &&
                          request.state == OutputState::Reuse && request.extra.empty();
  std::future<std::vector<std::string>> listing;
  if (!request.rooms && !saved_only)
    listing = rooms_meanwhile(request.project ? request.project->folder() : request.folder);

  std::vector<std::string> names;
  if (request.project) {
    result.project = request.project;
  } else {
    OpenedProject opened = open_project_folder(request.folder);
    if (!opened.status.ok()) {
      result.status = std::move(opened.status);
      return result;
    }
    result.project = std::move(opened.project);
    names = std::move(opened.names);
  }
  const Project& project = *result.project;
  result.skip_start_page = project.read_fields().skip_start_page();

  // Every compile removes what else the output folder holds: a project kept inside it would
  // be lost.
  if (path_is_within(project.folder(), request.output)) {
    result.report.errors.push_back(output_holds_project_message(request.output));
    result.status = failure(StatusKind::WouldDestroy, result.report);
    return result;
  }

  const ProjectReader reader = request.project ? ProjectReader(project) : ProjectReader(project, std::move(names));
  bool compiled = false;
  if (request.form == CompileForm::SingleFile) {
    if (auto emptying = prepare_output(project, reader, request.output, result.report)) {
      write_single_file(project, reader, listing_or(request, project, listing), request.output, *emptying,
                        result.report);
      compiled = true;
    }
  } else if (path_is_within(request.output, project.res_folder())) {
    result.report.errors.push_back(output_holds_project_message(request.output));
  } else {
    if (!saved_only ||
        !update_saved_rooms(project, reader, request.saved_rooms, request.output, request.style, result.report))
      update_site(project, reader, listing_or(request, project, listing), request.output, request.style,
                  request.state, result.report);
    compiled = true;
  }
  if (compiled) {
    if (!request.extra.empty() && result.report.ok() && !copy_matching(request.extra, "*", request.output))
      result.report.errors.push_back("Impossibile copiare i file di " + path_text(request.extra) + " in " +
                                     path_text(request.output));
  }
  if (!result.report.ok()) result.status = failure(StatusKind::Incomplete, result.report);
  return result;
}

std::string compile_failure_message(const CompileReport& report) {
  return error_list_message("La compilazione non è riuscita del tutto:", report.errors);
}

void present_compile(const CompileResult& result, const CompileFollowUp& then, Platform& platform, Prompts& prompts) {
  static const std::string title = "Pagimond";
  if (!result.status.ok()) prompts.message(result.status.message(), title, MessageIcon::Warning);
  Status shown;
  switch (then.show) {
    case CompileFollowUp::Show::Nothing:
      return;
    case CompileFollowUp::Show::Page:
      if (!is_file(then.target)) return;
      shown = platform.open_document(path_text(then.target));
      break;
    case CompileFollowUp::Show::Folder:
      shown = platform.show_folder(path_text(then.target));
      break;
  }
  if (!shown.ok()) prompts.message(shown.message(), title, MessageIcon::Warning);
}

HostedCompile hosted_compile_from_flags(std::string_view compila_tutto, std::string_view compila_tutto2) {
  if (compila_tutto == "1") return HostedCompile::ProjectTest;
  if (compila_tutto2 == "1") return HostedCompile::BuildWithoutInstaller;
  return HostedCompile::RoomTest;
}

CompilePlan plan_compile(HostedCompile request, const stdfs::path& output, std::string_view room) {
  using Show = CompileFollowUp::Show;
  CompilePlan p;
  p.request = request;
  switch (request) {
    case HostedCompile::RoomTest:
      p.save_room_first = true;
      p.then = {Show::Page, output / (std::string(room) + ".htm")};
      break;
    case HostedCompile::ProjectTest:
      p.then = {Show::Page, output / "index.htm"};
      p.close_host_without_saving = true;
      p.clears = CompileFlag::CompilaTutto;
      break;
    case HostedCompile::BuildWithoutInstaller:
      p.then = {Show::Folder, output};
      p.close_host_without_saving = true;
      p.clears = CompileFlag::CompilaTutto2;
      break;
  }
  return p;
}

}  // namespace pm

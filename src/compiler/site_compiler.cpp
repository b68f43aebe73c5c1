// The whole-project compile into Output (see site_compiler.h).
#include "compiler/site_compiler.h"

#include <system_error>

#include "compiler/compile_request.h"
#include "project/project_reader.h"
#include "base/text.h"

namespace pm {

namespace {

void copy_step(bool ok, std::string_view what, const stdfs::path& from, CompileReport& report) {
  if (!ok) report.errors.push_back("Impossibile copiare " + std::string(what) + " da " + path_text(from));
}

}  // namespace

std::string output_holds_project_message(const stdfs::path& output) {
  return "La cartella di uscita " + path_text(output) + " contiene il progetto: non viene svuotata";
}

std::unique_ptr<FolderEmptying> prepare_output(const Project& project, const ProjectReader& files,
                                               const stdfs::path& output, CompileReport& report) {
  const stdfs::path res = project.res_folder();
  if (path_is_within(project.folder(), output) || path_is_within(output, res)) {
    report.errors.push_back(output_holds_project_message(output));
    return nullptr;
  }
  auto emptying = std::make_unique<FolderEmptying>(output);
  std::error_code ec;
  stdfs::create_directories(output / "res", ec);
  if (ec) report.errors.push_back("Impossibile creare la cartella " + path_text(output / "res") + ": " + ec.message());
  if (is_folder(res)) copy_step(copy_folder_contents(res, output / "res"), "le risorse", res, report);
  const auto& names = files.names_with_letters();
  copy_step(copy_matching(project.folder(), names, "*.css", output), "i fogli di stile", project.folder(), report);
  copy_step(copy_matching(project.folder(), names, "*.js", output), "gli script", project.folder(), report);
  // Pages link adv.css in lower case: a project's ADV.CSS must answer to that name on a
  // case-sensitive web server too.
  if (auto sheet = find_entry(output, "adv.css"); sheet && sheet->filename() != "adv.css") {
    stdfs::rename(*sheet, output / "adv.css", ec);
    if (ec) report.errors.push_back("Impossibile rinominare " + path_text(*sheet) + ": " + ec.message());
  }
  return emptying;
}

void finish_output(FolderEmptying& emptying, CompileReport& report) {
  if (Status emptied = emptying.finish(); !emptied.ok()) report.errors.push_back(emptied.message());
}

CompileReport compile_project(const Project& project, const std::vector<std::string>& rooms,
                              const stdfs::path& output, PageStyle style) {
  CompileRequest request;
  request.project = project;
  request.rooms = rooms;
  request.output = output;
  request.style = style;
  return run_compile(request).report;
}

}  // namespace pm

// The whole-project compile into Output (see site_compiler.h).
#include "compiler/site_compiler.h"

#include <system_error>

#include "compiler/project_reader.h"
#include "project/text.h"

namespace pm {

namespace {

// A room name that can be a file name in `output` (no separators, not . or ..).
bool is_plain_name(std::string_view room) {
  return !room.empty() && room != "." && room != ".." && room.find('/') == std::string_view::npos &&
         room.find('\\') == std::string_view::npos && room.find('\0') == std::string_view::npos;
}

void copy_step(bool ok, std::string_view what, const stdfs::path& from, CompileReport& report) {
  if (!ok) report.errors.push_back("Impossibile copiare " + std::string(what) + " da " + path_text(from));
}

}  // namespace

bool prepare_output(const Project& project, const stdfs::path& output, CompileReport& report) {
  const stdfs::path res = project.res_folder();
  if (path_is_within(project.folder(), output) || path_is_within(output, res)) {
    report.errors.push_back("La cartella di uscita " + path_text(output) +
                            " contiene il progetto: non viene svuotata");
    return false;
  }
  std::string error;
  if (!empty_folder(output, &error)) report.errors.push_back(error);
  std::error_code ec;
  stdfs::create_directories(output / "res", ec);
  if (ec) report.errors.push_back("Impossibile creare la cartella " + path_text(output / "res") + ": " + ec.message());
  if (is_folder(res)) copy_step(copy_folder_contents(res, output / "res"), "le risorse", res, report);
  copy_step(copy_matching(project.folder(), "*.css", output), "i fogli di stile", project.folder(), report);
  copy_step(copy_matching(project.folder(), "*.js", output), "gli script", project.folder(), report);
  // Pages link adv.css in lower case: a project's ADV.CSS must answer to that name on a
  // case-sensitive web server too.
  if (auto sheet = find_entry(output, "adv.css"); sheet && sheet->filename() != "adv.css") {
    stdfs::rename(*sheet, output / "adv.css", ec);
    if (ec) report.errors.push_back("Impossibile rinominare " + path_text(*sheet) + ": " + ec.message());
  }
  return true;
}

CompileReport compile_project(const Project& project, const std::vector<std::string>& rooms,
                              const stdfs::path& output, PageStyle style) {
  CompileReport report;
  if (!prepare_output(project, output, report)) return report;

  const ProjectFields fields = project.read_fields();
  const ProjectReader reader(project);
  const std::string before_code = reader.read("Global.cod", report.errors);
  const std::string after_code = reader.read("Global2.cod", report.errors);

  std::string text, script, error;
  for (const auto& room : rooms) {
    if (!is_plain_name(room)) {
      report.errors.push_back("Nome di stanza non valido: " + room);
      continue;
    }
    reader.read(room, text, report.errors);
    reader.read(room + ".js", script, report.errors);
    auto page = render_room_page(RoomSources{text, script, before_code, after_code}, fields, style);
    if (!page) continue;
    if (!write_file_atomic(output / (room + ".htm"), *page, &error)) {
      // A page that cannot be written is the disk or the folder failing, and every page
      // after it would fail the same way: one message, and no start page to a book with
      // pages missing.
      report.errors.push_back(error);
      return report;
    }
    ++report.pages;
  }

  if (!write_file_atomic(output / "index.htm", render_start_page(fields, style), &error))
    report.errors.push_back(error);
  return report;
}

}  // namespace pm

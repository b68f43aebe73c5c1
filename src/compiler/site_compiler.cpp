// The whole-project compile into Output (see site_compiler.h).
#include "compiler/site_compiler.h"

#include <system_error>

#include "compiler/compile_request.h"
#include "project/project_reader.h"
#include "base/work_ahead.h"
#include "base/open_folder.h"
#include "base/text.h"

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

void write_site(const Project& project, const ProjectReader& reader, const std::vector<std::string>& rooms,
                const stdfs::path& output, PageStyle style, FolderEmptying& emptying, CompileReport& report) {
  const ProjectFields fields = project.read_fields();
  const std::string before_code = reader.read("Global.cod", report.errors);
  const std::string after_code = reader.read("Global2.cod", report.errors);
  const OpenFolder pages(output);

  // The pages are read and rendered on a second thread while this one writes the pages
  // before them.
  struct Page {
    std::string text, script, bytes;
    bool exists = false;
    std::vector<std::string> errors;
  };
  std::vector<const std::string*> plain;
  plain.reserve(rooms.size());
  for (const auto& room : rooms)
    if (is_plain_name(room)) plain.push_back(&room);
  WorkAhead<Page> ahead(plain.size(), [&](size_t i, Page& page) {
    page.errors.clear();
    reader.read(*plain[i], page.text, page.errors);
    reader.read(*plain[i] + ".js", page.script, page.errors);
    page.exists = render_room_page(RoomSources{page.text, page.script, before_code, after_code}, fields, style,
                                   page.bytes);
  });
  std::string error;
  for (const auto& room : rooms) {
    if (!is_plain_name(room)) {
      report.errors.push_back("Nome di stanza non valido: " + room);
      continue;
    }
    const Page& page = ahead.next();
    report.errors.insert(report.errors.end(), page.errors.begin(), page.errors.end());
    // Output has just been emptied: the page goes straight to its place.
    if (page.exists) {
      if (Status written = write_file_direct(pages, room + ".htm", page.bytes); !written.ok()) {
        // A page that cannot be written is the disk or the folder failing, and every page
        // after it would fail the same way: one message, and no start page to a book with
        // pages missing.
        report.errors.push_back(written.message());
        finish_output(emptying, report);
        return;
      }
      ++report.pages;
    }
    ahead.release();
  }

  if (Status written = write_file_direct(pages, "index.htm", render_start_page(fields, style)); !written.ok())
    report.errors.push_back(written.message());
  finish_output(emptying, report);
}

}  // namespace pm

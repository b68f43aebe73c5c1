// The single-file compile (see single_file.h).
#include "compiler/single_file.h"

#include "compiler/project_reader.h"
#include "project/text.h"

namespace pm {

namespace {

constexpr size_t kSectionGapLines = 60;

void append_section_gap(std::string& out) {
  for (size_t i = 0; i < kSectionGapLines; ++i) out += kCrLf;
}

void append_title_block(std::string& out, const ProjectFields& f) {
  out += "<center><br><br>";
  if (!f.title().empty()) out += "Titolo: <br><b>" + f.title() + "</b><br><br>";
  if (!f.date().empty()) out += "Data: <br>" + f.date() + "<br><br>";
  if (!f.author().empty()) out += "Autore: <br>" + f.author() + "<br><br>";
  if (!f.site().empty()) out += "Sito Web: <br>" + f.site() + "<br><br>";
  if (!f.email().empty()) out += "Email: <br>" + f.email() + "<br><br>";
  out += "<a href='#0'>Continua</a><br><br><br><br>";
  out += credit_line();
  out += "</center>";
  append_section_gap(out);
}

// One room's section: anchor, before-code, the room's lines, after-code, the gap.
void append_room(std::string& out, std::string_view room, std::string_view text, std::string_view before_code,
                 std::string_view after_code) {
  out += "<a name=\"";
  out += room;
  out += "\"></a>";
  for_each_line(before_code, [&](std::string_view l) {
    out += l;
    out += kCrLf;
  });
  for_each_line(text, [&](std::string_view l) {
    std::string line = replace_all(trim_blanks(l), "  ", "&nbsp;&nbsp;");
    if (istarts_with(line, "<meta")) return;  // timed jumps have no meaning in one page
    out += line;
    out += kCrLf;
  });
  for_each_line(after_code, [&](std::string_view l) { out += l; });
  append_section_gap(out);
}

}  // namespace

std::string render_single_file(const Project& project, const std::vector<std::string>& rooms,
                               std::vector<std::string>* errors) {
  std::vector<std::string> read_errors;
  const ProjectFields fields = project.read_fields();
  const ProjectReader reader(project);
  const std::string before_code = reader.read("Global.cod", read_errors);
  const std::string after_code = reader.read("Global2.cod", read_errors);

  std::string buffer;
  append_page_head(buffer, fields, PageStyle::Classic, "");
  if (!fields.skip_start_page()) append_title_block(buffer, fields);
  std::string text;
  for (const auto& room : rooms) {
    reader.read(room, text, read_errors);
    append_room(buffer, room, text, before_code, after_code);
  }
  for (std::string_view piece : {"</td>", "</tr>", "</table>", "</center>", "</div>"}) buffer += piece;
  buffer += kNoRightClickScript;
  buffer += "</body></html>";

  buffer = replace_all(buffer, "<a href=\"", "<a href=\"#");
  buffer = replace_all(buffer, ".htm", "");
  buffer = replace_all(buffer, kCrLf, "<br>");
  buffer += kCrLf;
  if (errors) errors->insert(errors->end(), read_errors.begin(), read_errors.end());
  return buffer;
}

CompileReport compile_single_file(const Project& project, const std::vector<std::string>& rooms,
                                  const stdfs::path& output) {
  CompileReport report;
  if (!prepare_output(project, output, report)) return report;
  std::string page = render_single_file(project, rooms, &report.errors);
  std::string error;
  if (!write_file_atomic(output / "index.htm", page, &error)) report.errors.push_back(error);
  return report;
}

}  // namespace pm

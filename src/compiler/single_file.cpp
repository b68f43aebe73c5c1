// The single-file compile (see single_file.h).
#include "compiler/single_file.h"

#include "compiler/project_reader.h"
#include "compiler/single_file_rewrite.h"
#include "project/text.h"

namespace pm {

namespace {

constexpr size_t kSectionGapLines = 60;

std::string section_gap() {
  std::string gap;
  for (size_t i = 0; i < kSectionGapLines; ++i) gap += kCrLf;
  return gap;
}

void append_title_block(SingleFileWriter& w, const ProjectFields& f, std::string_view gap) {
  w.add("<center><br><br>");
  if (!f.title().empty()) w.add("Titolo: <br><b>" + f.title() + "</b><br><br>");
  if (!f.date().empty()) w.add("Data: <br>" + f.date() + "<br><br>");
  if (!f.author().empty()) w.add("Autore: <br>" + f.author() + "<br><br>");
  if (!f.site().empty()) w.add("Sito Web: <br>" + f.site() + "<br><br>");
  if (!f.email().empty()) w.add("Email: <br>" + f.email() + "<br><br>");
  w.add("<a href='#0'>Continua</a><br><br><br><br>");
  w.add(credit_line());
  w.add("</center>");
  w.add(gap);
}

// One room's section: anchor, before-code, the room's lines, after-code, the gap.
void append_room(SingleFileWriter& w, std::string_view room, std::string_view text, std::string_view before_code,
                 std::string_view after_code, std::string_view gap) {
  w.add("<a name=\"");
  w.add(room);
  w.add("\"></a>");
  for_each_line(before_code, [&](std::string_view l) {
    w.add(l);
    w.add(kCrLf);
  });
  for_each_line(text, [&](std::string_view l) {
    std::string line = replace_all(trim_blanks(l), "  ", "&nbsp;&nbsp;");
    if (istarts_with(line, "<meta")) return;  // timed jumps have no meaning in one page
    line += kCrLf;
    w.add(line);
  });
  for_each_line(after_code, [&](std::string_view l) { w.add(l); });
  w.add(gap);
}

// The document's size, estimated from the files' sizes so that it is allocated once rather
// than copied at every doubling (a large book makes a page of tens of megabytes). Each
// room adds its anchor, the global code before it (a line break, two bytes, becomes "<br>",
// four), its text with room for its line breaks, the code after it and the gap of breaks.
// Too low an estimate costs only the growth it was meant to spare.
size_t estimated_size(const ProjectReader& reader, const std::vector<std::string>& rooms, size_t head,
                      size_t before_code, size_t after_code) {
  constexpr size_t kTitleBlock = 4096, kAnchor = 16;
  size_t total = head + kTitleBlock;
  for (const auto& room : rooms) {
    const size_t text = reader.size(room);
    total += kAnchor + room.size() + 2 * before_code + text + text / 8 + after_code + kSectionGapLines * 4;
  }
  return total;
}

}  // namespace

std::string render_single_file(const Project& project, const std::vector<std::string>& rooms,
                               std::vector<std::string>* errors) {
  std::vector<std::string> read_errors;
  const ProjectFields fields = project.read_fields();
  const ProjectReader reader(project);
  const std::string before_code = reader.read("Global.cod", read_errors);
  const std::string after_code = reader.read("Global2.cod", read_errors);
  const std::string gap = section_gap();

  std::string head;
  append_page_head(head, fields, PageStyle::Classic, "");
  std::string document;
  document.reserve(estimated_size(reader, rooms, head.size(), before_code.size(), after_code.size()));
  SingleFileWriter w(document);
  w.add(head);
  if (!fields.skip_start_page()) append_title_block(w, fields, gap);
  std::string text;
  for (const auto& room : rooms) {
    reader.read(room, text, read_errors);
    append_room(w, room, text, before_code, after_code, gap);
  }
  for (std::string_view piece : {"</td>", "</tr>", "</table>", "</center>", "</div>"}) w.add(piece);
  w.add(kNoRightClickScript);
  w.add("</body></html>");
  w.finish();
  document += kCrLf;
  if (errors) errors->insert(errors->end(), read_errors.begin(), read_errors.end());
  return document;
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

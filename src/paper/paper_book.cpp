// A book read for paper (see paper_book.h).
#include "paper/paper_book.h"

#include <algorithm>
#include <unordered_map>

#include "base/text.h"
#include "base/text_codec.h"
#include "compiler/page_renderer.h"
#include "paper/paper_markup.h"
#include "project/project_creation.h"
#include "project/project_reader.h"

namespace pm {

namespace {

// Number order: numbers by value, then names that are no numbers in the room list's order.
bool number_less(const std::string& a, const std::string& b) {
  const bool da = is_digits(a), db = is_digits(b);
  if (da != db) return da;
  if (da && a.size() != b.size()) return a.size() < b.size();
  return da ? a < b : room_name_less(a, b);
}

// Every file below res by its path inside res in lower case.
std::unordered_map<std::string, std::string> res_files(const stdfs::path& res) {
  std::unordered_map<std::string, std::string> out;
  std::error_code ec;
  for (stdfs::recursive_directory_iterator it(res, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    if (!it->is_regular_file(type_ec)) continue;
    const std::string rel = it->path().lexically_relative(res).generic_string();
    out.emplace(to_lower_ascii(rel), rel);
  }
  return out;
}

}  // namespace

std::string picture_media_type(std::string_view path) {
  const std::string lower = to_lower_ascii(path.substr(path.rfind('.') == std::string_view::npos ? path.size() : path.rfind('.')));
  if (lower == ".png") return "image/png";
  if (lower == ".jpg" || lower == ".jpeg") return "image/jpeg";
  if (lower == ".gif") return "image/gif";
  if (lower == ".svg") return "image/svg+xml";
  if (lower == ".webp") return "image/webp";
  return {};
}

Result<PaperBook> read_paper_book(const stdfs::path& folder, PaperLinks links, const PaperProgress& progress) {
  OpenedProject opened = open_project_folder(folder);
  if (!opened.status.ok()) return opened.status;
  const Project& project = *opened.project;
  const ProjectReader reader(project, opened.names);
  PaperBook book;
  const ProjectFields fields = project.read_fields();
  book.title = decode_character_references(decode_for_display(fields.title()));
  book.author = decode_character_references(decode_for_display(fields.author()));
  book.date = decode_character_references(decode_for_display(fields.date()));
  if (book.title.empty()) book.title = path_text(project.folder().filename());
  book.res = project.res_folder();

  std::vector<std::string> names = project.room_names();
  std::sort(names.begin(), names.end(), number_less);
  std::vector<std::string> texts(names.size());
  std::unordered_map<std::string, std::string> href;  // lower-case room name -> its section
  std::vector<std::string> errors;
  for (size_t k = 0; k < names.size(); ++k) {
    reader.read(names[k], texts[k], errors);
    if (!writes_page(texts[k])) continue;
    const std::string id = "s" + std::to_string(book.rooms.size());
    href.emplace(to_lower_ascii(names[k]), links == PaperLinks::Files ? id + ".xhtml" : "#" + id);
    book.rooms.push_back(PaperRoom{names[k], id, {}, {}});
  }
  if (!errors.empty()) return Status(StatusKind::ReadFailed, error_list_message("Impossibile leggere:", errors));

  const auto pictures = res_files(book.res);
  PaperMarkupRules rules;
  rules.room_href = [&](std::string_view room) -> std::optional<std::string> {
    auto it = href.find(to_lower_ascii(room));
    if (it == href.end()) return std::nullopt;
    return it->second;
  };
  rules.picture = [&](std::string_view path) {
    return !picture_media_type(path).empty() && pictures.count(to_lower_ascii(path));
  };
  size_t room = 0;
  for (size_t k = 0; k < names.size(); ++k) {
    if (!writes_page(texts[k])) continue;
    PaperRoom& r = book.rooms[room++];
    PaperMarkup markup = paper_markup(decode_lines_for_display(texts[k]), rules);
    r.xhtml = std::move(markup.xhtml);
    r.lost = std::move(markup.lost);
    if (!reader.read(room_script_name(names[k]), errors).empty()) r.lost.insert(r.lost.begin(), "lo script " + room_script_name(names[k]));
    for (auto& p : markup.pictures)
      if (std::find(book.pictures.begin(), book.pictures.end(), p) == book.pictures.end()) book.pictures.push_back(p);
    std::string().swap(texts[k]);
    if (progress && (room % 256 == 0 || room == book.rooms.size())) progress(room, book.rooms.size());
  }
  if (!reader.read("Global.cod", errors).empty()) book.lost.push_back("il codice prima di ogni stanza (Global.cod)");
  if (!reader.read("Global2.cod", errors).empty()) book.lost.push_back("il codice dopo ogni stanza (Global2.cod)");
  if (!errors.empty()) return Status(StatusKind::ReadFailed, error_list_message("Impossibile leggere:", errors));
  // The pictures by their spelling on disk, which the documents name.
  for (auto& p : book.pictures) p = pictures.at(to_lower_ascii(p));
  return book;
}

std::vector<std::string> paper_losses(const PaperBook& book) {
  std::vector<std::string> out;
  for (const auto& l : book.lost) out.push_back("tutto il libro: " + l);
  for (const auto& r : book.rooms)
    for (const auto& l : r.lost) out.push_back("stanza " + r.name + ": " + l);
  return out;
}

std::string paper_book_html(const PaperBook& book) { return paper_book_html(book, 0, book.rooms.size()); }

std::string paper_book_html(const PaperBook& book, size_t first, size_t end) {
  std::string out = "<html><head><meta charset=\"utf-8\"/><title>" + xml_escaped(book.title) + "</title></head><body>\n";
  if (first == 0) {
    out += "<h1 align=\"center\">" + xml_escaped(book.title) + "</h1>\n";
    if (!book.author.empty()) out += "<p align=\"center\">" + xml_escaped(book.author) + "</p>\n";
    if (!book.date.empty()) out += "<p align=\"center\">" + xml_escaped(book.date) + "</p>\n";
  }
  for (size_t k = first; k < std::min(end, book.rooms.size()); ++k) {
    const PaperRoom& r = book.rooms[k];
    out += "<h2 align=\"center\"><a name=\"" + r.id + "\"></a>" + xml_escaped(r.name) + "</h2>\n";
    out += r.xhtml;
  }
  out += "</body></html>\n";
  return out;
}

}  // namespace pm

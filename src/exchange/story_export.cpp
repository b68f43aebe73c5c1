// A project as a Twee 3 story (see story_export.h).
#include "exchange/story_export.h"

#include <algorithm>
#include <random>
#include <unordered_set>

#include "base/text.h"
#include "base/text_codec.h"
#include "check/road_scan.h"
#include "exchange/html_tag.h"
#include "exchange/story_import.h"

namespace pm {

namespace {

// The room number of a page address "N.htm" (any case), or nothing.
std::optional<size_t> room_of_page(std::string_view href, size_t rooms) {
  if (href.size() < 5 || !iequals(href.substr(href.size() - 4), ".htm")) return std::nullopt;
  const std::string_view n = href.substr(0, href.size() - 4);
  if (!is_digits(n) || n.size() > 9 || (n.size() > 1 && n[0] == '0')) return std::nullopt;
  const size_t number = size_t(std::stoul(std::string(n)));
  return number < rooms ? std::optional<size_t>(number) : std::nullopt;
}

// A description as a passage name: what would end a link early or divide it elsewhere
// ("]]", a final "]", "->") is changed; the header's own characters are escaped on writing.
std::string passage_name_of(std::string_view description, size_t number) {
  std::string name(trim_space(description));
  replace_all_in_place(name, "->", "-");
  replace_all_in_place(name, "]]", "] ]");
  if (!name.empty() && name.back() == ']') name.back() = ')';
  if (trim_space(name).empty() || name.substr(0, 2) == "::") name = "Stanza " + std::to_string(number);
  return name;
}

// Room names in number order: the rooms 0, 1, 2... as long as they are there; the other
// names of Room (after a gap in the numbers, or no number at all) go to `left_out`.
std::vector<std::string> numbered_rooms(const Project& project, std::vector<std::string>& left_out) {
  std::vector<std::string> names = project.room_names();
  std::vector<size_t> numbers;
  for (const auto& n : names)
    if (is_digits(n) && n.size() < 10 && (n.size() == 1 || n[0] != '0')) numbers.push_back(std::stoul(n));
    else left_out.push_back(n);
  std::sort(numbers.begin(), numbers.end());
  std::vector<std::string> out;
  size_t i = 0;
  for (; i < numbers.size() && numbers[i] == i; ++i) out.push_back(std::to_string(i));
  for (; i < numbers.size(); ++i) left_out.push_back(std::to_string(numbers[i]));
  return out;
}

}  // namespace

std::optional<StoryFormat> parse_story_format(std::string_view text) {
  const size_t at = text.rfind('@');
  if (at == std::string_view::npos || at == 0 || at + 1 == text.size()) return std::nullopt;
  return StoryFormat{std::string(text.substr(0, at)), std::string(text.substr(at + 1))};
}

std::string new_ifid() {
  std::random_device device;
  std::mt19937_64 random(uint64_t(device()) << 32 | device());
  unsigned char b[16];
  for (auto& x : b) x = static_cast<unsigned char>(random() & 0xFF);
  b[6] = static_cast<unsigned char>((b[6] & 0x0F) | 0x40);  // version 4
  b[8] = static_cast<unsigned char>((b[8] & 0x3F) | 0x80);  // the RFC 4122 variant
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (int i = 0; i < 16; ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) out += '-';
    out += kHex[b[i] >> 4];
    out += kHex[b[i] & 0xF];
  }
  return out;
}

bool is_ifid(std::string_view t) {
  if (t.size() < 8 || t.size() > 63) return false;
  return std::all_of(t.begin(), t.end(),
                     [](char c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-'; });
}

Result<std::string> project_ifid(const Project& project) {
  const stdfs::path file = project.file(kIfidFile);
  const std::string kept = std::string(trim_space(read_file_or_empty(file)));
  if (is_ifid(kept)) return kept;
  std::string ifid = new_ifid();
  if (Status s = write_file_atomic(file, ifid + "\r\n"); !s.ok())
    return Status(StatusKind::WriteFailed, "L'IFID della storia non si pu\xC3\xB2 conservare nel progetto: " + s.message());
  return ifid;
}

std::string passage_text_of(std::string_view text, const std::vector<std::string>& names) {
  std::string out;
  size_t i = 0;
  for (;;) {
    size_t a = ifind(text, "<a", i);
    while (a != std::string_view::npos && a + 2 < text.size() &&
           !(text[a + 2] == ' ' || text[a + 2] == '\t' || text[a + 2] == '\n'))
      a = ifind(text, "<a", a + 2);
    if (a == std::string_view::npos || a + 2 >= text.size()) break;
    const HtmlTag tag = read_html_tag(text, a);
    const size_t close = tag.end == std::string_view::npos ? tag.end : ifind(text, "</a>", tag.end);
    if (close == std::string_view::npos) break;
    const std::string_view inner = text.substr(tag.end, close - tag.end);
    const auto room = tag.attrs.size() == 1 ? room_of_page(tag.attr("href"), names.size()) : std::nullopt;
    // Only a plain link with a text of its own that a link's brackets can hold becomes one.
    const bool plain = room && !inner.empty() && inner.find("]]") == std::string_view::npos &&
                       inner.find("[[") == std::string_view::npos && inner.find('\n') == std::string_view::npos &&
                       ifind(inner, "<a") == std::string_view::npos && inner.back() != ']';
    out.append(text.substr(i, a - i));
    if (plain) out += "[[" + std::string(inner) + "->" + names[*room] + "]]";
    else out.append(text.substr(a, close + 4 - a));
    i = close + 4;
  }
  out.append(text.substr(i));
  return out;
}

TweeExport story_of_project(const Project& project, const std::string& ifid, const StoryFormat& format) {
  TweeExport ex;
  Story& story = ex.story;
  story.title = decode_character_references(decode_for_display(project.read_fields().title()));
  story.title = replace_all(story.title, "''", "\"");
  story.ifid = ifid;
  story.format = format.name;
  story.format_version = format.version;

  std::vector<std::string> left_out;
  const std::vector<std::string> rooms = numbered_rooms(project, left_out);
  std::vector<std::string> names;
  std::unordered_set<std::string> used = {"StoryTitle", "StoryData", "Foglio di stile", "Script"};
  for (size_t n = 0; n < rooms.size(); ++n) {
    const std::string description =
        decode_character_references(decode_for_display(project.read_description_text(rooms[n])));
    const std::string base = passage_name_of(description, n);
    std::string name = base;
    for (int k = 2; !used.insert(name).second; ++k) name = base + " (" + std::to_string(k) + ")";
    names.push_back(name);
  }
  if (!names.empty()) story.start = names[0];

  for (size_t n = 0; n < rooms.size(); ++n) {
    const std::string where = "stanza " + rooms[n] + " (\"" + names[n] + "\")";
    std::string text = decode_lines_for_display(project.read_text(rooms[n]));
    std::vector<Road> roads;
    scan_roads(text, roads);
    for (const Road& road : roads) {
      if (road.kind == RoadKind::TimedJump)
        ex.not_carried.push_back(where + ", riga " + std::to_string(road.line) + ": salto a tempo non esportato");
      else if (road.kind == RoadKind::BackLink && !road.back_arrow)
        ex.not_carried.push_back(where + ", riga " + std::to_string(road.line) + ": ritorno indietro non esportato");
    }
    if (!trim_space(project.read_script(rooms[n])).empty())
      ex.not_carried.push_back(where + ": lo script " + room_script_name(rooms[n]) + " non \xC3\xA8 esportato");
    // The editor's way of writing: CR LF line ends, one after the last line.
    replace_all_in_place(text, "\r\n", "\n");
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    StoryPassage p;
    p.name = names[n];
    // The tags a room got from an imported passage.
    if (text.substr(0, kTagCommentLead.size()) == kTagCommentLead) {
      const size_t end = text.find(" -->");
      const size_t nl = text.find('\n');
      if (end != std::string::npos && (nl == std::string::npos || end < nl)) {
        std::string word;
        for (char c : text.substr(kTagCommentLead.size(), end - kTagCommentLead.size()) + " ") {
          if (c != ' ') word += c;
          else if (!word.empty()) p.tags.push_back(std::exchange(word, {}));
        }
        text.erase(0, nl == std::string::npos ? text.size() : nl + 1);
      }
    }
    text = passage_text_of(text, names);
    // A line that begins with "::" would start a passage: its first colon as a reference.
    if (text.substr(0, 2) == "::") text.replace(0, 1, "&#58;");
    replace_all_in_place(text, "\n::", "\n&#58;:");
    p.text = std::move(text);
    story.passages.push_back(std::move(p));
  }
  for (const auto& name : left_out)
    ex.not_carried.push_back("stanza " + name + ": non esportata, i numeri delle Stanze senza salti finiscono a " +
                             (rooms.empty() ? std::string("(manca la Stanza 0)") : std::to_string(rooms.size() - 1)));
  for (std::string_view code : {"Global.cod", "Global2.cod"})
    if (!trim_space(read_file_or_empty(project.file(code))).empty())
      ex.not_carried.push_back(std::string(code) + ": il codice globale non \xC3\xA8 esportato");
  // The style sheet a story brought in with it goes back out with it.
  const std::string css = decode_lines_for_display(read_file_or_empty(project.file("adv.css")));
  if (const size_t mark = css.find(kImportedStyleMark); mark != std::string::npos) {
    std::string sheet = std::string(trim_space(std::string_view(css).substr(mark + kImportedStyleMark.size())));
    replace_all_in_place(sheet, "\r\n", "\n");
    story.stylesheet = std::move(sheet);
  }
  return ex;
}

}  // namespace pm

// The single-file compile (see single_file.h).
#include "compiler/single_file.h"

#include <cstdint>
#include <cstring>
#include <functional>

#include "compiler/project_reader.h"
#include "compiler/read_ahead.h"
#include "project/open_folder.h"
#include "project/text.h"

namespace pm {

namespace {

constexpr size_t kSectionGapLines = 60;
constexpr std::string_view kLinkOpen = "<a href=\"";
constexpr std::string_view kHtm = ".htm";

// True for the bytes where one of the three rewrites can begin: '<', '.' and CR.
inline bool may_rewrite(char c) { return c == '<' || c == '.' || c == '\r'; }

// The first byte at or after `i` where a rewrite can begin, looking at eight bytes at a time.
size_t next_candidate(std::string_view s, size_t i) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL, kHighs = 0x8080808080808080ULL;
  auto has_byte = [&](uint64_t word, char c) {
    const uint64_t v = word ^ (kOnes * uint8_t(c));
    return (v - kOnes) & ~v & kHighs;
  };
  for (; i + 8 <= s.size(); i += 8) {
    uint64_t word;
    std::memcpy(&word, s.data() + i, 8);
    if (has_byte(word, '<') | has_byte(word, '.') | has_byte(word, '\r')) break;
  }
  while (i < s.size() && !may_rewrite(s[i])) ++i;
  return i;
}

// The document's three rewrites, in order, applied to `raw` and appended to `out`: every
// "<a href=" and double quote gets a "#" (a room link becomes a jump to its anchor), every
// ".htm" is removed, every CR LF becomes "<br>". One pass does all three: the first only
// adds a "#" after a double quote, so it neither makes nor breaks a ".htm" or a CR LF, and
// the second can only join a CR and an LF by removing the ".htm"s between them, which the
// pass looks past. `raw` must be a whole piece: one that ends where no match can go on
// (after a CR LF of the document's own), or the document's end.
void rewrite_piece(std::string_view raw, std::string& out) {
  size_t i = 0;
  while (i < raw.size()) {
    const size_t hit = next_candidate(raw, i);
    out.append(raw.substr(i, hit - i));
    if (hit == raw.size()) break;
    i = hit;
    const std::string_view rest = raw.substr(i);
    if (rest[0] == '<') {
      if (rest.starts_with(kLinkOpen)) {
        out += kLinkOpen;
        out += '#';
        i += kLinkOpen.size();
      } else {
        out += '<';
        ++i;
      }
    } else if (rest[0] == '.') {
      if (rest.starts_with(kHtm)) {
        i += kHtm.size();
      } else {
        out += '.';
        ++i;
      }
    } else {  // CR: a line end when an LF follows, past any ".htm" the second rewrite removes
      size_t k = 1;
      while (rest.substr(k).starts_with(kHtm)) k += kHtm.size();
      if (k < rest.size() && rest[k] == '\n') {
        out += "<br>";
        i += k + 1;
      } else {
        out += '\r';
        ++i;
      }
    }
  }
}

// The document as it is built: its raw text gathers up to the end of a room's section and
// then goes through the rewrites at once, so the rewrites look at each byte once, in cache,
// and the rewritten document is handed on in large pieces.
class SingleFileWriter {
 public:
  using Sink = std::function<void(std::string_view)>;
  explicit SingleFileWriter(Sink sink) : sink_(std::move(sink)) {}

  std::string& raw() { return raw_; }
  void add(std::string_view piece) { raw_ += piece; }

  // The raw text so far ends with a CR LF of the document's own (a section gap): no
  // rewrite can match across it, so it is rewritten now.
  void end_of_section() {
    rewrite_piece(raw_, done_);
    raw_.clear();
    if (done_.size() >= kHandOn) {
      sink_(done_);
      done_.clear();
    }
  }

  // The rest, and the line end after the rewritten document.
  void finish() {
    rewrite_piece(raw_, done_);
    raw_.clear();
    done_ += kCrLf;
    sink_(done_);
    done_.clear();
  }

 private:
  static constexpr size_t kHandOn = 1 << 18;
  Sink sink_;
  std::string raw_, done_;
};

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
  w.end_of_section();
}

// One room's section: anchor, before-code, the room's lines, after-code, the gap.
void append_room(SingleFileWriter& w, std::string_view room, std::string_view text, std::string_view before_code,
                 std::string_view after_code, std::string_view gap) {
  std::string& raw = w.raw();
  raw += "<a name=\"";
  raw += room;
  raw += "\"></a>";
  for_each_line(before_code, [&](std::string_view l) {
    raw += l;
    raw += kCrLf;
  });
  for_each_line(text, [&](std::string_view l) {
    const std::string_view line = trim_blanks(l);
    // Timed jumps have no meaning in one page. (Two blanks, which the line's conversion
    // replaces, cannot stand in its first five bytes when these are "<meta".)
    if (istarts_with(line, "<meta")) return;
    append_replaced(raw, line, "  ", "&nbsp;&nbsp;");
    raw += kCrLf;
  });
  for_each_line(after_code, [&](std::string_view l) { raw += l; });
  raw += gap;
  w.end_of_section();
}

// Writes the whole document, rewritten, to `sink` in pieces.
void write_single_file(const Project& project, const std::vector<std::string>& rooms,
                       std::vector<std::string>& errors, const SingleFileWriter::Sink& sink) {
  const ProjectFields fields = project.read_fields();
  const ProjectReader reader(project);
  const std::string before_code = reader.read("Global.cod", errors);
  const std::string after_code = reader.read("Global2.cod", errors);
  const std::string gap = section_gap();

  SingleFileWriter w(sink);
  append_page_head(w.raw(), fields, PageStyle::Classic, "");
  if (!fields.skip_start_page()) append_title_block(w, fields, gap);
  // The room texts are read on a second thread while this one writes the rooms before them.
  std::vector<ReadAhead::File> files;
  files.reserve(rooms.size());
  for (const auto& room : rooms) files.push_back(reader.ahead(room));
  ReadAhead ahead(std::move(files));
  for (const auto& room : rooms) {
    const ReadAhead::Read& text = ahead.next();
    if (!text.error.empty()) errors.push_back(text.error);
    append_room(w, room, text.bytes, before_code, after_code, gap);
    ahead.release();
  }
  for (std::string_view piece : {"</td>", "</tr>", "</table>", "</center>", "</div>"}) w.add(piece);
  w.add(kNoRightClickScript);
  w.add("</body></html>");
  w.finish();
}

}  // namespace

std::string render_single_file(const Project& project, const std::vector<std::string>& rooms,
                               std::vector<std::string>* errors) {
  std::vector<std::string> read_errors;
  std::string document;
  write_single_file(project, rooms, read_errors, [&](std::string_view piece) { document += piece; });
  if (errors) errors->insert(errors->end(), read_errors.begin(), read_errors.end());
  return document;
}

CompileReport compile_single_file(const Project& project, const std::vector<std::string>& rooms,
                                  const stdfs::path& output) {
  CompileReport report;
  auto emptying = prepare_output(project, output, report);
  if (!emptying) return report;
  {
    // Output has just been emptied: the page goes straight to its place as it is made.
    const OpenFolder folder(output);
    DirectWriter page(folder, "index.htm");
    write_single_file(project, rooms, report.errors, [&](std::string_view piece) { page.write(piece); });
    std::string error;
    if (!page.finish(&error)) report.errors.push_back(error);
  }
  finish_output(*emptying, report);
  return report;
}

}  // namespace pm

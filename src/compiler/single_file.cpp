// The single-file compile (see single_file.h).
#include "compiler/single_file.h"

#include <functional>

#include "compiler/compile_request.h"
#include "project/project_reader.h"
#include "base/work_ahead.h"
#include "base/open_folder.h"
#include "base/text.h"

namespace pm {

namespace {

constexpr size_t kSectionGapLines = 60;
constexpr std::string_view kHtm = ".htm";
constexpr std::string_view kBreak = "<br>";  // what the rewrites make of a CR LF

// The rewritten document, handed on in large pieces as it is made.
class SingleFileWriter {
 public:
  using Sink = std::function<void(std::string_view)>;
  explicit SingleFileWriter(Sink sink) : sink_(std::move(sink)) {}

  // Adds a raw piece of the document (see rewrite_single_file_piece for where a piece may end).
  void add_piece(std::string_view raw) {
    rewrite_single_file_piece(raw, done_);
    hand_on(kHandOn);
  }
  // Adds a piece already rewritten.
  void add_rewritten(std::string_view done) {
    done_ += done;
    hand_on(kHandOn);
  }
  // The line end after the rewritten document, and everything still held.
  void finish() {
    done_ += kCrLf;
    hand_on(0);
  }

 private:
  static constexpr size_t kHandOn = 1 << 18;
  void hand_on(size_t at_least) {
    if (done_.size() < at_least) return;
    sink_(done_);
    done_.clear();
  }
  Sink sink_;
  std::string done_;
};

// The gap after each section: 60 line breaks, already rewritten (see append_section).
std::string section_gap() {
  std::string gap;
  for (size_t i = 0; i < kSectionGapLines; ++i) gap += kBreak;
  return gap;
}

std::string title_block(const ProjectFields& f, std::string_view gap) {
  std::string block = "<center><br><br>";
  if (!f.title().empty()) block += "Titolo: <br><b>" + f.title() + "</b><br><br>";
  if (!f.date().empty()) block += "Data: <br>" + f.date() + "<br><br>";
  if (!f.author().empty()) block += "Autore: <br>" + f.author() + "<br><br>";
  if (!f.site().empty()) block += "Sito Web: <br>" + f.site() + "<br><br>";
  if (!f.email().empty()) block += "Email: <br>" + f.email() + "<br><br>";
  block += "<a href='#0'>Continua</a><br><br><br><br>";
  block += credit_line();
  block += "</center>";
  block += gap;
  return block;
}

bool is_quote(char c) { return c == '"' || c == '\''; }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

// With `out` ending with the bytes before a ".htm" that `close` (a quote) follows: when they
// end with a room number that follows the same quote (a link's address) or "url=" (a timed
// jump's), puts "#" before the number and returns true. The look-back stops at `from`.
bool mark_room_link(std::string& out, size_t from, char close) {
  size_t d = out.size();
  while (d > from && is_digit(out[d - 1])) --d;
  if (d == out.size()) return false;
  const bool link = d > from && out[d - 1] == close;
  const bool timed = d >= from + 4 && iequals(std::string_view(out).substr(d - 4, 4), "url=");
  if (!link && !timed) return false;
  out.insert(d, 1, '#');
  return true;
}

// At a "." (the first byte of `rest`): the ".htm" of a room link goes (its number has got its
// "#"); any other "." is kept. Returns how many bytes of `rest` that used.
size_t append_dot_rewritten(std::string_view rest, std::string& out, size_t from) {
  if (rest.size() > kHtm.size() && rest.starts_with(kHtm) && is_quote(rest[kHtm.size()]) &&
      mark_room_link(out, from, rest[kHtm.size()]))
    return kHtm.size();
  out += '.';
  return 1;
}

// Where the tag that begins at `at` ends: after its ">" (one inside quotes does not end it),
// or at the end of the line.
size_t end_of_tag(std::string_view line, size_t at) {
  char quote = 0;
  for (size_t i = at + 1; i < line.size(); ++i) {
    const char c = line[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (is_quote(c)) {
      quote = c;
    } else if (c == '>') {
      return i + 1;
    }
  }
  return line.size();
}

// True when `s` holds only blanks and the "&nbsp;" that pairs of them became.
bool only_blank_space(std::string_view s) {
  while (!s.empty()) {
    if (s[0] == ' ') {
      s.remove_prefix(1);
    } else if (s.starts_with("&nbsp;")) {
      s.remove_prefix(6);
    } else {
      return false;
    }
  }
  return true;
}

// One room line, blanks already trimmed, appended to `out` as the document holds it after
// the rewrites: each pair of blanks becomes "&nbsp;&nbsp;" (left to right), every tag that
// begins with "<meta" (a timed jump: the one page would follow the first of them in every
// room at once) is left out, and room links become jumps to their anchors, all in one pass.
// A line holds no CR or LF, so the line-end rewrite finds nothing in it, and no room link
// runs on into the "<br>" that follows the line. Returns false, leaving `out` as it was,
// for a line that held timed jumps and nothing else but blanks: it is left out whole.
bool append_line_rewritten(std::string& out, std::string_view line) {
  const size_t from = out.size();
  bool left_out = false;
  size_t i = 0;
  while (true) {
    const size_t hit = find_byte_or_pair<' ', '<', '.'>(line, i);
    out.append(line.substr(i, hit == std::string_view::npos ? std::string_view::npos : hit - i));
    if (hit == std::string_view::npos) break;
    if (line[hit] == ' ') {
      out += "&nbsp;&nbsp;";
      i = hit + 2;
    } else if (line[hit] == '.') {
      i = hit + append_dot_rewritten(line.substr(hit), out, from);
    } else if (istarts_with(line.substr(hit), "<meta")) {
      i = end_of_tag(line, hit);
      left_out = true;
    } else {
      out += '<';
      i = hit + 1;
    }
  }
  if (left_out && only_blank_space(std::string_view(out).substr(from))) {
    out.resize(from);
    return false;
  }
  return true;
}

// What every room's section holds besides its anchor and its own lines, rewritten once for
// the whole document: the before-code, each line followed by a line break, and the
// after-code, its lines joined by a bare LF (a line end in the page's source that the
// line-end rewrite leaves as it is, so the page shows none), followed by the gap.
struct SharedCode {
  std::string before, after;
};

SharedCode rewritten_shared_code(std::string_view before_code, std::string_view after_code, std::string_view gap) {
  std::string raw;
  SharedCode code;
  for_each_line(before_code, [&](std::string_view l) {
    raw += l;
    raw += kBreak;
  });
  rewrite_single_file_piece(raw, code.before);
  raw.clear();
  bool first = true;
  for_each_line(after_code, [&](std::string_view l) {
    if (!first) raw += '\n';
    first = false;
    raw += l;
  });
  raw += gap;
  rewrite_single_file_piece(raw, code.after);
  return code;
}

// One room's section, rewritten, appended to `out`: the anchor, the before-code, the room's
// lines, the after-code and the gap. The line breaks that the compile adds itself are
// written as the "<br>" that the line-end rewrite makes of them (a CR LF written here always
// becomes one: its CR comes right before its LF, and no other rewrite can match across a
// line end). Each part ends with ">" (see rewrite_single_file_piece), so each is rewritten
// on its own; `scratch` holds the anchor meanwhile.
void append_section(std::string& out, std::string& scratch, std::string_view room, std::string_view text,
                    const SharedCode& code) {
  scratch = "<a name=\"";
  scratch += room;
  scratch += "\"></a>";
  rewrite_single_file_piece(scratch, out);
  out += code.before;
  for_each_line(text, [&](std::string_view l) {
    if (append_line_rewritten(out, trim_blanks(l))) out += kBreak;
  });
  out += code.after;
}

// Writes the whole document, rewritten, to `sink` in pieces.
void write_document(const Project& project, const ProjectReader& reader, const std::vector<std::string>& rooms,
                    std::vector<std::string>& errors, const SingleFileWriter::Sink& sink) {
  const ProjectFields fields = project.read_fields();
  const std::string before_code = reader.read("Global.cod", errors);
  const std::string after_code = reader.read("Global2.cod", errors);
  const std::string gap = section_gap();
  const SharedCode code = rewritten_shared_code(before_code, after_code, gap);

  SingleFileWriter w(sink);
  std::string head;
  append_page_head(head, fields, PageStyle::Classic, "");
  w.add_piece(head);
  if (!fields.skip_start_page()) w.add_piece(title_block(fields, gap));
  // The rooms' sections are read and made on two threads while this one writes the
  // sections before them.
  struct Section {
    std::string text, anchor, done;
    std::vector<std::string> errors;
  };
  WorkAhead<Section> ahead(rooms.size(), [&](size_t i, Section& section) {
    section.errors.clear();
    reader.read(rooms[i], section.text, section.errors);
    section.done.clear();
    append_section(section.done, section.anchor, rooms[i], section.text, code);
  });
  for (size_t i = 0; i < rooms.size(); ++i) {
    const Section& section = ahead.next();
    errors.insert(errors.end(), section.errors.begin(), section.errors.end());
    w.add_rewritten(section.done);
    ahead.release();
  }
  std::string tail;
  for (std::string_view piece : {"</td>", "</tr>", "</table>", "</center>", "</div>"}) tail += piece;
  tail += kNoRightClickScript;
  tail += "</body></html>";
  w.add_piece(tail);
  w.finish();
}

}  // namespace

// The document's two rewrites, applied to `raw` and appended to `out`: every room link (a
// room number and ".htm" between quotes, or after "url=" and before a quote) loses its ".htm"
// and gets a "#" before its number, a jump to the room's anchor; every CR LF becomes "<br>".
// Other addresses and names are left as written. The two cannot meet: a room link holds no
// CR or LF.
//
// The document is rewritten piece by piece, each piece on its own, which gives the same
// bytes as rewriting it whole when every piece but the last ends with ">" or an LF: no room
// link holds either byte, and a CR LF ends with the LF, so no match spans two pieces. The
// pieces are the head, the title block, each room's section and the tail.
void rewrite_single_file_piece(std::string_view raw, std::string& out) {
  const size_t from = out.size();
  size_t i = 0;
  while (i < raw.size()) {
    // The next byte where one of the rewrites can begin.
    const size_t hit = find_byte_of<'.', '\r'>(raw, i);
    out.append(raw.substr(i, hit == std::string_view::npos ? std::string_view::npos : hit - i));
    if (hit == std::string_view::npos) break;
    i = hit;
    if (raw[i] == '.') {
      i += append_dot_rewritten(raw.substr(i), out, from);
    } else if (i + 1 < raw.size() && raw[i + 1] == '\n') {
      out += kBreak;
      i += 2;
    } else {
      out += '\r';
      ++i;
    }
  }
}

std::string render_single_file(const Project& project, const std::vector<std::string>& rooms,
                               std::vector<std::string>* errors) {
  std::vector<std::string> read_errors;
  std::string document;
  const ProjectReader reader(project);
  write_document(project, reader, rooms, read_errors, [&](std::string_view piece) { document += piece; });
  if (errors) errors->insert(errors->end(), read_errors.begin(), read_errors.end());
  return document;
}

CompileReport compile_single_file(const Project& project, const std::vector<std::string>& rooms,
                                  const stdfs::path& output) {
  CompileRequest request;
  request.project = project;
  request.rooms = rooms;
  request.output = output;
  request.form = CompileForm::SingleFile;
  return run_compile(request).report;
}

void write_single_file(const Project& project, const ProjectReader& reader, const std::vector<std::string>& rooms,
                       const stdfs::path& output, FolderEmptying& emptying, CompileReport& report) {
  {
    // Output has just been emptied: the page goes straight to its place as it is made.
    const OpenFolder folder(output);
    DirectWriter page(folder, "index.htm");
    write_document(project, reader, rooms, report.errors, [&](std::string_view piece) { page.write(piece); });
    if (Status written = page.finish(); !written.ok()) report.errors.push_back(written.message());
  }
  finish_output(emptying, report);
}

}  // namespace pm

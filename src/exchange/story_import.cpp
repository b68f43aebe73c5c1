// Making a new project of a story (see story_import.h).
#include "exchange/story_import.h"

#include "base/text.h"
#include "editor/link_markup.h"
#include "exchange/story_export.h"
#include "exchange/twee.h"
#include "exchange/twine_html.h"
#include "project/book_encoding.h"
#include "project/project.h"
#include "project/project_creation.h"

namespace pm {

namespace {

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
bool is_hex(char c) { return is_digit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Length of the character reference at s[i] == '&' ("&amp;", "&#39;", "&#x27;"), or 0.
size_t reference_length(std::string_view s, size_t i) {
  size_t k = i + 1;
  if (k < s.size() && s[k] == '#') {
    ++k;
    const bool hex = k < s.size() && (s[k] == 'x' || s[k] == 'X');
    if (hex) ++k;
    const size_t digits = k;
    while (k < s.size() && (hex ? is_hex(s[k]) : is_digit(s[k]))) ++k;
    if (k == digits) return 0;
  } else {
    if (k >= s.size() || !is_letter(s[k])) return 0;
    while (k < s.size() && (is_letter(s[k]) || is_digit(s[k]))) ++k;
  }
  return k < s.size() && s[k] == ';' ? k + 1 - i : 0;
}

struct Link {
  std::string text, target;
  bool setter = false;  // "[[text|target][$x to 1]]": the setter cannot be carried
};

// The inside of "[[...]]": the rightmost "->" divides text and target, else the leftmost
// "<-" target and text, else the rightmost "|"; a single name is both.
Link parse_link(std::string_view inner) {
  Link l;
  if (size_t set = inner.find("]["); set != std::string_view::npos) {
    l.setter = true;
    inner = inner.substr(0, set);
  }
  if (size_t a = inner.rfind("->"); a != std::string_view::npos) {
    l.text = inner.substr(0, a);
    l.target = inner.substr(a + 2);
  } else if (size_t b = inner.find("<-"); b != std::string_view::npos) {
    l.target = inner.substr(0, b);
    l.text = inner.substr(b + 2);
  } else if (size_t p = inner.rfind('|'); p != std::string_view::npos) {
    l.text = inner.substr(0, p);
    l.target = inner.substr(p + 1);
  } else {
    l.text = l.target = inner;
  }
  l.target = std::string(trim_space(l.target));
  return l;
}

std::string report_line(const PassageContext& where, uint32_t line, const std::string& message) {
  return std::string(where.source) + ":" + std::to_string(line) + ": passaggio \"" + std::string(where.name) +
         "\": " + message;
}

std::string tag_comment(const std::vector<std::string>& tags) {
  std::string words;
  for (const auto& t : tags) words += (words.empty() ? "" : " ") + replace_all(t, "--", "-");
  return std::string(kTagCommentLead) + words + " -->";
}

// The text as a book in `enc` holds it: each line through encode_for_book, lines joined
// with CR LF.
std::string in_book(std::string_view utf8, TextEncoding enc, TextUse use) {
  std::string out;
  bool first = true;
  for (auto line : split_line_views(utf8)) {
    if (!first) out += "\r\n";
    first = false;
    out += encode_for_book(line, enc, use);
  }
  return out;
}

}  // namespace

std::string escape_loose_html(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i];
    const char next = i + 1 < s.size() ? s[i + 1] : '\0';
    if (c == '&' && !reference_length(s, i)) out += "&amp;";
    // "<<if $x>>", a story format's macro, is text: the second '<' would begin a tag.
    else if (c == '<' && (!(is_letter(next) || next == '/' || next == '!' || next == '?') || (i && s[i - 1] == '<')))
      out += "&lt;";
    else out += c;
  }
  return out;
}

bool uses_story_format_code(std::string_view s) {
  for (size_t i = 0; i + 1 < s.size(); ++i) {
    const char c = s[i], next = s[i + 1];
    if (c == '$' && (is_letter(next) || next == '_')) return true;
    if (c == '<' && next == '<' && i + 2 < s.size() && (is_letter(s[i + 2]) || s[i + 2] == '/')) return true;
    if (c == '(' && is_letter(next)) {
      size_t k = i + 1;
      while (k < s.size() && (is_letter(s[k]) || is_digit(s[k]) || s[k] == '-')) ++k;
      if (k < s.size() && s[k] == ':') return true;
    }
  }
  return false;
}

std::string room_text_of(std::string_view text, const std::unordered_map<std::string, size_t>& numbers,
                         const PassageContext& where, std::vector<std::string>& report) {
  std::string out;
  uint32_t line = where.line;
  bool code_reported = false;
  size_t i = 0;
  while (i <= text.size()) {
    const size_t nl = std::min(text.find('\n', i), text.size());
    const std::string_view row = text.substr(i, nl - i);
    if (!code_reported && uses_story_format_code(row)) {
      report.push_back(report_line(where, line, "usa macro o variabili del formato di storia, che qui non si eseguono: "
                                                "il testo resta com'\xC3\xA8 scritto"));
      code_reported = true;
    }
    size_t k = 0;
    while (k < row.size()) {
      const size_t open = row.find("[[", k);
      const size_t close = open == std::string_view::npos ? open : row.find("]]", open + 2);
      if (close == std::string_view::npos) {
        out += escape_loose_html(row.substr(k));
        break;
      }
      out += escape_loose_html(row.substr(k, open - k));
      const std::string_view whole = row.substr(open, close + 2 - open);
      const Link link = parse_link(row.substr(open + 2, close - open - 2));
      auto found = numbers.find(link.target);
      if (found == numbers.end()) {
        out += escape_loose_html(whole);
        report.push_back(report_line(where, line, "il collegamento " + std::string(whole) +
                                                      " porta a un passaggio che non esiste: resta come testo"));
      } else {
        out += link_markup(std::to_string(found->second), escape_loose_html(link.text));
        if (link.setter)
          report.push_back(report_line(where, line, "il collegamento " + std::string(whole) +
                                                        " imposta variabili, che qui non si eseguono"));
      }
      k = close + 2;
    }
    if (nl >= text.size()) break;
    out += '\n';
    i = nl + 1;
    ++line;
  }
  return out;
}

Result<Story> read_story(std::string_view bytes) {
  return looks_like_twine_html(bytes) ? read_twine_html(bytes) : read_twee(bytes);
}

BookPlan plan_book(const Story& story, std::string_view source) {
  BookPlan plan;
  plan.title = story.title;
  plan.stylesheet = story.stylesheet;
  plan.script = story.script;
  for (const auto& w : story.warnings) plan.report.push_back(std::string(source) + ": " + w);
  const size_t start = start_passage_index(story);
  if (!story.start.empty() && (start >= story.passages.size() || story.passages[start].name != story.start))
    plan.report.push_back(std::string(source) + ": il passaggio iniziale \"" + story.start +
                          "\" non esiste: la stanza 0 \xC3\xA8 il primo passaggio");
  // Room numbers: the start passage 0, the others 1... in the file's order.
  std::vector<size_t> order;
  if (start < story.passages.size()) order.push_back(start);
  for (size_t i = 0; i < story.passages.size(); ++i)
    if (i != start) order.push_back(i);
  std::unordered_map<std::string, size_t> numbers;
  for (size_t n = 0; n < order.size(); ++n) {
    const StoryPassage& p = story.passages[order[n]];
    if (!numbers.emplace(p.name, n).second)
      plan.report.push_back(std::string(source) + ":" + std::to_string(p.line) + ": passaggio \"" + p.name +
                            "\": il nome \xC3\xA8 gi\xC3\xA0 di un altro passaggio: i collegamenti portano al primo");
  }
  for (size_t n = 0; n < order.size(); ++n) {
    const StoryPassage& p = story.passages[order[n]];
    PlannedRoom room;
    room.description = p.name.empty() ? "Passaggio " + std::to_string(n) : p.name;
    room.text = room_text_of(p.text, numbers, {source, p.name, p.line}, plan.report);
    if (!p.tags.empty()) room.text = tag_comment(p.tags) + (room.text.empty() ? "" : "\n") + room.text;
    plan.rooms.push_back(std::move(room));
  }
  return plan;
}

TextEncoding encoding_for_import(const std::vector<std::string_view>& texts) {
  for (std::string_view t : texts) {
    bool ok = true;
    (void)encode_from_utf8(t, TextEncoding::Windows1252, &ok);
    if (!ok) return TextEncoding::Utf8;
  }
  return TextEncoding::Windows1252;
}

ImportResult import_story_file(const stdfs::path& file, const stdfs::path& parent, const stdfs::path& home) {
  ImportResult r;
  std::string bytes;
  if (Status s = read_file_checked(file, bytes); !s.ok()) {
    r.status = s.message().empty() ? Status(StatusKind::NotFound, "Il file " + path_text(file) + " non esiste.") : s;
    return r;
  }
  Result<Story> story = read_story(bytes);
  if (!story.ok()) {
    r.status = Status(story.kind(), path_text(file) + ": " + story.status().message());
    return r;
  }
  BookPlan plan = plan_book(*story, path_text(file.filename()));
  if (plan.rooms.empty()) {
    r.status = Status(StatusKind::ReadFailed, path_text(file) + ": la storia non ha passaggi da farne stanze.");
    return r;
  }
  if (trim_space(plan.title).empty()) plan.title = path_text(file.stem());
  r.report = std::move(plan.report);

  std::vector<std::string_view> texts = {plan.title, plan.stylesheet, plan.script};
  for (const auto& room : plan.rooms) {
    texts.push_back(room.description);
    texts.push_back(room.text);
  }
  r.encoding = encoding_for_import(texts);

  CreationResult made = create_project(parent, plan.title, home);
  r.folder = made.folder;
  r.name = made.name;
  if (!made.status.ok()) {
    r.status = made.status;
    return r;
  }
  const Project project(made.folder, made.name);
  const TextEncoding enc = r.encoding;
  auto fail = [&](Status why) {
    std::error_code ec;
    stdfs::remove_all(made.folder, ec);
    r.status = std::move(why);
    return r;
  };
  if (enc == TextEncoding::Utf8) {
    // create_project wrote a Windows-1252 book; it becomes UTF-8 before anything else goes in,
    // and the title is written again in full (Windows-1252 could not hold it).
    const BookConversion converted = convert_book(made.folder, enc);
    if (!converted.errors.empty()) return fail({StatusKind::WriteFailed, error_list_message("", converted.errors)});
    ProjectFields f = project.read_fields();
    f.f[0] = made.name;
    f.f[1] = replace_all(plan.title, "\"", "''");
    if (Status s = project.write_creation_fields(f); !s.ok()) return fail(s);
  }
  for (size_t n = 0; n < plan.rooms.size(); ++n) {
    const std::string number = std::to_string(n);
    const PlannedRoom& room = plan.rooms[n];
    if (Status s = project.write_description(number, encode_for_book(room.description, enc, TextUse::Html)); !s.ok())
      return fail(s);
    if (Status s = project.write_text(number, in_book(room.text, enc, TextUse::Html)); !s.ok()) return fail(s);
  }
  if (!trim_space(plan.stylesheet).empty()) {
    const stdfs::path css = project.file("adv.css");
    std::string sheet = read_file_or_empty(css);
    if (!sheet.empty() && sheet.back() != '\n') sheet += "\r\n";
    sheet += std::string(kImportedStyleMark) + "\r\n" + in_book(plan.stylesheet, enc, TextUse::StyleSheet) + "\r\n";
    if (Status s = write_file_atomic(css, sheet); !s.ok()) return fail(s);
  }
  if (!trim_space(plan.script).empty()) {
    const std::string code = "<script>\r\n" + in_book(plan.script, enc, TextUse::Script) + "\r\n</script>";
    if (Status s = write_file_atomic(project.file("global.cod"), text_with_final_crlf(code)); !s.ok()) return fail(s);
  }
  // The story keeps its identity: a later export names the same story.
  if (is_ifid(story->ifid))
    if (Status s = write_file_atomic(project.file(kIfidFile), story->ifid + "\r\n"); !s.ok()) return fail(s);
  return r;
}

}  // namespace pm

// A room's text as XHTML for a paper book (see paper_markup.h).
#include "paper/paper_markup.h"

#include <algorithm>

#include "base/html_scan.h"
#include "base/text_codec.h"
#include "base/text.h"
#include "paper/html_entities.h"

namespace pm {


std::string xml_escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

namespace {

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

struct Tag {
  std::string name;  // lower case
  bool closing = false;
  std::vector<std::pair<std::string, std::string>> attributes;  // names in lower case
  size_t end = 0;                                                // just after '>'

  std::string value(std::string_view attribute) const {
    for (const auto& [n, v] : attributes)
      if (n == attribute) return v;
    return {};
  }
};

// The tag whose '<' is at `pos`, or nothing when none starts there (or it never closes).
std::optional<Tag> read_tag(std::string_view s, size_t pos) {
  TagView view;
  scan_tag(s, pos, view);
  if (view.end == std::string_view::npos || view.name.empty() || !is_letter(view.name[0])) return std::nullopt;
  Tag tag{to_lower_ascii(view.name), view.closing, {}, view.end};
  for (const auto& a : view.attributes) tag.attributes.emplace_back(to_lower_ascii(a.name), std::string(a.value));
  return tag;
}

bool one_of(std::string_view name, std::initializer_list<std::string_view> names) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Tags that end a paragraph where they open or close.
bool is_block(std::string_view n) {
  return one_of(n, {"p", "div", "center", "blockquote", "table", "tr", "ul", "ol", "dl", "hr", "section", "article",
                    "header", "footer", "nav", "form", "body", "html", "pre", "li", "dt", "dd", "caption", "h1", "h2",
                    "h3", "h4", "h5", "h6", "aside", "main", "figure", "address"});
}
// Inline mark-up kept as it is.
bool is_kept_inline(std::string_view n) {
  return one_of(n, {"b", "i", "u", "s", "em", "strong", "small", "sub", "sup", "code", "cite", "q", "mark"});
}
bool is_sound(std::string_view n) { return one_of(n, {"audio", "video", "embed", "bgsound", "object", "iframe"}); }

class Converter {
 public:
  Converter(const PaperMarkupRules& rules) : rules_(rules) {}

  PaperMarkup run(std::string_view text) {
    bool raw = false;  // <lang=html> or <vcode=no>: lines end without a break
    for_each_line(text, [&](std::string_view line) {
      std::string_view l = line;
      while (!l.empty() && l.front() == ' ') l.remove_prefix(1);
      while (!l.empty() && l.back() == ' ') l.remove_suffix(1);
      if (iequals(l, "<lang=html>")) {
        raw = true;
        return;
      }
      std::string own;
      if (istarts_with(l, "<vcode=no>")) {
        raw = true;
        own = replace_all(l, "<vcode=no>", "");
        l = own;
      }
      content(l);
      if (raw) {
        text_piece(" ");
      } else if (l.empty()) {
        paragraph_break();
      } else {
        ++pending_breaks_;
      }
    });
    paragraph_break();
    return std::move(out_);
  }

 private:
  void lose(std::string what) {
    if (std::find(out_.lost.begin(), out_.lost.end(), what) == out_.lost.end()) out_.lost.push_back(std::move(what));
  }

  void open_paragraph() {
    if (open_) return;
    out_.xhtml += "<p>";
    open_ = true;
    pending_breaks_ = 0;
    for (const auto& t : reopen_) push_inline(t);
    reopen_.clear();
  }
  void flush_breaks() {
    for (; pending_breaks_ > 0; --pending_breaks_) out_.xhtml += "<br/>";
  }
  void paragraph_break() {
    if (!open_) {
      pending_breaks_ = 0;
      return;
    }
    // Bold or italics that span the break go on in the next paragraph.
    for (auto it = stack_.rbegin(); it != stack_.rend(); ++it) {
      out_.xhtml += "</" + *it + ">";
      if (*it == "a") number_after_link();
      if (*it != "a") reopen_.insert(reopen_.begin(), *it);
    }
    stack_.clear();
    out_.xhtml += "</p>\n";
    open_ = false;
    pending_breaks_ = 0;
  }
  // Visible text, escaped; blanks alone open no paragraph.
  void text_piece(std::string_view t) {
    if (t.empty()) return;
    if (!open_) {
      if (std::all_of(t.begin(), t.end(), is_html_space)) return;
      open_paragraph();
    }
    flush_breaks();
    for (char c : t) {
      switch (c) {
        case '&': out_.xhtml += "&amp;"; break;
        case '<': out_.xhtml += "&lt;"; break;
        case '>': out_.xhtml += "&gt;"; break;
        case '\r':
        case '\n': out_.xhtml += ' '; break;
        default:
          if ((unsigned char)c >= 0x20 || c == '\t') out_.xhtml += c;
      }
    }
  }
  void push_inline(const std::string& name, const std::string& attributes = "") {
    out_.xhtml += "<" + name + attributes + ">";
    stack_.push_back(name);
  }
  void open_inline(const std::string& name, const std::string& attributes = "") {
    open_paragraph();
    flush_breaks();
    push_inline(name, attributes);
  }
  // After a link to a room, the room's number, unless the link's text shows it already:
  // on paper the reader turns to the number.
  void number_after_link() {
    if (link_room_.empty()) return;
    const std::string room = std::move(link_room_);
    link_room_.clear();
    std::string_view text = std::string_view(out_.xhtml).substr(std::min(link_start_, out_.xhtml.size()));
    for (size_t at = text.find(room); at != std::string_view::npos; at = text.find(room, at + 1)) {
      const bool starts = at == 0 || !is_digit(text[at - 1]);
      const bool ends = at + room.size() == text.size() || !is_digit(text[at + room.size()]);
      if (starts && ends) return;
    }
    out_.xhtml += " (vai al " + xml_escaped(room) + ")";
  }

  void close_inline(const std::string& name) {
    auto it = std::find(stack_.rbegin(), stack_.rend(), name);
    if (it == stack_.rend()) {
      reopen_.erase(std::remove(reopen_.begin(), reopen_.end(), name), reopen_.end());
      return;
    }
    while (!stack_.empty()) {
      const std::string top = stack_.back();
      stack_.pop_back();
      out_.xhtml += "</" + top + ">";
      if (top == "a") number_after_link();
      if (top == name) break;
    }
  }

  // A character reference at `pos` ('&'): its character written; returns the index after it.
  size_t reference(std::string_view s, size_t pos) {
    const size_t semi = s.find(';', pos);
    if (semi != std::string_view::npos && semi - pos <= 12) {
      std::string_view name = s.substr(pos + 1, semi - pos - 1);
      std::optional<char32_t> c;
      if (name.size() > 1 && name[0] == '#') {
        const bool hex = name[1] == 'x' || name[1] == 'X';
        const std::optional<char32_t> v =
            name.size() - (hex ? 2 : 1) <= 7 ? numeric_reference(name) : std::nullopt;
        // Characters XML allows.
        if (v && (*v == 9 || *v == 10 || *v == 13 || (*v >= 0x20 && *v < 0xD800) || (*v >= 0xE000 && *v < 0xFFFE) ||
                  (*v >= 0x10000 && *v <= 0x10FFFF)))
          c = *v;
      } else {
        c = html_entity(name);
      }
      if (c) {
        std::string utf8;
        append_utf8(utf8, *c);
        text_piece(utf8);
        return semi + 1;
      }
    }
    text_piece("&");
    return pos + 1;
  }

  // From `pos` past the end tag `</name>` (any case), or the end of the text.
  size_t skip_to_end(std::string_view s, size_t pos, std::string_view name) {
    const std::string lower = to_lower_ascii(s.substr(pos));
    const size_t at = lower.find("</" + std::string(name));
    if (at == std::string::npos) return s.size();
    const size_t close = s.find('>', pos + at);
    return close == std::string_view::npos ? s.size() : close + 1;
  }

  // The room an address leads to (N.htm without a folder), or nothing.
  static std::optional<std::string> room_of(std::string_view url) {
    url = url.substr(0, url.find_first_of("#?"));
    while (!url.empty() && is_html_space(url.front())) url.remove_prefix(1);
    while (!url.empty() && is_html_space(url.back())) url.remove_suffix(1);
    if (istarts_with(url, "./")) url.remove_prefix(2);
    if (url.size() <= 4 || !iequals(url.substr(url.size() - 4), ".htm")) return std::nullopt;
    std::string_view stem = url.substr(0, url.size() - 4);
    if (stem.find_first_of("/\\:") != std::string_view::npos || iequals(stem, "index")) return std::nullopt;
    return std::string(stem);
  }

  // An <a> tag; true when the link is a script, whose text (the back link's arrow) goes
  // with it.
  bool link(const Tag& tag) {
    if (std::find(stack_.begin(), stack_.end(), "a") != stack_.end()) close_inline("a");
    const std::string href = tag.value("href");
    if (istarts_with(href, "javascript:")) {
      lose(to_lower_ascii(href).find("history.back") != std::string::npos ? "un collegamento indietro" : "uno script");
      return true;
    }
    if (auto room = room_of(href)) {
      if (auto to = rules_.room_href(*room)) {
        open_inline("a", " href=\"" + xml_escaped(*to) + "\"");
        link_room_ = *room;
        link_start_ = out_.xhtml.size();
        return false;
      }
      lose("un collegamento alla stanza " + *room + ", che non ha pagina");
      return false;
    }
    const std::string lower = to_lower_ascii(href);
    if (lower.starts_with("http://") || lower.starts_with("https://") || lower.starts_with("mailto:")) {
      open_inline("a", " href=\"" + xml_escaped(href) + "\"");
    }
    return false;
  }

  void picture(const Tag& tag) {
    std::string src = tag.value("src");
    if (istarts_with(src, "./")) src.erase(0, 2);
    std::replace(src.begin(), src.end(), '\\', '/');
    const bool safe = istarts_with(src, "res/") && src.size() > 4 && src.find("..") == std::string::npos &&
                      std::all_of(src.begin(), src.end(), [](char c) {
                        return is_letter(c) || is_digit(c) || c == '/' || c == '.' || c == '_' || c == '-';
                      });
    const std::string path = safe ? src.substr(4) : src;
    if (!safe || !rules_.picture(path)) {
      lose("l'immagine " + src);
      return;
    }
    if (std::find(out_.pictures.begin(), out_.pictures.end(), path) == out_.pictures.end()) out_.pictures.push_back(path);
    open_paragraph();
    flush_breaks();
    out_.xhtml += "<img src=\"" + xml_escaped(src) + "\" alt=\"" + xml_escaped(tag.value("alt")) + "\"/>";
  }

  void timed_jump(const Tag& tag) {
    if (!iequals(trim_blanks(tag.value("http-equiv")), "refresh")) return;
    const std::string content = tag.value("content");
    const size_t url = to_lower_ascii(content).find("url=");
    std::string target = url == std::string::npos ? "" : content.substr(url + 4);
    target.erase(std::remove(target.begin(), target.end(), '\''), target.end());
    if (to_lower_ascii(target).find("history.back") != std::string::npos) {
      lose("un collegamento indietro");
    } else if (auto room = room_of(target)) {
      lose("un salto a tempo alla stanza " + *room);
    } else {
      lose("un salto a tempo");
    }
  }

  void content(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
      const char c = s[i];
      if (c == '&') {
        i = reference(s, i);
        continue;
      }
      if (c != '<') {
        size_t j = s.find_first_of("&<", i);
        if (j == std::string_view::npos) j = s.size();
        text_piece(s.substr(i, j - i));
        i = j;
        continue;
      }
      if (s.substr(i, 4) == "<!--") {
        const size_t close = s.find("-->", i + 4);
        i = close == std::string_view::npos ? s.size() : close + 3;
        continue;
      }
      if (i + 1 < s.size() && (s[i + 1] == '!' || s[i + 1] == '?')) {
        const size_t close = s.find('>', i);
        i = close == std::string_view::npos ? s.size() : close + 1;
        continue;
      }
      auto tag = read_tag(s, i);
      if (!tag) {
        text_piece("<");
        ++i;
        continue;
      }
      i = tag->end;
      element(*tag, s, i);
    }
  }

  void element(const Tag& tag, std::string_view s, size_t& i) {
    const std::string& n = tag.name;
    if (tag.closing) {
      if (is_kept_inline(n) || n == "a") {
        close_inline(n);
      } else if (n == "big" || n == "tt" || n == "strike") {
        close_inline(n == "big" ? "strong" : n == "tt" ? "code" : "s");
      } else if (is_block(n)) {
        if (n.size() == 2 && n[0] == 'h') close_inline("strong");
        paragraph_break();
      }
      return;
    }
    if (n == "script") {
      lose("uno script");
      i = skip_to_end(s, i, "script");
    } else if (n == "style" || n == "title" || n == "head") {
      i = skip_to_end(s, i, n);
    } else if (n == "br") {
      if (open_) ++pending_breaks_;
    } else if (is_kept_inline(n)) {
      open_inline(n);
    } else if (n == "big" || n == "tt" || n == "strike") {
      open_inline(n == "big" ? "strong" : n == "tt" ? "code" : "s");
    } else if (n == "a") {
      if (link(tag)) i = skip_to_end(s, i, "a");
    } else if (n == "img") {
      picture(tag);
    } else if (n == "meta") {
      timed_jump(tag);
    } else if (is_sound(n)) {
      lose("un suono o un filmato (" + tag.name + ")");
    } else if (is_block(n)) {
      paragraph_break();
      if (n.size() == 2 && n[0] == 'h' && n[1] >= '1' && n[1] <= '6') {
        open_inline("strong");
      } else if (n == "li") {
        text_piece("\xE2\x80\xA2 ");
      }
    } else if (n == "td" || n == "th") {
      text_piece(" ");
    }
    // Anything else (font, span, link, ...) is written as its text.
  }

  const PaperMarkupRules& rules_;
  PaperMarkup out_;
  bool open_ = false;             // a <p> is open
  int pending_breaks_ = 0;        // line breaks written once more text follows in the paragraph
  std::vector<std::string> stack_;   // open inline elements
  std::vector<std::string> reopen_;  // inline elements to open again in the next paragraph
  std::string link_room_;            // the room of the open link
  size_t link_start_ = 0;            // where the open link's text begins in the XHTML
};

}  // namespace

PaperMarkup paper_markup(std::string_view text, const PaperMarkupRules& rules) { return Converter(rules).run(text); }

}  // namespace pm

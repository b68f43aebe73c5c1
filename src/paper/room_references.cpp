// Room references rewritten in one pass (see room_references.h).
#include "paper/room_references.h"

#include "base/text.h"

namespace pm {

const std::vector<std::string>& default_reference_phrases() {
  static const std::vector<std::string> phrases = {"vai al", "torna al", "paragrafo"};
  return phrases;
}

namespace {

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }
// A character of a page name: what a room's file may be called.
bool is_name_char(char c) { return is_letter(c) || is_digit(c) || c == '_' || c == '-'; }
// A character that continues a word (bytes of UTF-8 and Windows-1252 letters included).
bool is_word_char(char c) { return is_letter(c) || is_digit(c) || (unsigned char)c >= 0x80; }
bool is_blank(char c) { return c == ' ' || c == '\t'; }

class Rewriter {
 public:
  Rewriter(std::string_view s, const RoomRenaming& renaming, const std::vector<std::string>& phrases)
      : s_(s), renaming_(renaming), phrases_(phrases) {}

  std::string run() {
    out_.reserve(s_.size() + s_.size() / 16);
    size_t i = 0;
    while (i < s_.size()) i = step(i);
    return std::move(out_);
  }

 private:
  const std::string* renamed(std::string_view name) const {
    auto it = renaming_.find(to_lower_ascii(name));
    return it == renaming_.end() ? nullptr : &it->second;
  }

  // A page name N.htm whose name starts at `i`: its end, or npos.
  size_t page_name_end(size_t i) const {
    size_t j = i;
    while (j < s_.size() && is_name_char(s_[j])) ++j;
    if (j == i || !iequals(s_.substr(j, 4), ".htm")) return std::string_view::npos;
    if (j + 4 < s_.size() && is_word_char(s_[j + 4])) return std::string_view::npos;  // 12.html
    return j;
  }

  // One piece of the text from `i`; returns where the next begins.
  size_t step(size_t i) {
    const char c = s_[i];
    const char before = i > 0 ? s_[i - 1] : ' ';
    if (c == '<' && i + 2 < s_.size() && (s_[i + 1] == 'a' || s_[i + 1] == 'A') &&
        (is_blank(s_[i + 2]) || s_[i + 2] == '\r' || s_[i + 2] == '\n'))
      return link(i);
    if (is_name_char(c) && !is_name_char(before)) {
      // A page name, unless it is a path's last part (res/12.htm) or x.12.htm.
      const size_t end = page_name_end(i);
      if (end != std::string_view::npos && before != '/' && before != '\\' && before != '.') {
        const std::string_view name = s_.substr(i, end - i);
        const std::string* to = renamed(name);
        out_ += to ? std::string_view(*to) : name;
        last_old_ = name;
        last_new_ = to ? *to : std::string(name);
        ++renamed_pages_;
        return end;
      }
      if (!is_word_char(before)) {
        if (size_t next = phrase(i); next != std::string_view::npos) return next;
      }
      size_t j = i;
      while (j < s_.size() && is_name_char(s_[j])) ++j;
      out_ += s_.substr(i, j - i);
      return j;
    }
    out_ += c;
    return i + 1;
  }

  // A phrase at `i` followed by blanks and a room's number: all of it written, the number
  // renamed; npos when there is none.
  size_t phrase(size_t i) {
    for (const std::string& p : phrases_) {
      if (p.empty() || !iequals(s_.substr(i, p.size()), p)) continue;
      size_t j = i + p.size();
      const size_t blanks = j;
      for (;;) {
        if (j < s_.size() && is_blank(s_[j])) {
          ++j;
        } else if (iequals(s_.substr(j, 6), "&nbsp;")) {
          j += 6;
        } else {
          break;
        }
      }
      if (j == blanks) continue;
      size_t k = j;
      while (k < s_.size() && is_digit(s_[k])) ++k;
      if (k == j || (k < s_.size() && is_word_char(s_[k]))) continue;
      const std::string* to = renamed(s_.substr(j, k - j));
      if (!to) continue;
      out_ += s_.substr(i, j - i);
      out_ += *to;
      return k;
    }
    return std::string_view::npos;
  }

  // An <a ...> tag from `i`: its page names renamed, and its text too when the text is
  // the old number of the room it leads to.
  size_t link(size_t i) {
    size_t j = i + 2;
    char quote = 0;
    for (; j < s_.size(); ++j) {
      if (quote) {
        if (s_[j] == quote) quote = 0;
      } else if (s_[j] == '"' || s_[j] == '\'') {
        quote = s_[j];
      } else if (s_[j] == '>') {
        break;
      }
    }
    if (j >= s_.size()) {  // never closed: the rest is text
      out_ += s_.substr(i, 2);
      return i + 2;
    }
    const size_t pages_before = renamed_pages_;
    out_ += s_.substr(i, 2);  // "<a" as written
    for (size_t k = i + 2; k < j;) k = step(k);
    out_ += '>';
    ++j;
    if (renamed_pages_ != pages_before + 1 || last_old_ == last_new_) return j;
    // <a href="12.htm">12</a>: the text is the number, blanks around it allowed.
    const size_t close = s_.find('<', j);
    if (close == std::string_view::npos || !iequals(s_.substr(close, 3), "</a")) return j;
    const std::string_view inner = s_.substr(j, close - j);
    size_t a = 0, b = inner.size();
    while (a < b && is_blank(inner[a])) ++a;
    while (b > a && is_blank(inner[b - 1])) --b;
    if (!iequals(inner.substr(a, b - a), last_old_)) return j;
    out_ += inner.substr(0, a);
    out_ += last_new_;
    out_ += inner.substr(b);
    return close;
  }

  std::string_view s_;
  const RoomRenaming& renaming_;
  const std::vector<std::string>& phrases_;
  std::string out_;
  size_t renamed_pages_ = 0;  // page names met so far
  std::string_view last_old_;
  std::string last_new_;
};

}  // namespace

std::string rewrite_room_references(std::string_view text, const RoomRenaming& renaming,
                                    const std::vector<std::string>& phrases) {
  return Rewriter(text, renaming, phrases).run();
}

}  // namespace pm

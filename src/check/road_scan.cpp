// The roads out of one room text (see road_scan.h).
#include "check/road_scan.h"

#include <cstdint>

#include "base/html_scan.h"
#include "base/text.h"

namespace pm {

namespace {

constexpr size_t kMaxTagText = 200;

bool is_letter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::string_view trim_space(std::string_view s) {
  while (!s.empty() && is_html_space(s.front())) s.remove_prefix(1);
  while (!s.empty() && is_html_space(s.back())) s.remove_suffix(1);
  return s;
}

// Reads the start tag whose '<' is at `pos`; one never closed runs to the end of the text.
void read_tag(std::string_view s, size_t pos, TagView& tag) {
  scan_tag(s, pos, tag);
  if (tag.end == std::string_view::npos) tag.end = s.size();
}

std::string percent_decoded(std::string_view s) {
  auto hex = [](char c) -> int {
    if (is_digit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && hex(s[i + 1]) >= 0 && hex(s[i + 2]) >= 0) {
      out += char(hex(s[i + 1]) * 16 + hex(s[i + 2]));
      i += 2;
    } else {
      out += s[i] == '\\' ? '/' : s[i];
    }
  }
  return out;
}

enum class Address { None, Room, Back, Outside, Resource };

// What an address in a page leads to; `target` gets the room name or the path inside res.
Address classify(std::string_view url, std::string& target) {
  url = trim_space(url);
  if (istarts_with(url, "javascript:"))
    return to_lower_ascii(url).find("history.back") != std::string::npos ? Address::Back : Address::None;
  if (url.substr(0, 2) == "//") return Address::Outside;
  for (size_t i = 0; i < url.size(); ++i) {
    const char c = url[i];
    if (c == ':') {
      target = std::string(url);
      return i > 0 ? Address::Outside : Address::None;
    }
    if (!(is_letter(c) || (i > 0 && (is_digit(c) || c == '+' || c == '-' || c == '.')))) break;
  }
  url = url.substr(0, url.find_first_of("#?"));
  while (url.substr(0, 2) == "./" || url.substr(0, 2) == ".\\") url.remove_prefix(2);
  if (istarts_with(url, "res/") || istarts_with(url, "res\\")) {
    target = percent_decoded(url.substr(4));
    return target.empty() ? Address::None : Address::Resource;
  }
  constexpr std::string_view kPage = ".htm";
  if (url.size() <= kPage.size() || !iequals(url.substr(url.size() - kPage.size()), kPage)) return Address::None;
  std::string_view stem = url.substr(0, url.size() - kPage.size());
  if (stem.find_first_of("/\\") != std::string_view::npos || iequals(stem, "index")) return Address::None;
  target = std::string(stem);
  return Address::Room;
}

std::string tag_text(std::string_view s, size_t begin, size_t end) {
  std::string text(s.substr(begin, std::min(end - begin, kMaxTagText)));
  if (end - begin > kMaxTagText) text += "...";
  for (char& c : text)
    if (c == '\r' || c == '\n') c = ' ';
  return text;
}

// Counts line ends while the scan moves forward: CR LF, CR and LF each end one line.
class LineCounter {
 public:
  explicit LineCounter(std::string_view s) : s_(s) {}
  uint32_t at(size_t pos) {
    for (; i_ < pos; ++i_) {
      if (s_[i_] == '\n' || (s_[i_] == '\r' && !(i_ + 1 < s_.size() && s_[i_ + 1] == '\n'))) ++line_;
    }
    return line_;
  }

 private:
  std::string_view s_;
  size_t i_ = 0;
  uint32_t line_ = 1;
};

}  // namespace

void scan_roads(std::string_view s, std::vector<Road>& out) {
  LineCounter lines(s);
  TagView tag;
  std::string target;
  size_t last_link = SIZE_MAX, last_link_end = 0;  // the latest <a href> to a room
  size_t pos = 0;
  while ((pos = s.find('<', pos)) != std::string_view::npos) {
    if (s.substr(pos, 4) == "<!--") {  // a comment hides what it holds
      const size_t close = s.find("-->", pos + 4);
      pos = close == std::string_view::npos ? s.size() : close + 3;
      continue;
    }
    if (pos + 1 >= s.size() || !is_letter(s[pos + 1])) {
      ++pos;
      continue;
    }
    read_tag(s, pos, tag);
    auto add = [&](RoadKind kind) {
      out.push_back(Road{kind, target, lines.at(pos), tag_text(s, pos, tag.end), false});
    };
    if (iequals(tag.name, "a")) {
      switch (classify(tag.value("href"), target)) {
        case Address::Room:
          add(RoadKind::Link);
          last_link = out.size() - 1;
          last_link_end = tag.end;
          break;
        case Address::Back: add(RoadKind::BackLink); break;
        case Address::Outside: add(RoadKind::Outside); break;
        case Address::Resource: add(RoadKind::Resource); break;
        case Address::None: break;
      }
    } else if (iequals(tag.name, "meta") && iequals(trim_space(tag.value("http-equiv")), "refresh")) {
      const std::string_view content = tag.value("content");
      const size_t url = to_lower_ascii(content).find("url");
      size_t eq = url == std::string::npos ? std::string::npos : content.find('=', url);
      if (eq != std::string::npos) {
        std::string_view address = trim_space(content.substr(eq + 1));
        if (!address.empty() && (address.front() == '\'' || address.front() == '"')) {
          const char q = address.front();
          address.remove_prefix(1);
          address = address.substr(0, address.find(q));
        }
        switch (classify(address, target)) {
          case Address::Room: add(RoadKind::TimedJump); break;
          case Address::Back:
            add(RoadKind::BackLink);
            if (last_link != SIZE_MAX) {
              std::string between;
              for (char c : s.substr(last_link_end, pos - last_link_end))
                if (!is_html_space(c)) between += c;
              if (between == "<--</a>") out[last_link].back_arrow = true;
            }
            break;
          case Address::Outside: add(RoadKind::Outside); break;
          case Address::Resource: add(RoadKind::Resource); break;
          case Address::None: break;
        }
      }
    }
    const std::string_view src = tag.value("src");
    if (!src.empty() && classify(src, target) == Address::Resource) add(RoadKind::Resource);
    pos = tag.end;
  }
}

bool has_ending_comment(std::string_view s) {
  size_t pos = 0;
  while ((pos = s.find("<!--", pos)) != std::string_view::npos) {
    const size_t close = s.find("-->", pos + 4);
    if (close == std::string_view::npos) return false;
    if (iequals(trim_space(s.substr(pos + 4, close - pos - 4)), "fine")) return true;
    pos = close + 3;
  }
  return false;
}

bool description_marks_ending(std::string_view d) {
  // A word ends where an ASCII letter or digit, or a byte of a non-ASCII letter, does not follow.
  auto part_of_word = [](char c) { return is_letter(c) || is_digit(c) || (unsigned char)c >= 0x80; };
  for (std::string_view word : {std::string_view("FINE"), std::string_view("VITTORIA")}) {
    for (size_t pos = d.find(word); pos != std::string_view::npos; pos = d.find(word, pos + 1)) {
      const bool starts = pos == 0 || !part_of_word(d[pos - 1]);
      const size_t after = pos + word.size();
      if (starts && (after == d.size() || !part_of_word(d[after]))) return true;
    }
  }
  return false;
}

}  // namespace pm

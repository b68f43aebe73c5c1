// HTML tags and character references (see html_tag.h).
#include "exchange/html_tag.h"

#include "base/html_scan.h"
#include "base/text_codec.h"
#include "base/text.h"

namespace pm {

// Position of `needle` in `hay` at or after `from`, without regard to ASCII case.
size_t ifind(std::string_view hay, std::string_view needle, size_t from) {
  if (needle.empty() || hay.size() < needle.size()) return std::string_view::npos;
  for (size_t i = from; i + needle.size() <= hay.size(); ++i) {
    if (lower_ascii(hay[i]) != lower_ascii(needle[0])) continue;
    if (iequals(hay.substr(i, needle.size()), needle)) return i;
  }
  return std::string_view::npos;
}

HtmlTag read_html_tag(std::string_view s, size_t i) {
  TagView view;
  scan_tag(s, i, view);
  HtmlTag t;
  t.end = view.end;
  if (t.end == std::string_view::npos) return t;  // never closed: no tag, no attributes
  for (const auto& a : view.attributes) t.attrs.emplace(to_lower_ascii(a.name), decode_html_text(a.value));
  return t;
}

std::string decode_html_text(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  size_t i = 0;
  while (i < s.size()) {
    const size_t amp = s.find('&', i);
    if (amp == std::string_view::npos) break;
    out.append(s.substr(i, amp - i));
    i = amp;
    const size_t semi = s.find(';', amp);
    if (semi == std::string_view::npos || semi - amp > 10) {
      out += s[i++];
      continue;
    }
    const std::string_view name = s.substr(amp + 1, semi - amp - 1);
    static const std::pair<std::string_view, char> kNamed[] = {
        {"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}};
    bool done = false;
    for (const auto& [n, c] : kNamed)
      if (name == n) {
        out += c;
        done = true;
      }
    if (!done) {
      const std::optional<char32_t> c = numeric_reference(name);
      if (c && *c > 0 && !(*c >= 0xD800 && *c < 0xE000)) {
        append_utf8(out, *c);
        done = true;
      }
    }
    if (done) {
      i = semi + 1;
    } else {
      out += s[i++];
    }
  }
  out.append(s.substr(i));
  return out;
}

}  // namespace pm

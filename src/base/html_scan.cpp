// Reading one HTML tag (see html_scan.h).
#include "base/html_scan.h"

#include "base/text.h"

namespace pm {

bool is_html_space(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }

std::string_view TagView::value(std::string_view attribute) const {
  for (const auto& a : attributes)
    if (iequals(a.name, attribute)) return a.value;
  return {};
}

void scan_tag(std::string_view s, size_t pos, TagView& tag) {
  tag.attributes.clear();
  tag.end = std::string_view::npos;
  const size_t n = s.size();
  size_t i = pos + 1;
  tag.closing = i < n && s[i] == '/';
  if (tag.closing) ++i;
  const size_t name_start = i;
  while (i < n && !is_html_space(s[i]) && s[i] != '/' && s[i] != '>') ++i;
  tag.name = s.substr(name_start, i - name_start);
  for (;;) {
    while (i < n && (is_html_space(s[i]) || s[i] == '/')) ++i;
    if (i >= n) return;
    if (s[i] == '>') break;
    const size_t a = i;
    while (i < n && !is_html_space(s[i]) && s[i] != '=' && s[i] != '>') ++i;
    TagAttribute attr{s.substr(a, i - a), {}};
    size_t j = i;
    while (j < n && is_html_space(s[j])) ++j;
    if (j < n && s[j] == '=') {
      i = j + 1;
      while (i < n && is_html_space(s[i])) ++i;
      if (i < n && (s[i] == '"' || s[i] == '\'')) {
        const char quote = s[i++];
        const size_t v = i;
        while (i < n && s[i] != quote) ++i;
        attr.value = s.substr(v, i - v);
        if (i >= n) {
          tag.attributes.push_back(attr);
          return;
        }
        ++i;
      } else {
        const size_t v = i;
        while (i < n && !is_html_space(s[i]) && s[i] != '>') ++i;
        attr.value = s.substr(v, i - v);
      }
    }
    tag.attributes.push_back(attr);
  }
  tag.end = i + 1;
}

}  // namespace pm

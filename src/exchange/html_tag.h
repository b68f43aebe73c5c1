// Reading the opening tags of HTML the way browsers do: any letter case, double, single or
// no quotes, attribute values with their character references decoded.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace pm {

struct HtmlTag {
  std::map<std::string, std::string> attrs;  // names in lower case
  size_t end = std::string_view::npos;       // after its '>'; npos: the tag does not close

  std::string attr(const std::string& name) const {
    auto it = attrs.find(name);
    return it == attrs.end() ? std::string() : it->second;
  }
};

// The tag that begins at s[i] == '<'.
HtmlTag read_html_tag(std::string_view s, size_t i);

// Position of `needle` in `hay` at or after `from`, without regard to ASCII case.
size_t ifind(std::string_view hay, std::string_view needle, size_t from = 0);


// `s` with &amp; &lt; &gt; &quot; &apos; and numeric character references decoded; any
// other "&" stays as written.
std::string decode_html_text(std::string_view s);

}  // namespace pm

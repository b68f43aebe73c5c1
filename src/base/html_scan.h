// Reading one HTML tag as browsers split it: the name up to a space, '/' or '>', attributes
// in any letter case with double, single or no quotes and spaces around '='. The pieces are
// views of the text as written (no case folding, no character references decoded): each
// reader of room texts decides what it needs from them.
#pragma once

#include <string_view>
#include <vector>

namespace pm {

struct TagAttribute {
  std::string_view name, value;
};

struct TagView {
  std::string_view name;
  bool closing = false;  // "</name ...>"
  std::vector<TagAttribute> attributes;
  // Just after the '>'; npos when the tag, or a quoted value in it, runs to the end of the
  // text (a value left open then holds the rest of the text).
  size_t end = std::string_view::npos;

  // The value of the first attribute named `attribute` in any letter case; "" when none.
  std::string_view value(std::string_view attribute) const;
};

bool is_html_space(char c);

// Reads the tag whose '<' is at s[pos] into `tag` (its attribute list is reused).
void scan_tag(std::string_view s, size_t pos, TagView& tag);

}  // namespace pm

// Selections and replacements over the editor's UTF-8 text (see text_selection.h).
#include "editor/text_selection.h"

#include <algorithm>

#include "base/text_codec.h"

namespace pm {

Replacement caret_after(std::string text) {
  Replacement r;
  r.select_from = r.select_to = text.size();
  r.text = std::move(text);
  return r;
}

Replacement selected(std::string text) {
  Replacement r;
  r.select_to = text.size();
  r.text = std::move(text);
  return r;
}

std::string apply_replacement(std::string_view text, Selection at, const Replacement& r, Selection* after) {
  const size_t start = std::min(at.start, text.size());
  const size_t end = std::max(start, std::min(at.end(), text.size()));
  std::string out;
  out.reserve(text.size() - (end - start) + r.text.size());
  out.append(text.substr(0, start)).append(r.text).append(text.substr(end));
  if (after) *after = Selection{start + r.select_from, r.select_to - r.select_from};
  return out;
}

namespace {

// Walks the characters of `utf8` while `more(bytes so far, units so far)` holds; returns
// where it stopped as {bytes, units}.
template <typename More>
std::pair<size_t, size_t> walk(std::string_view utf8, More&& more) {
  size_t i = 0, units = 0;
  while (i < utf8.size() && more(i, units)) {
    char32_t c = 0;
    const size_t len = (unsigned char)utf8[i] < 0x80 ? 1 : utf8_sequence(utf8, i, &c);
    i += len ? len : 1;
    units += (len == 4) ? 2 : 1;  // characters beyond U+FFFF take a surrogate pair
  }
  return {i, units};
}

}  // namespace

size_t utf16_offset(std::string_view utf8, size_t byte_offset) {
  return walk(utf8, [&](size_t bytes, size_t) { return bytes < byte_offset; }).second;
}

size_t byte_offset(std::string_view utf8, size_t utf16_units) {
  return walk(utf8, [&](size_t, size_t units) { return units < utf16_units; }).first;
}

Selection selection_from_utf16(std::string_view utf8, size_t start_units, size_t length_units) {
  const size_t start = byte_offset(utf8, start_units);
  const size_t end = byte_offset(utf8, start_units + length_units);
  return Selection{start, end - start};
}

}  // namespace pm

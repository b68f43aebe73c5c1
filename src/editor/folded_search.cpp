// Case-blind search over UTF-8 text (see folded_search.h).
#include "editor/folded_search.h"

#include "base/text_codec.h"

namespace pm {

namespace {

// The character at s[i] and its length in bytes. A byte that starts no valid sequence is
// a character of its own, outside Unicode, so that it matches only the same byte.
size_t next_char(std::string_view s, size_t i, char32_t* c) {
  const unsigned char b = (unsigned char)s[i];
  if (b < 0x80) {
    *c = b;
    return 1;
  }
  const size_t len = utf8_sequence(s, i, c);
  if (len) return len;
  *c = 0x110000 + b;
  return 1;
}

}  // namespace

char32_t fold_letter_case(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c < 0x100) return (c >= 0xC0 && c <= 0xDE && c != 0xD7) ? c + 32 : c;
  if (c < 0x180) {  // Latin Extended-A: mostly upper/lower pairs
    if (c == 0x130) return 'i';   // capital I with dot above
    if (c == 0x178) return 0xFF;  // capital Y with diaeresis
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;  // lower case without a pair
    const bool odd_upper = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
    return ((c & 1) != 0) == odd_upper ? c + 1 : c;
  }
  if (c == 0x1E9E) return 0xDF;  // capital sharp s
  if (c >= 0x386 && c <= 0x3AB) {  // Greek
    if (c >= 0x391 && c != 0x3A2) return c + 32;
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return c + 37;
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return c + 63;
    return c;
  }
  if (c >= 0x400 && c <= 0x40F) return c + 80;  // Cyrillic
  if (c >= 0x410 && c <= 0x42F) return c + 32;
  return c;
}

FoldedPattern::FoldedPattern(std::string_view pattern) {
  for (size_t i = 0; i < pattern.size();) {
    char32_t c;
    i += next_char(pattern, i, &c);
    chars_.push_back(fold_letter_case(c));
  }
  fail_.assign(chars_.size(), 0);
  for (size_t i = 1, k = 0; i < chars_.size(); ++i) {
    while (k > 0 && chars_[i] != chars_[k]) k = fail_[k - 1];
    if (chars_[i] == chars_[k]) ++k;
    fail_[i] = k;
  }
}

std::optional<Selection> FoldedPattern::find_in(std::string_view text, size_t from) const {
  const size_t m = chars_.size();
  if (m == 0) return std::nullopt;
  // Where each of the last m characters starts, to find the start of an occurrence when
  // its last character is reached.
  std::vector<size_t> starts(m);
  size_t matched = 0, count = 0;
  for (size_t i = from; i < text.size(); ++count) {
    char32_t c;
    const size_t len = next_char(text, i, &c);
    c = fold_letter_case(c);
    starts[count % m] = i;
    i += len;
    while (matched > 0 && chars_[matched] != c) matched = fail_[matched - 1];
    if (chars_[matched] == c) ++matched;
    if (matched == m) {
      const size_t start = starts[(count + 1) % m];  // the character m - 1 places back
      return Selection{start, i - start};
    }
  }
  return std::nullopt;
}

}  // namespace pm

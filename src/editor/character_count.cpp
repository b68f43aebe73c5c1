// Character count (see character_count.h).
#include "editor/character_count.h"

namespace pm {

size_t count_characters(std::string_view s) {
  size_t n = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const unsigned char c = (unsigned char)s[i];
    if ((c & 0xC0) == 0x80) continue;  // continuation byte
    if (c == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    ++n;
  }
  return n;
}

}  // namespace pm

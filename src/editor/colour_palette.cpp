// Colour notation (see colour_palette.h).
#include "editor/colour_palette.h"

namespace pm {

std::string colour_text(ColourValue value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s = "#";
  for (int shift : {0, 8, 16}) {  // red, green, blue
    const unsigned byte = (value >> shift) & 0xFF;
    s += kDigits[byte >> 4];
    s += kDigits[byte & 0xF];
  }
  return s;
}

}  // namespace pm

// The colour palette's logic: a colour value (the system's 0x00BBGGRR form, red in the
// lowest byte) turned into its HTML notation "#RRGGBB", and the palette's grid of fixed
// colours, 6 rows of 8, rows top to bottom and columns left to right.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pm {

using ColourValue = uint32_t;

constexpr ColourValue colour_value(uint8_t red, uint8_t green, uint8_t blue) {
  return ColourValue(red) | ColourValue(green) << 8 | ColourValue(blue) << 16;
}

// A colour written as its notation reads, 0xRRGGBB.
constexpr ColourValue rgb(uint32_t rrggbb) {
  return colour_value(uint8_t(rrggbb >> 16), uint8_t(rrggbb >> 8), uint8_t(rrggbb));
}

// "#" and six upper-case hexadecimal digits, red, green, blue, each byte always two digits.
// Only the three colour bytes count.
std::string colour_text(ColourValue value);

inline constexpr int kPaletteRows = 6;
inline constexpr int kPaletteColumns = 8;

// The cells, each written as its notation reads (0xRRGGBB).
inline constexpr std::array<std::array<ColourValue, kPaletteColumns>, kPaletteRows> kPaletteColours = {{
    {rgb(0xFFFFFF), rgb(0xFFC7C6), rgb(0xFFE7C6), rgb(0xFFFFBD),
     rgb(0xBDFFBD), rgb(0xBDFFFF), rgb(0xC6BEF7), rgb(0xFFC7FF)},
    {rgb(0xE7E7E7), rgb(0xF78684), rgb(0xF7C77B), rgb(0xF7FF84),
     rgb(0x84FF84), rgb(0x7BFFF7), rgb(0x8486FF), rgb(0xFF86F7)},
    {rgb(0xC6BEC6), rgb(0xF70000), rgb(0xFF8600), rgb(0xFFFF00),
     rgb(0x00FF00), rgb(0x00FFF7), rgb(0x0000FF), rgb(0xF700F7)},
    {rgb(0x848684), rgb(0xC60000), rgb(0xC63800), rgb(0xC6C700),
     rgb(0x00C700), rgb(0x00C7BD), rgb(0x0000C6), rgb(0xBD00C6)},
    {rgb(0x424139), rgb(0x840000), rgb(0x844100), rgb(0x847900),
     rgb(0x007900), rgb(0x008684), rgb(0x000084), rgb(0x81007F)},
    {rgb(0x000000), rgb(0x420000), rgb(0x7B4142), rgb(0x394100),
     rgb(0x004100), rgb(0x004142), rgb(0x000042), rgb(0x420039)},
}};

}  // namespace pm

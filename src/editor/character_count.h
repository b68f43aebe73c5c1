// "Conta Caratteri": the characters of a text, every line break counted as one
// character (CR LF, CR or LF alike) and every UTF-8 sequence as one character.
#pragma once

#include <cstddef>
#include <string_view>

namespace pm {

size_t count_characters(std::string_view utf8_text);

}  // namespace pm

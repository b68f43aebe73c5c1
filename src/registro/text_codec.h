// Registro's two text encodings for the log file: UTF-8, and Windows-1252 for logs kept
// on Windows. Plain byte work; the window only ever sees UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace registro {

enum class Encoding { Utf8, Windows1252 };

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
bool is_valid_utf8(std::string_view bytes);

// Every byte becomes its Windows-1252 character; the five unassigned bytes become the
// control characters of the same number, so that nothing is lost.
std::string windows1252_to_utf8(std::string_view bytes);

// The inverse of windows1252_to_utf8, or nothing when a character has no Windows-1252
// byte (or `utf8` is not valid UTF-8).
std::optional<std::string> utf8_to_windows1252(std::string_view utf8);

}  // namespace registro

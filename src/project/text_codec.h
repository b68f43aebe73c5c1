// Decoding of file bytes for display and encoding back: a file is UTF-8 when its bytes are
// valid UTF-8, otherwise Windows-1252 (books written on Windows). The core itself never
// decodes what it stores or writes; the windows use these to show and save text, and the
// editor's search reads characters one by one to compare them.
#pragma once

#include <string>
#include <string_view>

namespace pm {

enum class TextEncoding { Utf8, Windows1252 };

bool is_valid_utf8(std::string_view bytes);
// Decodes the UTF-8 sequence that starts at s[i] into *out; returns its length in bytes,
// or 0 when the bytes there are not a valid sequence.
size_t utf8_sequence(std::string_view s, size_t i, char32_t* out);
TextEncoding detect_encoding(std::string_view bytes);

// Bytes in `enc` to UTF-8.
std::string decode_to_utf8(std::string_view bytes, TextEncoding enc);
// Bytes (detected) to UTF-8.
std::string decode_for_display(std::string_view bytes);

// UTF-8 to `enc`. A character that Windows-1252 cannot hold makes `ok` false and the
// result is empty: the caller then writes UTF-8 instead of losing the character.
std::string encode_from_utf8(std::string_view utf8, TextEncoding enc, bool* ok = nullptr);
// The bytes that read back as `utf8` when decoded as detected: in `enc` where it can hold
// every character and the bytes are not taken for UTF-8 on reading ("\xC3\x83\xC2\xA9",
// "Ã©", is C3 A9 in Windows-1252, which reads as UTF-8 "é"); else the UTF-8 itself.
std::string encode_for_reading_back(std::string_view utf8, TextEncoding enc);

}  // namespace pm

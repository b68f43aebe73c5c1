// Decoding of file bytes for display and encoding back: a file, or a line, is UTF-8 when its
// bytes are valid UTF-8, otherwise Windows-1252 (books written on Windows). The windows use
// these to show text; what is written into a book goes through encode_for_book in the book's
// one encoding (book_encoding.h); the editor's search reads characters one by one.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pm {

enum class TextEncoding { Utf8, Windows1252 };

// What a text file may begin with to say that it is UTF-8.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

bool is_valid_utf8(std::string_view bytes);
bool is_ascii(std::string_view bytes);
// Decodes the UTF-8 sequence that starts at s[i] into *out; returns its length in bytes,
// or 0 when the bytes there are not a valid sequence.
size_t utf8_sequence(std::string_view s, size_t i, char32_t* out);
// `c` appended to `out` in UTF-8.
void append_utf8(std::string& out, char32_t c);
// The code point of a numeric character reference's name ("#233", "#xE9" or "#XE9", without
// '&' and ';'): nothing when a digit is wrong, there is none, or it passes U+10FFFF.
std::optional<char32_t> numeric_reference(std::string_view name);
TextEncoding detect_encoding(std::string_view bytes);

// Bytes in `enc` to UTF-8.
std::string decode_to_utf8(std::string_view bytes, TextEncoding enc);
// Bytes (detected) to UTF-8.
std::string decode_for_display(std::string_view bytes);

// Bytes to UTF-8 line by line, each line (and its line end) decoded by its own detection:
// a file that mixes UTF-8 lines and Windows-1252 lines reads right throughout.
std::string decode_lines_for_display(std::string_view bytes);

// UTF-8 with every numeric character reference ("&#337;", "&#x151;") that names a
// character replaced by that character; any other "&" stays. For text that leaves HTML.
std::string decode_character_references(std::string_view utf8);

// Where text written into a book ends up, which says how a character that the book's
// encoding cannot hold is written: as a numeric character reference in HTML ("&#337;"),
// an escape in a script ("\u0151") or a style sheet ("\151 ").
enum class TextUse { Html, Script, StyleSheet };

// One line of UTF-8 text as bytes of a book in `book`: UTF-8 as it is; in Windows-1252 each
// character it holds as its byte and every other one written as `use` says. Where the
// Windows-1252 bytes of a line would read back as UTF-8 (a line such as "Ã©"), every
// character beyond ASCII is written so, so that the line reads back as written.
std::string encode_for_book(std::string_view utf8, TextEncoding book, TextUse use);

// UTF-8 to `enc`. A character that Windows-1252 cannot hold makes `ok` false and the
// result is empty: the caller then writes UTF-8 instead of losing the character.
std::string encode_from_utf8(std::string_view utf8, TextEncoding enc, bool* ok = nullptr);
// The bytes that read back as `utf8` when decoded as detected: in `enc` where it can hold
// every character and the bytes are not taken for UTF-8 on reading ("\xC3\x83\xC2\xA9",
// "Ã©", is C3 A9 in Windows-1252, which reads as UTF-8 "é"); else the UTF-8 itself.
std::string encode_for_reading_back(std::string_view utf8, TextEncoding enc);

}  // namespace pm

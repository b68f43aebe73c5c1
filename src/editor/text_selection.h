// The editor's selection as the core sees it, and what a command puts in its place.
//
// The text an editor shows is UTF-8 (a Windows-1252 file is decoded before it is shown and
// encoded again when it is saved), so the core counts positions in bytes of UTF-8, while a
// window counts in its own units (UTF-16 code units in Qt). The two meet in two ways:
// - a command that only rewrites the selected text takes that text and gives back a
//   Replacement, whose selection offsets the window measures in its own units on the
//   replacement itself (the length of text.substr(0, offset));
// - a command over the whole text (find and replace) takes byte positions, which the
//   window converts with the functions below; they never land inside a character.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace pm {

// A selection, or the caret when the length is 0: byte offsets into the UTF-8 text.
struct Selection {
  size_t start = 0;
  size_t length = 0;
  size_t end() const { return start + length; }
  bool operator==(const Selection&) const = default;
};

// The text that takes the selection's place, and the selection it leaves inside that text
// (select_from == select_to: a caret). Offsets are in bytes of `text`, between characters.
struct Replacement {
  std::string text;
  size_t select_from = 0;
  size_t select_to = 0;
};

// The caret after the inserted text: what the HTML commands leave.
Replacement caret_after(std::string text);
// The inserted text selected: what a replacement by find and replace leaves.
Replacement selected(std::string text);

// `text` with `at` (clamped to the text) replaced by `r.text`; `after`, when given,
// receives the selection the replacement leaves, in the new text.
std::string apply_replacement(std::string_view text, Selection at, const Replacement& r, Selection* after = nullptr);

// Offsets between the UTF-8 text and the same text in UTF-16 code units. A byte that is
// not part of a valid UTF-8 sequence counts as one unit, as it is shown as one replacement
// character. An offset inside a character moves to that character's end.
size_t utf16_offset(std::string_view utf8, size_t byte_offset);
size_t byte_offset(std::string_view utf8, size_t utf16_units);
Selection selection_from_utf16(std::string_view utf8, size_t start_units, size_t length_units);

}  // namespace pm

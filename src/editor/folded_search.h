// Searching the editor's text without regard to letter case. Text and pattern are compared
// character by character, each character lower-cased on its own (one character to one
// character), so an occurrence is found at its own place in the text even where a
// lower-case form is longer or shorter in bytes than the letter it comes from; the length
// of an occurrence is its length in the text. Runs in time linear in the text searched.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text_selection.h"

namespace pm {

// The lower-case form of a letter of the Latin (ASCII, Latin-1, Latin Extended-A and
// capital sharp s), Greek and Cyrillic alphabets; any other character is returned as is.
char32_t fold_letter_case(char32_t c);

class FoldedPattern {
 public:
  explicit FoldedPattern(std::string_view pattern);

  // The first occurrence that starts at or after byte `from`, or nothing. An empty pattern
  // has none.
  std::optional<Selection> find_in(std::string_view text, size_t from = 0) const;

 private:
  std::u32string chars_;      // the pattern, folded
  std::vector<size_t> fail_;  // longest proper border of each prefix (Knuth-Morris-Pratt)
};

}  // namespace pm

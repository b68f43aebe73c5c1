// Which lines of an old text reappear unchanged in a new one: a shortest edit script
// between two line sequences (Myers' algorithm after trimming the common head and tail),
// so a file can be written back with every untouched line exactly as it was; and the same
// matching shown to a person as the differences between two versions of a text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

// For each new line, the index of the old line it keeps unchanged, or kNoMatch when the
// line is new or edited. Matched indices increase. When the two sides differ in more
// than `max_edits` lines the middle part falls back to a cheaper pairing that may keep
// fewer lines (it still never pairs unequal lines).
inline constexpr size_t kNoMatch = size_t(-1);
std::vector<size_t> match_lines(const std::vector<std::string_view>& old_lines,
                                const std::vector<std::string_view>& new_lines, size_t max_edits = 2000);

// The differences from `old_text` to `new_text` (both lines separated by "\n"), one line
// each: "- " a line only the old text has, "+ " one only the new text has, "  " one both
// keep. Empty when the texts are equal.
std::string line_differences(std::string_view old_text, std::string_view new_text);

}  // namespace pm

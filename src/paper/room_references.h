// The references to rooms in a book's text, rewritten to new room numbers in one pass: page
// names (N.htm in any quotes and case, in links, timed jumps and scripts), the visible
// number of a link whose text is its room's old number (<a href="12.htm">12</a>), and the
// phrases a paper book uses ("vai al 12", "paragrafo 12"). Everything else passes through
// byte for byte.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace pm {

// The phrases after which a number names a room, as a new renumbering starts with them.
const std::vector<std::string>& default_reference_phrases();

// Old room name in lower case -> its new name.
using RoomRenaming = std::unordered_map<std::string, std::string>;

// `text` with every reference to a room of `renaming` pointing at the room's new name.
// A phrase matches without regard to ASCII case at the start of a word, followed by
// blanks (or &nbsp;) and the number; names that are not rooms are left as they are.
std::string rewrite_room_references(std::string_view text, const RoomRenaming& renaming,
                                    const std::vector<std::string>& phrases);

}  // namespace pm

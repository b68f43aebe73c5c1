// Twee 3, the text form of a story: "::" headers with a passage name, an optional tag block
// in [ ] and an optional JSON block in { }; StoryTitle and StoryData are the story's own
// passages, and the passages tagged script and stylesheet its script and style sheet.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "exchange/story.h"

namespace pm {

// Reads a Twee file. ReadFailed, with a message, when it holds no passage at all.
Result<Story> read_twee(std::string_view bytes);

// Writes `story` as Twee 3 (UTF-8, LF line ends): StoryTitle, StoryData (ifid, format,
// format-version, start), the style sheet and script passages when not empty, then the
// passages in order. Names and tags have [ ] { } and \ escaped.
std::string write_twee(const Story& story);

// A passage or tag name with the header's metacharacters escaped by a backslash.
std::string escape_twee_name(std::string_view name);

}  // namespace pm

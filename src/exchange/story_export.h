// A project written out as a Twee 3 story: one passage per room in number order, named by
// its description (made unique), room links as [[text->Name]], the passage of room 0 the
// start; the story's IFID is made on the first export and kept in the project (story.ifid)
// so later exports name the same story. What Twee cannot carry (timed jumps, back links,
// room scripts, the global code) is listed.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"
#include "exchange/story.h"
#include "project/project.h"

namespace pm {

inline constexpr std::string_view kDefaultStoryFormat = "Harlowe";
inline constexpr std::string_view kDefaultStoryFormatVersion = "3.3.9";
// The file of the project folder that keeps the story's IFID (one line).
inline constexpr std::string_view kIfidFile = "story.ifid";

struct StoryFormat {
  std::string name{kDefaultStoryFormat};
  std::string version{kDefaultStoryFormatVersion};
};
// "NAME@VERSION" (the last '@' divides them); nothing when either part is empty.
std::optional<StoryFormat> parse_story_format(std::string_view text);

// A fresh UUID version 4 in capitals, as an IFID is written.
std::string new_ifid();
// True for 8 to 63 capitals, digits and hyphens.
bool is_ifid(std::string_view text);

// The IFID kept in the project, or a new one, which is then written there. WriteFailed
// when a new one cannot be kept: an export would otherwise name a different story each time.
Result<std::string> project_ifid(const Project& project);

struct TweeExport {
  Story story;
  std::vector<std::string> not_carried;  // "stanza N, riga L: ..." one a finding
};

// The story of `project` (UTF-8), with the IFID given.
TweeExport story_of_project(const Project& project, const std::string& ifid, const StoryFormat& format);

// The room's text with its links to other rooms (`names`: room number -> passage name) as
// [[text->Name]]; other mark-up stays.
std::string passage_text_of(std::string_view room_text, const std::vector<std::string>& names);

}  // namespace pm

// A story of the story-map tool as its two file forms hold it (Twee 3 text and the published
// HTML with <tw-storydata>): the title, what StoryData says, the passages in the file's order,
// the story's style sheet and script. All texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

struct StoryPassage {
  std::string name;
  std::vector<std::string> tags;
  std::string text;   // lines separated by "\n", trailing blank lines dropped
  uint32_t line = 0;  // the file's line where the text begins (1-based)
};

struct Story {
  std::string title;
  std::string ifid;
  std::string format;          // the story format's name ("Harlowe")
  std::string format_version;  // its version ("3.3.9")
  std::string start;           // the start passage's name; empty: the reader's default
  std::vector<StoryPassage> passages;  // without the style sheet and script passages
  std::string stylesheet;
  std::string script;
  std::vector<std::string> warnings;  // what was read but not taken, for the report
};

// The file's bytes as UTF-8: a byte-order mark dropped, bytes that are not UTF-8 read as
// Windows-1252.
std::string story_bytes_as_utf8(std::string_view bytes);

// `s` without blanks, tabs and line ends around it.
std::string_view trim_space(std::string_view s);

// The passage a story starts from: the one StoryData or startnode names, else "Start", else
// the first; the index into `passages`, or passages.size() when there are none.
size_t start_passage_index(const Story& story);

}  // namespace pm

// A story brought into a new project: the start passage becomes room 0 and the others rooms
// 1... in the file's order, each passage name the room's description, the story title the
// project's title; links become links to the rooms' pages, tags an HTML comment at the top
// of the room's text, the style sheet goes into adv.css and the script into global.cod.
// What a story format does at play time (macros, variables) is kept as written and listed.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/files.h"
#include "base/status.h"
#include "base/text_codec.h"
#include "exchange/story.h"

namespace pm {

// A Twee file or a published HTML story, told apart by their bytes.
Result<Story> read_story(std::string_view bytes);

struct PlannedRoom {
  std::string description;  // UTF-8, one line
  std::string text;         // UTF-8 HTML, lines separated by "\n"
};

// The book a story makes, before anything is written; all texts UTF-8.
struct BookPlan {
  std::string title;
  std::vector<PlannedRoom> rooms;  // room 0 first
  std::string stylesheet;
  std::string script;
  // One line for each thing the author should look at: "<source>:<line>: <message>".
  std::vector<std::string> report;
};

// `source` names the file in the report's lines.
BookPlan plan_book(const Story& story, std::string_view source);

// One passage's text as a room's text: links to passages of `numbers` (name -> room
// number) as <a href="N.htm">, other text escaped where it is not HTML already; findings
// go to `report` as "<source>:<line>: ..." with `line` the text's first line in the file.
struct PassageContext {
  std::string_view source;
  std::string_view name;
  uint32_t line = 0;
};
std::string room_text_of(std::string_view text, const std::unordered_map<std::string, size_t>& numbers,
                         const PassageContext& where, std::vector<std::string>& report);

// Where "&" and "<" do not begin a character reference or a tag (or "<" follows "<"),
// written as &amp; and &lt;.
std::string escape_loose_html(std::string_view text);

// True when the line holds what a story format runs at play time: a macro "(name:" or
// "<<name", or a variable "$name".
bool uses_story_format_code(std::string_view line);

// The encoding of a new book that must hold `texts`: Windows-1252, as every new book, unless
// one of them holds a character Windows-1252 cannot; then UTF-8, so the story's letters stay
// letters in the editor rather than character references.
TextEncoding encoding_for_import(const std::vector<std::string_view>& texts);

struct ImportResult {
  Status status;
  stdfs::path folder;
  std::string name;
  TextEncoding encoding = TextEncoding::Windows1252;
  std::vector<std::string> report;
};

// Reads `file` and makes a new project of it in `parent` (create_project: never over an
// existing folder; `home` gives the style sheets). A failure leaves no half-made project.
// Kinds: NotFound / ReadFailed (the file), those of create_project, WriteFailed.
ImportResult import_story_file(const stdfs::path& file, const stdfs::path& parent, const stdfs::path& home);

// The comment by which a room keeps its passage's tags: "<!-- tag: a b -->".
inline constexpr std::string_view kTagCommentLead = "<!-- tag: ";
// The line of adv.css after which the imported story's style sheet begins.
inline constexpr std::string_view kImportedStyleMark = "/* Foglio di stile della storia importata */";

}  // namespace pm

// The file a room editor works on: a room's text file, Global.cod, Global2.cod or the
// style sheet, and the room script N.js that the script window edits. How it is named and
// checked, how its bytes become the text shown (lines joined, the last line end dropped;
// UTF-8 when valid, else Windows-1252, line by line) and how the edited text is written
// back: every line the author did not touch keeps its exact bytes and line end, new and
// edited lines are written in the book's encoding (book_encoding) and end with CR LF, and an
// emptied global code file or room script is deleted instead of written.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "base/text_codec.h"

namespace pm {

enum class EditorFileKind { Room, GlobalCode, GlobalCode2, StyleSheet, RoomScript };

// Global.cod and Global2.cod by name without regard to case; the style sheet is any name
// whose first seven characters are "adv.css" in any case; a room script is a name ending
// in ".js" in any case; everything else is a room.
EditorFileKind editor_file_kind(std::string_view name);
// The style sheet and the global code files are edited in restricted mode.
bool is_restricted_file(std::string_view name);
// The global code files and the room scripts (room_script_name) are deleted when saved empty.
bool is_deleted_when_empty(std::string_view name);
// How a character the book's encoding cannot hold is written in the file `name`: an escape
// in a room script or the style sheet, a character reference elsewhere (HTML).
TextUse editor_file_use(std::string_view name);

// The file `name` in `folder` (found without regard to case), or nothing for an unsafe name.
std::optional<stdfs::path> editor_file_path(const stdfs::path& folder, std::string_view name);

// A file as the editor loaded it. The text shown is the lines joined with "\n".
class LoadedText {
 public:
  LoadedText() = default;
  explicit LoadedText(std::string bytes);

  const std::string& bytes() const { return bytes_; }
  TextEncoding encoding() const { return encoding_; }
  // The text for display: UTF-8, lines joined with "\n", no final line end.
  const std::string& display() const { return display_; }
  size_t line_count() const { return lines_.size(); }
  std::vector<std::string_view> display_lines() const;

  // The bytes to write for `text` (UTF-8, lines separated by "\n"; a "\r\n" or lone "\r"
  // is taken as "\n" too) into a book in `book`: new and edited lines through
  // encode_for_book with `use`, whatever the bytes of the file. An empty text gives one CR LF.
  std::string save_bytes(std::string_view text, TextEncoding book, TextUse use = TextUse::Html) const;

 private:
  struct Line {
    size_t start = 0, length = 0;   // in bytes_
    uint8_t end_length = 0;         // 0 (last line without end), 1 (CR or LF) or 2 (CR LF)
    size_t shown_start = 0, shown_length = 0;  // in display_
  };
  std::string bytes_;
  TextEncoding encoding_ = TextEncoding::Utf8;
  std::vector<Line> lines_;
  std::string display_;
};

// Reads the file; a missing file is an empty text. A name that is no plain file name
// (BadName) or an existing file that cannot be read (ReadFailed) is reported, with a message
// naming it, so that the editor does not later write over it.
Result<LoadedText> load_editor_file(const stdfs::path& folder, std::string_view name);

// Writes `text` back (or deletes the file when it is emptied and is_deleted_when_empty), new
// and edited lines in the encoding of the book in `folder` (book_encoding). On success
// `loaded` becomes what is now on disk. On failure (BadName, or WriteFailed) the old file
// is left whole, the message names the file and `loaded` is unchanged.
Status save_editor_file(const stdfs::path& folder, std::string_view name, LoadedText& loaded, std::string_view text);

}  // namespace pm

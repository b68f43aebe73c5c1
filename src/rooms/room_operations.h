// The room-level operations of the project manager on the project's files: the number a
// new room takes, creating, describing, duplicating and deleting (blanking) a room. Every
// write is atomic; an operation that fails part-way takes back what it wrote, so a room is
// never left half made, and it returns a message naming the file.
#pragma once

#include <string>
#include <string_view>

#include "project/project.h"
#include "base/status.h"

namespace pm {

// The number of a new room: `entry_count` (the number of entries of the room list), unless
// a description file or a text file of that number already exists; then one more than the
// highest room number present among the description and text files.
std::string next_room_number(const Project& project, size_t entry_count);

// A description as creation and duplication store it: every "|" removed.
std::string strip_bars(std::string_view description);

// A room text copied the way the editor saves it: the lines joined with CR LF, then one
// CR LF. An empty or missing text gives one empty line.
std::string copied_room_text(std::string_view text);

// A failed operation is WriteFailed, its message naming the file.
struct RoomResult {
  Status status;
  std::string room;  // the number of the room written
};

// A new room: description file (the description without "|") and a text file holding one
// empty line.
RoomResult create_room(const Project& project, size_t entry_count, std::string_view description);

// Rewrites the description file of `room` with `description` as typed (bars kept).
RoomResult describe_room(const Project& project, const std::string& room, std::string_view description);

// A copy of room `source` under the next room number: the description (without "|"), the
// text and the script, copied line by line.
RoomResult duplicate_room(const Project& project, const std::string& source, size_t entry_count,
                          std::string_view description);

// Blanks room `room`: its description becomes one empty line, its text zero bytes, its
// script is removed. The room keeps its number.
RoomResult delete_room(const Project& project, const std::string& room);

}  // namespace pm

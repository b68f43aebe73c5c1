// The book's "Cestino": a room that is deleted (blanked) is first kept whole in the history,
// its description, text and script in one entry, so that it can be brought back.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/files.h"
#include "project/history_entry.h"

namespace pm {

struct DeletedRoom {
  std::string room;         // its number when it was deleted
  std::string description;  // the bytes of its description file
  std::string text;         // the bytes of its text file
  std::optional<std::string> script;  // the bytes of its script file, when it had one
  long long time = 0;
  stdfs::path entry;
};

struct DeletedRooms {
  std::vector<DeletedRoom> rooms;    // newest first
  std::vector<std::string> damaged;  // a message for each entry that was skipped
};

// Keeps `room` (description, text, script as they are on disk now) in the Cestino of the
// book in `book`. Nothing is kept when the history is turned off. WriteFailed when the
// entry could not be written.
Status keep_deleted_room(const stdfs::path& book, const DeletedRoom& room);
DeletedRooms deleted_rooms(const stdfs::path& book);
// Takes a room out of the Cestino once it is back in the book.
bool forget_deleted_room(const DeletedRoom& room);

}  // namespace pm

// Bringing a deleted room back from the Cestino (deleted_rooms.h): whole (description,
// text, script), under its own number while that room is still blank, else under the
// number a new room would take.
#pragma once

#include <string>

#include "project/deleted_rooms.h"
#include "project/project.h"
#include "rooms/room_operations.h"

namespace pm {

// True when room `room` holds nothing: a blank description and text and no script (what
// deleting leaves, or no files at all).
bool room_is_blank(const Project& project, const std::string& room);

// Writes the deleted room back (each write keeps what it replaces in the history) and
// takes it out of the Cestino. `entry_count` is the room list's count of entries, as for a
// new room. r.room is the number it now has.
RoomResult restore_deleted_room(const Project& project, const DeletedRoom& room, size_t entry_count);

}  // namespace pm

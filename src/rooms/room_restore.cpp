// Bringing a deleted room back (see room_restore.h).
#include "rooms/room_restore.h"

#include "project/book_history.h"

namespace pm {

bool room_is_blank(const Project& project, const std::string& room) {
  const std::string text = project.read_text(room);
  return text.find_first_not_of(" \t\r\n") == std::string::npos && project.read_description_text(room).empty() &&
         !is_file(project.script_file(room));
}

RoomResult restore_deleted_room(const Project& project, const DeletedRoom& room, size_t entry_count) {
  RoomResult r;
  const bool own = is_plain_file_name(room.room) && is_room_file_name(room.room) && room_is_blank(project, room.room);
  r.room = own ? room.room : next_room_number(project, entry_count);
  std::vector<stdfs::path> made;  // files of a new number, taken back on a failure
  auto undo = [&](Status s) {
    if (!own)
      for (const auto& p : made) remove_file(p);
    r.status = std::move(s);
    return r;
  };
  if (Status s = project.write_text_bytes(r.room, room.text); !s.ok()) return undo(s);
  made.push_back(project.text_file(r.room));
  if (room.script) {
    if (Status s = project.write_script_bytes(r.room, *room.script); !s.ok()) return undo(s);
    made.push_back(project.script_file(r.room));
  }
  // The description makes the room: it comes last.
  if (Status s = save_book_file(project.folder(), project.description_file(r.room), room.description); !s.ok())
    return undo(s);
  forget_deleted_room(room);
  return r;
}

}  // namespace pm

// The room-level operations of the project manager (see room_operations.h).
#include "rooms/room_operations.h"

#include <vector>

#include "base/text.h"
#include "project/deleted_rooms.h"

namespace pm {

namespace {

// A room number made of digits, or nothing when the name is no number this code can count.
bool room_number_value(std::string_view name, unsigned long long& value) {
  if (name.empty() || name.size() > 18 || !is_digits(name)) return false;
  value = std::stoull(std::string(name));
  return true;
}

void note_highest(const std::vector<std::string>& names, bool& any, unsigned long long& highest) {
  for (const auto& n : names) {
    unsigned long long v = 0;
    if (!room_number_value(n, v)) continue;
    if (!any || v > highest) highest = v;
    any = true;
  }
}

// Removes the files written so far by an operation that could not finish.
void take_back(const std::vector<stdfs::path>& written) {
  for (const auto& p : written) remove_file(p);
}

RoomResult& failed(RoomResult& r, Status status) {
  r.status = std::move(status);
  return r;
}

}  // namespace

std::string next_room_number(const Project& project, size_t entry_count) {
  std::string n = std::to_string(entry_count);
  if (!find_entry(project.room_folder(), n) && !find_entry(project.folder(), n)) return n;
  bool any = false;
  unsigned long long highest = 0;
  note_highest(list_file_names(project.room_folder()), any, highest);
  note_highest(list_file_names(project.folder()), any, highest);
  unsigned long long next = any ? highest + 1 : 0;
  if (next < entry_count) next = entry_count;
  // A number still taken (a name this count cannot see) moves on until it is free.
  while (find_entry(project.room_folder(), std::to_string(next)) || find_entry(project.folder(), std::to_string(next)))
    ++next;
  return std::to_string(next);
}

std::string strip_bars(std::string_view description) { return replace_all(description, "|", ""); }

std::string copied_room_text(std::string_view text) {
  std::vector<std::string> lines = split_lines(text);
  if (lines.empty()) return std::string(kCrLf);
  return join_lines_crlf(lines);
}

RoomResult create_room(const Project& project, size_t entry_count, std::string_view description) {
  RoomResult r;
  r.room = next_room_number(project, entry_count);
  // The text first: the description file is what makes the room, so it comes last and a
  // failure before it takes the text back.
  if (Status s = project.write_text(r.room, ""); !s.ok()) return failed(r, s);
  if (Status s = project.write_description(r.room, strip_bars(description)); !s.ok()) {
    take_back({project.text_file(r.room)});
    return failed(r, s);
  }
  return r;
}

RoomResult describe_room(const Project& project, const std::string& room, std::string_view description) {
  RoomResult r;
  r.room = room;
  if (Status s = project.write_description(room, description); !s.ok()) return failed(r, s);
  return r;
}

RoomResult duplicate_room(const Project& project, const std::string& source, size_t entry_count,
                          std::string_view description) {
  RoomResult r;
  std::string text = copied_room_text(project.read_text(source));
  std::string script = copied_room_text(project.read_script(source));
  r.room = next_room_number(project, entry_count);
  std::vector<stdfs::path> written;
  if (Status s = project.write_text_bytes(r.room, text); !s.ok()) return failed(r, s);
  written.push_back(project.text_file(r.room));
  if (Status s = project.write_script_bytes(r.room, script); !s.ok()) {
    take_back(written);
    return failed(r, s);
  }
  written.push_back(project.script_file(r.room));
  if (Status s = project.write_description(r.room, strip_bars(description)); !s.ok()) {
    take_back(written);
    return failed(r, s);
  }
  return r;
}

RoomResult delete_room(const Project& project, const std::string& room) {
  RoomResult r;
  r.room = room;
  // The room goes whole into the Cestino first; if it cannot, nothing is blanked.
  DeletedRoom kept;
  kept.room = room;
  kept.description = project.read_description_bytes(room);
  kept.text = project.read_text(room);
  if (std::string script; read_file(project.script_file(room), script)) kept.script = std::move(script);
  if (Status s = keep_deleted_room(project.folder(), kept); !s.ok()) return failed(r, s);
  if (Status s = project.write_description(room, ""); !s.ok()) return failed(r, s);
  if (Status s = project.write_text_bytes(room, ""); !s.ok()) return failed(r, s);
  if (Status s = project.remove_script(room); !s.ok()) return failed(r, s);
  return r;
}

}  // namespace pm

// The project manager's room list (see room_list.h).
#include "rooms/room_list.h"

#include "base/open_folder.h"
#include "base/text.h"

namespace pm {

std::string make_room_entry(std::string_view name, std::string_view description) {
  std::string entry;
  entry.reserve(name.size() + description.size() + 4);
  if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') entry += ' ';
  entry += name;
  entry += kEntrySeparator;
  entry += description;
  return entry;
}

std::string read_room_entry(const OpenFolder& room_folder, const std::string& name, std::string& scratch) {
  (void)room_folder.read(name, scratch);  // a file that cannot be read lists as an empty description
  return make_room_entry(name, description_line(scratch));
}

std::vector<std::string> build_room_list(const Project& project) {
  std::vector<std::string> entries;
  auto names = project.room_names();
  entries.reserve(names.size());
  const OpenFolder room_folder(project.room_folder());
  std::string data;
  for (const auto& name : names) entries.push_back(read_room_entry(room_folder, name, data));
  return entries;
}

RoomEntry split_room_entry(std::string_view entry) {
  RoomEntry out;
  size_t bar = entry.find('|');
  out.number = std::string(trim_blanks(entry.substr(0, bar)));
  if (bar != std::string_view::npos) {
    std::string_view rest = entry.substr(bar + 1);
    out.description = std::string(trim_blanks(rest.substr(0, rest.find('|'))));
  }
  return out;
}

std::vector<std::string> room_numbers(const std::vector<std::string>& entries) {
  std::vector<std::string> out;
  out.reserve(entries.size());
  for (const auto& e : entries) out.push_back(split_room_entry(e).number);
  return out;
}

std::vector<std::string> room_numbers_of_files(const std::vector<std::string>& names) {
  std::vector<std::string> entries;
  entries.reserve(names.size());
  for (const auto& name : names) entries.push_back(make_room_entry(name, ""));
  return room_numbers(entries);
}

}  // namespace pm

// The project manager's room list: its entries (lead blank, number, " | ", description)
// built from the Room folder, and the split of an entry back into number and description.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/open_folder.h"
#include "project/project.h"

namespace pm {

inline constexpr std::string_view kEntrySeparator = " | ";

// One entry: a blank before a single-digit name, the name, " | ", the description.
std::string make_room_entry(std::string_view name, std::string_view description);

// Entries for every room file of the project, in text order of the names; each
// description is its file's whole first line (description_line).
std::vector<std::string> build_room_list(const Project& project);

// The entry of room `name` from its description file in the open `Room` folder (`scratch`
// holds the file's bytes meanwhile).
std::string read_room_entry(const OpenFolder& room_folder, const std::string& name, std::string& scratch);

struct RoomEntry {
  std::string number;       // first piece, trimmed
  std::string description;  // second piece, trimmed
};
// Splits an entry at every "|" and trims the pieces. An empty entry gives empty pieces.
RoomEntry split_room_entry(std::string_view entry);

// The room numbers of a list, in list order.
std::vector<std::string> room_numbers(const std::vector<std::string>& entries);

// The room numbers of the list built from the room files `names` (Project::room_names), in
// its order. The compiles use no description, so the entries are made without reading the
// description files: the same numbers in the same order, without one file read per room.
std::vector<std::string> room_numbers_of_files(const std::vector<std::string>& names);

}  // namespace pm

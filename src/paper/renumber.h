// Renumbering a book into a new project: the rooms take new numbers (densely in the order of
// their old numbers, or shuffled by a seed, room 0 and the pinned rooms keeping theirs), every
// reference follows its room (room_references.h), and renumber.csv maps old numbers to new.
// The book it comes from is only read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/status.h"

namespace pm {

inline constexpr std::string_view kRenumberMapName = "renumber.csv";

struct RenumberOptions {
  bool shuffle = false;
  uint64_t seed = 0;                 // the shuffle's order: the same seed, the same order
  std::vector<std::string> pinned;   // rooms that keep their numbers (room 0 always does)
  std::vector<std::string> phrases;  // words after which a number names a room
};

// Old names in the room list's order and, parallel, their new numbers.
struct Renumbering {
  std::vector<std::string> old_names;
  std::vector<std::string> new_names;
};

// The new numbers of `rooms` (the room list's names, in its order): without a shuffle the
// free numbers go to the rooms in the order of their old numbers. Usage, with a message
// naming it, for a pinned room that is not in the list or whose name is no number below the
// count of rooms.
Result<Renumbering> plan_renumbering(const std::vector<std::string>& rooms, const RenumberOptions& options);

// renumber.csv: "old,new" and one line per room in the room list's order, CR LF line ends.
std::string renumber_map_text(const Renumbering& plan);

// Writes the project of folder `from`, renumbered, as the new project folder `into` (which
// must not exist or be empty, and must lie outside `from`); its project file is named after
// `into`. The folder is made beside `into` and put in place only when whole: a failure
// leaves nothing behind. NotFound / NotAProject for `from`, Usage for a wrong pin,
// NameExists for an `into` that holds something, WouldDestroy for one inside `from`,
// WriteFailed. Messages in Italian, naming the file or folder.
Result<Renumbering> renumber_project(const stdfs::path& from, const stdfs::path& into, const RenumberOptions& options);

}  // namespace pm

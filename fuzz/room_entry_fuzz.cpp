// Room-list entries and description files: a description file's first line as the list
// shows it, a written description read back as typed, the entry made of a name and a
// description, and the entry split back; and the room a selected link names, which must
// stay inside the project folder.
#include "fuzz_support.h"
#include "project/project.h"
#include "base/text.h"
#include "rooms/follow_link.h"
#include "rooms/room_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto in = fuzz::parts(data, size, 2);
  const std::string_view name = in[0].substr(0, 40), description_file = in[1];

  const std::string shown = pm::description_line(description_file);
  fuzz::check(shown.find_first_of("\r\n") == std::string::npos, "a description is one line");
  // What the room operations write reads back as typed (blanks around it aside), whatever
  // commas, digits or quotes it holds, unless a pair of quotes encloses all of it.
  const std::string typed(pm::trim_blanks(description_file.substr(0, description_file.find_first_of("\r\n"))));
  if (typed.size() < 2 || typed.front() != '"' || typed.back() != '"')
    fuzz::check(pm::description_line(pm::text_with_final_crlf(typed)) == typed, "a description reads back as typed");
  const std::string entry = pm::make_room_entry(name, shown);
  const pm::RoomEntry split = pm::split_room_entry(entry);
  if (name.find('|') == std::string_view::npos)
    fuzz::check(split.number == pm::trim_blanks(name), "an entry gives back its room number");
  if (name.find('|') == std::string_view::npos && shown.find('|') == std::string::npos)
    fuzz::check(split.description == pm::trim_blanks(shown), "an entry gives back its description");
  for (bool require_htm : {true, false})
    if (auto target = pm::follow_link_target(description_file, require_htm))
      fuzz::check(pm::is_safe_link_target(*target), "a followed link names a file of the project folder");
  (void)pm::room_numbers({entry, std::string(description_file)});
  (void)pm::is_room_file_name(name);
  (void)pm::room_name_less(std::string(name), shown);
  return 0;
}

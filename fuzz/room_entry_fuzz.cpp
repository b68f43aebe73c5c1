// Room-list entries and description files: a description file's first field as the list
// shows it, the entry made of a name and a description, and the entry split back; and
// the room a selected link names, which must stay inside the project folder.
#include "fuzz_support.h"
#include "project/project.h"
#include "project/text.h"
#include "rooms/follow_link.h"
#include "rooms/room_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto in = fuzz::parts(data, size, 2);
  const std::string_view name = in[0].substr(0, 40), description_file = in[1];

  const std::string shown = pm::first_field_display(description_file);
  (void)pm::first_field_text(description_file);
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

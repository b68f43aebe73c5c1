// The adventure map text (see map_text.h).
#include "map/map_text.h"

#include "project/text.h"
#include "rooms/room_list.h"

namespace pm {

namespace {
constexpr size_t kEmptyLinesAfterRoom = 5;
}

std::string map_header(std::string_view number, std::string_view description, bool numbers_only) {
  std::string header;
  if (numbers_only) {
    header = "#";
    header += number;
  } else {
    header = "---------------| Stanza ";
    header += number;
    header += " - ";
    header += description;
    header += " |---------------";
  }
  return header;
}

MapTextBuilder::MapTextBuilder(const MapOptions& options, size_t room_count)
    : options_(options), remaining_(room_count), rewriter_(options.phrase) {}

void MapTextBuilder::add_line(std::string_view line, size_t passes) {
  out_ += rewriter_.rewrite(line, passes);
  out_ += kCrLf;
}

void MapTextBuilder::add_room(std::string_view entry, std::string_view text) {
  // This room's lines go through the rewrites after this room and after every later one.
  const size_t passes = remaining_ > 0 ? remaining_ : 1;
  if (remaining_ > 0) --remaining_;
  const RoomEntry room = split_room_entry(entry);
  add_line(map_header(room.number, room.description, options_.numbers_only), passes);
  for_each_line(text, [&](std::string_view line) { add_line(trim_blanks(line), passes); });
  for (size_t i = 0; i < kEmptyLinesAfterRoom; ++i) out_ += kCrLf;
}

std::string build_map_text(const Project& project, const std::vector<std::string>& entries,
                           const MapOptions& options) {
  MapTextBuilder builder(options, entries.size());
  for (const auto& entry : entries) {
    const std::string number = split_room_entry(entry).number;
    const bool plain = !number.empty() && number.find_first_of("/\\") == std::string::npos;
    builder.add_room(entry, plain ? project.read_text(number) : std::string());
  }
  return builder.take();
}

}  // namespace pm

// The adventure map text (see map_text.h).
#include "map/map_text.h"

#include "compiler/project_reader.h"
#include "project/text.h"
#include "rooms/room_list.h"

namespace pm {

namespace {
constexpr size_t kEmptyLinesAfterRoom = 5;
}

bool link_phrase_feeds_itself(std::string_view phrase) {
  return phrase.find('<') != std::string_view::npos && phrase.find('"') != std::string_view::npos;
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
  // The room texts are found after one scan of the project folder, as the compiles do.
  const ProjectReader reader(project);
  std::vector<std::string> numbers;
  numbers.reserve(entries.size());
  for (const auto& entry : entries) {
    std::string number = split_room_entry(entry).number;
    const bool plain = !number.empty() && number.find_first_of("/\\") == std::string::npos;
    numbers.push_back(plain ? std::move(number) : std::string());
  }
  // The map's size, estimated from the files' sizes so that it is allocated once: each
  // room's header (the entry and its frame), its text with room for line breaks and link
  // markers, and the empty lines after it. Too low an estimate costs only the growth.
  constexpr size_t kHeaderFrame = 48;
  size_t estimate = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    const size_t text = numbers[i].empty() ? 0 : reader.size(numbers[i]);
    estimate += kHeaderFrame + entries[i].size() + text + text / 8 + 2 * kEmptyLinesAfterRoom;
  }
  MapTextBuilder builder(options, entries.size());
  builder.reserve(estimate);
  std::string text;
  std::vector<std::string> unread;  // the map shows an unreadable text as an empty room
  for (size_t i = 0; i < entries.size(); ++i) {
    text.clear();
    if (!numbers[i].empty()) reader.read(numbers[i], text, unread);
    builder.add_room(entries[i], text);
  }
  return builder.take();
}

}  // namespace pm

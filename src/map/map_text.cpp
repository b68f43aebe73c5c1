// The adventure map text (see map_text.h).
#include "map/map_text.h"

#include "compiler/project_reader.h"
#include "compiler/read_ahead.h"
#include "project/open_folder.h"
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
  rewriter_.rewrite(line, passes, out_);
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

void MapTextBuilder::hand_on(const MapSink& sink, size_t at_least) {
  if (out_.empty() || out_.size() < at_least) return;
  sink(out_);
  out_.clear();
}

namespace {

// The map in pieces of about this size.
constexpr size_t kHandOn = 1 << 18;

// The map of rooms whose text files are `numbers` ("" for none) and whose list entries
// entry(i) gives, in that order. The texts are read on a second thread while this one
// builds the rooms before them.
template <typename Entry>
void write_map(const ProjectReader& reader, const std::vector<std::string>& numbers, Entry&& entry,
               const MapOptions& options, const MapSink& sink) {
  std::vector<ReadAhead::File> files;
  files.reserve(numbers.size());
  for (const auto& number : numbers) files.push_back(number.empty() ? ReadAhead::File{} : reader.ahead(number));
  ReadAhead texts(std::move(files));
  MapTextBuilder builder(options, numbers.size());
  for (size_t i = 0; i < numbers.size(); ++i) {
    // The map shows an unreadable text as an empty room.
    builder.add_room(entry(i), texts.next().bytes);
    texts.release();
    builder.hand_on(sink, kHandOn);
  }
  builder.hand_on(sink, 0);
}

}  // namespace

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
  std::string map;
  write_map(
      reader, numbers, [&](size_t i) -> std::string_view { return entries[i]; }, options,
      [&](std::string_view piece) { map += piece; });
  return map;
}

void write_project_map(const Project& project, const MapOptions& options, const MapSink& sink) {
  const ProjectReader reader(project);
  const std::vector<std::string> names = project.room_names();  // plain numbers: the text files' names
  // Each entry is made when its room is built: the descriptions are read on this thread
  // while the texts are read ahead on the other.
  const OpenFolder room_folder(project.room_folder());
  std::string entry, scratch;
  write_map(
      reader, names, [&](size_t i) -> std::string_view { return entry = read_room_entry(room_folder, names[i], scratch); },
      options, sink);
}

}  // namespace pm

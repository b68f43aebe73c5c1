// The adventure map text (see map_text.h).
#include "map/map_text.h"

#include <thread>

#include "project/project_reader.h"
#include "base/work_ahead.h"
#include "base/open_folder.h"
#include "base/text.h"
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
    : options_(options), room_count_(room_count), rewriter_(options.phrase) {}

size_t MapTextBuilder::passes_for(size_t room_count, size_t room) {
  // A room's lines go through the rewrites after this room and after every later one.
  return room < room_count ? room_count - room : 1;
}

void MapTextBuilder::append_lines(MapLineRewriter& rewriter, std::string_view text, size_t passes,
                                  std::string& out) {
  for_each_line(text, [&](std::string_view line) {
    rewriter.rewrite(trim_blanks(line), passes, out);
    out += kCrLf;
  });
}

void MapTextBuilder::add_room(std::string_view entry, std::string_view text) {
  add_header(entry);
  append_lines(rewriter_, text, passes_for(room_count_, added_), out_);
  end_room();
}

void MapTextBuilder::add_room_lines(std::string_view entry, std::string_view lines) {
  add_header(entry);
  out_ += lines;
  end_room();
}

void MapTextBuilder::add_header(std::string_view entry) {
  const RoomEntry room = split_room_entry(entry);
  rewriter_.rewrite(map_header(room.number, room.description, options_.numbers_only),
                    passes_for(room_count_, added_), out_);
  out_ += kCrLf;
}

void MapTextBuilder::end_room() {
  for (size_t i = 0; i < kEmptyLinesAfterRoom; ++i) out_ += kCrLf;
  ++added_;
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
// entry(i, made, scratch) gives, in that order (`made` and `scratch` are the room's own, for
// the entry to be made in). Each room's entry and text are read and its lines rewritten on
// whichever of two threads gets to it first, while this one writes the rooms before it.
template <typename Entry>
void write_map(const ProjectReader& reader, const std::vector<std::string>& numbers, Entry&& entry,
               const MapOptions& options, const MapSink& sink) {
  struct Room {
    std::string text, lines, entry_made, scratch;
    std::string_view entry;
    std::vector<std::string> unread;  // the map shows an unreadable text as an empty room
  };
  // A room is made on whichever thread gets to it first (see WorkAhead), so each thread
  // has a rewriter of its own: they keep working state.
  const std::thread::id user = std::this_thread::get_id();
  MapLineRewriter user_rewriter(options.phrase), worker_rewriter(options.phrase);
  WorkAhead<Room> ahead(numbers.size(), [&](size_t i, Room& room) {
    MapLineRewriter& rewriter = std::this_thread::get_id() == user ? user_rewriter : worker_rewriter;
    room.entry = entry(i, room.entry_made, room.scratch);
    room.text.clear();
    room.unread.clear();
    if (!numbers[i].empty()) reader.read(numbers[i], room.text, room.unread);
    room.lines.clear();
    MapTextBuilder::append_lines(rewriter, room.text, MapTextBuilder::passes_for(numbers.size(), i), room.lines);
  });
  MapTextBuilder builder(options, numbers.size());
  for (size_t i = 0; i < numbers.size(); ++i) {
    const Room& room = ahead.next();
    builder.add_room_lines(room.entry, room.lines);
    ahead.release();
    builder.hand_on(sink, kHandOn);
  }
  builder.hand_on(sink, 0);
}

}  // namespace

std::string build_map_text(const Project& project, const std::vector<std::string>& entries,
                           const MapOptions& options) {
  // The room texts are read through the open project folder; a name without letters (a
  // room number) is opened as it is, with no scan of the folder.
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
      reader, numbers, [&](size_t i, std::string&, std::string&) -> std::string_view { return entries[i]; }, options,
      [&](std::string_view piece) { map += piece; });
  return map;
}

void write_project_map(const Project& project, const std::vector<std::string>& names, const MapOptions& options,
                       const MapSink& sink) {
  const ProjectReader reader(project);
  // Each entry is made when its room is built, its description read beside its text. The
  // names are plain numbers: the text files' names.
  const OpenFolder room_folder(project.room_folder());
  write_map(
      reader, names,
      [&](size_t i, std::string& made, std::string& scratch) -> std::string_view {
        return made = read_room_entry(room_folder, names[i], scratch);
      },
      options, sink);
}

}  // namespace pm

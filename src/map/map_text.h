// The adventure map text: for every room a header, its trimmed lines and five empty lines,
// with the link syntax rewritten into readable markers naming the target room.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "map/map_rewrite.h"
#include "project/project.h"

namespace pm {

inline constexpr std::string_view kDefaultLinkPhrase = "Si collega alla Stanza";

struct MapOptions {
  bool numbers_only = false;                        // header "#N" instead of the framed title
  std::string phrase = std::string(kDefaultLinkPhrase);  // opens each link marker
};

// True when a link phrase holds both '<' and '"'. Each link becomes "(" + phrase + " " and
// the map rewrites its text once per later room, so such a phrase can spell the link's
// opening "<a href=\"" again and feed on itself: the map would grow without bound (doubling
// with every room for a phrase that holds the opening twice). Without one of the two
// characters every new opening uses up one from the room's own text, and the map stays
// linear.
bool link_phrase_feeds_itself(std::string_view phrase);

// The header line of a room, without its line end.
std::string map_header(std::string_view number, std::string_view description, bool numbers_only);

// Where the map goes, piece by piece, as it is built.
using MapSink = std::function<void(std::string_view)>;

// Builds the map room by room from texts in memory. `room_count` is the number of rooms
// that will be added: a room's lines are rewritten once for every room from it to the end.
class MapTextBuilder {
 public:
  MapTextBuilder(const MapOptions& options, size_t room_count);
  // `entry` is a room-list entry (" 3 | La cantina"); `text` the bytes of its text file.
  void add_room(std::string_view entry, std::string_view text);
  // The same with the room's lines made beforehand by append_lines.
  void add_room_lines(std::string_view entry, std::string_view lines);
  // Hands what has been built so far to `sink` once it is at least `at_least` bytes.
  void hand_on(const MapSink& sink, size_t at_least);
  std::string take() { return std::move(out_); }

  // How often the lines of room `room` (counted from 0) are rewritten in a map of
  // `room_count` rooms.
  static size_t passes_for(size_t room_count, size_t room);
  // A room's lines as the map shows them (trimmed, rewritten `passes` times, each with its
  // line end), appended to `out`; `rewriter` has the map's phrase. Another thread may make
  // them with its own rewriter while the builder adds earlier rooms.
  static void append_lines(MapLineRewriter& rewriter, std::string_view text, size_t passes, std::string& out);

 private:
  void add_header(std::string_view entry);
  void end_room();

  MapOptions options_;
  size_t room_count_;
  size_t added_ = 0;
  MapLineRewriter rewriter_;
  std::string out_;
};

// `entries` are room-list entries (" 3 | La cantina"). Linear in the size of the book and
// byte-identical to applying the four replacements over the whole text after every room.
std::string build_map_text(const Project& project, const std::vector<std::string>& entries,
                           const MapOptions& options);

// The map of every room of the project in the project manager's order, with the entries
// the list shows (build_room_list), written to `sink` in pieces as it is built: the same
// bytes as build_map_text, without holding the whole map. `names` are the project's room
// files (Project::room_names).
void write_project_map(const Project& project, const std::vector<std::string>& names, const MapOptions& options,
                       const MapSink& sink);

}  // namespace pm

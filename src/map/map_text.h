// The adventure map text: for every room a header, its trimmed lines and five empty lines,
// with the link syntax rewritten into readable markers naming the target room.
#pragma once

#include <string>
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

// Builds the map room by room from texts in memory. `room_count` is the number of rooms
// that will be added: a room's lines are rewritten once for every room from it to the end.
class MapTextBuilder {
 public:
  MapTextBuilder(const MapOptions& options, size_t room_count);
  // `entry` is a room-list entry (" 3 | La cantina"); `text` the bytes of its text file.
  void add_room(std::string_view entry, std::string_view text);
  // Room for `bytes` of map text, allocated once.
  void reserve(size_t bytes) { out_.reserve(bytes); }
  std::string take() { return std::move(out_); }

 private:
  void add_line(std::string_view line, size_t passes);

  MapOptions options_;
  size_t remaining_;
  MapLineRewriter rewriter_;
  std::string out_;
};

// `entries` are room-list entries (" 3 | La cantina"). Linear in the size of the book and
// byte-identical to applying the four replacements over the whole text after every room.
std::string build_map_text(const Project& project, const std::vector<std::string>& entries,
                           const MapOptions& options);

}  // namespace pm

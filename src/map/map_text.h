// The adventure map text: for every room a header, its trimmed lines and five empty lines,
// with the link syntax rewritten into readable markers naming the target room.
#pragma once

#include <string>
#include <vector>

#include "project/project.h"

namespace pm {

inline constexpr std::string_view kDefaultLinkPhrase = "Si collega alla Stanza";

struct MapOptions {
  bool numbers_only = false;                        // header "#N" instead of the framed title
  std::string phrase = std::string(kDefaultLinkPhrase);  // opens each link marker
};

// `entries` are room-list entries (" 3 | La cantina"). Linear in the size of the book and
// byte-identical to applying the four replacements over the whole text after every room.
std::string build_map_text(const Project& project, const std::vector<std::string>& entries,
                           const MapOptions& options);

}  // namespace pm

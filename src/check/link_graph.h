// The book's link graph: every listed room with its description, whether it has a text
// file and a page, whether it is an ending, and its roads; the arrows between rooms; the
// roads of the before-code and after-code, which every page carries; the files of res.
// Built in one pass over the project: one scan of the project folder, of Room and of res,
// and one read of every room text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "check/road_scan.h"
#include "project/project.h"

namespace pm {

struct GraphRoom {
  std::string name;         // the room number as listed ("12")
  std::string description;  // as the room list shows it
  bool has_text = false;    // the text file exists
  bool readable = true;     // false: the text file exists but could not be read
  bool has_page = false;    // the text gives a page (not deleted, not only <lang=html>)
  bool ending = false;      // FINE or VITTORIA in the description, or <!-- fine --> in the text
  std::vector<Road> roads;
};

// An arrow between two rooms that have pages; each (from, to, kind) once.
struct GraphEdge {
  uint32_t from = 0, to = 0;
  bool timed = false;  // a timed jump rather than a link
};

// One number for the arrow from `from` to `to`, timed or not, to tell arrows apart (room
// or node indices; unique while `from` is below 2^31).
inline uint64_t edge_key(uint32_t from, uint32_t to, bool timed) {
  return (uint64_t(from) << 33) | (uint64_t(to) << 1) | uint64_t(timed);
}

// Global.cod or Global2.cod: its roads belong to every page.
struct CodeFile {
  std::string name;  // as spelled on disk
  std::vector<Road> roads;
};

struct LinkGraph {
  std::vector<GraphRoom> rooms;               // in room-list order
  std::vector<GraphEdge> edges;
  std::vector<CodeFile> code;                 // the before-code and after-code files present
  std::vector<std::string> unlisted_texts;    // text files named by a number without a Room entry
  std::unordered_set<std::string> res_files;  // paths inside res, lower case, '/' separators

  // The listed room named `name` (any letter case).
  std::optional<uint32_t> find(std::string_view name) const;
  // True when `path` (inside res, as a road gives it) names a file of res in any case.
  bool has_resource(std::string_view path) const;

  std::unordered_map<std::string, uint32_t> index;  // lower-case name -> room
};

LinkGraph build_link_graph(const Project& project);

}  // namespace pm

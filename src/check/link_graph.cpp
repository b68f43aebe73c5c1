// The book's link graph in one pass over the project (see link_graph.h).
#include "check/link_graph.h"

#include <algorithm>

#include "compiler/page_renderer.h"
#include "project/project_reader.h"
#include "base/text.h"
#include "rooms/room_list.h"

namespace pm {

std::optional<uint32_t> LinkGraph::find(std::string_view name) const {
  auto it = index.find(to_lower_ascii(name));
  if (it == index.end()) return std::nullopt;
  return it->second;
}

bool LinkGraph::has_resource(std::string_view path) const {
  std::string key = to_lower_ascii(path);
  std::replace(key.begin(), key.end(), '\\', '/');
  return res_files.count(key) > 0;
}

namespace {

// Every file below res, by its path inside res in lower case: one walk of the folder.
void index_resources(const Project& project, std::unordered_set<std::string>& out) {
  auto res = find_entry(project.folder(), "res");
  if (!res || !is_folder(*res)) return;
  std::error_code ec;
  for (stdfs::recursive_directory_iterator it(*res, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code type_ec;
    if (it->is_regular_file(type_ec)) out.insert(to_lower_ascii(it->path().lexically_relative(*res).generic_string()));
  }
}

void add_edges(LinkGraph& g) {
  std::unordered_set<uint64_t> seen;
  for (uint32_t from = 0; from < g.rooms.size(); ++from) {
    if (!g.rooms[from].has_page) continue;
    for (const Road& road : g.rooms[from].roads) {
      // The arrow of a back link leads back, not to its own room: it is no arrow of the map.
      if ((road.kind != RoadKind::Link && road.kind != RoadKind::TimedJump) || road.back_arrow) continue;
      auto to = g.find(road.target);
      if (!to || !g.rooms[*to].has_page) continue;
      const bool timed = road.kind == RoadKind::TimedJump;
      if (seen.insert(edge_key(from, *to, timed)).second)
        g.edges.push_back(GraphEdge{from, *to, timed});
    }
  }
}

}  // namespace

LinkGraph build_link_graph(const Project& project) {
  LinkGraph g;
  const ProjectReader reader(project);
  const std::vector<std::string> entries = build_room_list(project);
  g.rooms.reserve(entries.size());
  std::string text;
  std::vector<std::string> errors;
  for (const auto& entry : entries) {
    RoomEntry listed = split_room_entry(entry);
    GraphRoom room;
    room.name = std::move(listed.number);
    room.description = std::move(listed.description);
    room.has_text = reader.find(room.name).has_value();
    errors.clear();
    reader.read(room.name, text, errors);
    room.readable = errors.empty();
    room.has_page = writes_page(text);
    room.ending = description_marks_ending(room.description) || has_ending_comment(text);
    if (room.has_page) scan_roads(text, room.roads);
    g.index.emplace(to_lower_ascii(room.name), uint32_t(g.rooms.size()));
    g.rooms.push_back(std::move(room));
  }
  for (std::string_view name : {"Global.cod", "Global2.cod"}) {
    auto path = reader.find(name);
    if (!path) continue;
    CodeFile code{path_text(path->filename()), {}};
    reader.read(name, text, errors);
    scan_roads(text, code.roads);
    g.code.push_back(std::move(code));
  }
  for (const auto& name : reader.names())
    if (is_digits(name) && !g.index.count(name)) g.unlisted_texts.push_back(name);
  std::sort(g.unlisted_texts.begin(), g.unlisted_texts.end(), room_name_less);
  index_resources(project, g.res_files);
  add_edges(g);
  return g;
}

}  // namespace pm

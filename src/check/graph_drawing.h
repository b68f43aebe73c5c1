// What the graph map shows, before any layout: one node per room with a page, labelled
// "N · description", marked as the start, an ending, a room with errors or an unreachable
// room; one arrow per link, dashed for timed jumps. And its text in Graphviz's language.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/book_check.h"
#include "check/link_graph.h"

namespace pm {

struct DrawnNode {
  std::string name;   // room number
  std::string label;  // "N · description", UTF-8
  bool start = false, ending = false, error = false, unreachable = false;
};

struct DrawnEdge {
  uint32_t from = 0, to = 0;  // indices into GraphDrawing::nodes
  bool timed = false;
};

struct GraphDrawing {
  std::vector<DrawnNode> nodes;
  std::vector<DrawnEdge> edges;
};

// How a node looks, the same in Graphviz's pictures and in the window: colours as "#rrggbb".
// Blue and thick for the start, a double frame and gold for endings, red for errors, grey
// for rooms no road reaches; errors win over the rest.
struct NodeLook {
  std::string_view stroke, fill, text;
  double pen_width = 1;
  int frames = 1;  // 2: a double frame
};
NodeLook node_look(const DrawnNode& node);
inline constexpr std::string_view kArrowColour = "#404040";  // timed jumps are dashed

// Rooms without a page (deleted, or only <lang=html>) are no nodes: nothing leads there.
GraphDrawing make_graph_drawing(const LinkGraph& graph, const CheckResult& check);

// The layout engine for a graph of this size. "dot" (layered from room 0 down, curved
// arrows) reads best, but its time grows steeply with the crossings: on books whose links
// go everywhere it takes seconds at 150 rooms and minutes at 400 (bench/RESULTS.md). So it
// lays out small books only, and "sfdp" (force-directed, straight arrows) the rest.
inline constexpr size_t kLayeredLayoutLimit = 100;
// Above this many nodes sfdp stops separating overlapping boxes one by one (prism) and
// spreads the whole picture instead (scale), which costs little.
inline constexpr size_t kCarefulOverlapLimit = 2000;
// Above this many nodes the map is not drawn at all: even sfdp would take too long.
inline constexpr size_t kGraphNodeLimit = 20000;
std::string layout_engine_for(const GraphDrawing& drawing);

// The drawing in Graphviz's language (UTF-8), with the attributes of `engine`.
std::string graph_dot_text(const GraphDrawing& drawing, const std::string& engine);

}  // namespace pm

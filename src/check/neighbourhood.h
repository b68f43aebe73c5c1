// The neighbourhood of a room on the graph map: the rooms within a few arrows of it, forwards
// (where it leads) and backwards (what leads to it), as a drawing of their own, laid out at
// once without Graphviz in columns by distance: the rooms that lead to it on the left, the
// room in the middle, the rooms it leads to on the right. Linear in the size of the book, so
// a book of any size shows a neighbourhood in a moment.
#pragma once

#include <cstdint>
#include <vector>

#include "check/graph_drawing.h"
#include "check/graph_layout.h"

namespace pm {

inline constexpr int kMinNeighbourhood = 1, kMaxNeighbourhood = 5;
// At most this many rooms are shown, the nearest first; a neighbourhood with more is cut.
inline constexpr size_t kNeighbourhoodRoomLimit = 1500;
// A book with more rooms than this opens its graph map on the neighbourhood of room 0:
// the whole book's layout takes long and is started only when asked for.
inline constexpr size_t kWholeBookAtOpenLimit = 1000;

struct Neighbourhood {
  GraphDrawing drawing;          // the rooms shown and the arrows between them
  std::vector<uint32_t> whole;   // for each node of `drawing`, its node in the whole drawing
  std::vector<int> distance;     // for each node: arrows from the centre, negative backwards
  uint32_t centre = 0;           // the chosen room's node in `drawing`
  bool cut = false;              // more rooms were near than kNeighbourhoodRoomLimit
  GraphLayout layout;            // positions and arrows, as a Graphviz layout gives them
};

// The rooms within `distance` (clamped to 1..5) arrows of node `centre` of `whole`, laid out.
Neighbourhood make_neighbourhood(const GraphDrawing& whole, uint32_t centre, int distance);

}  // namespace pm

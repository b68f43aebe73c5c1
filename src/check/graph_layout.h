// The laid-out graph map that a window draws (node boxes and arrow curves, in a plain
// struct), the outcome of a layout that may be refused or cancelled, the reading of
// Graphviz's "plain" output into it, and its text form for handing it between processes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "check/graph_drawing.h"

namespace pm {

// Coordinates are in points (1/72 inch), origin at the top left, y growing downwards, as a
// graphics scene draws them.
struct Point {
  double x = 0, y = 0;
};

struct NodeBox {
  uint32_t node = 0;  // index into GraphDrawing::nodes
  Point center;
  double width = 0, height = 0;
};

struct EdgeCurve {
  uint32_t edge = 0;  // index into GraphDrawing::edges
  // A cubic Bezier path: the first point, then three points per segment. The arrow head
  // goes at the last point, pointing away from the one before it.
  std::vector<Point> points;
};

struct GraphLayout {
  std::string engine;
  double width = 0, height = 0;
  std::vector<NodeBox> nodes;
  std::vector<EdgeCurve> edges;
};

enum class LayoutOutcome { Done, TooLarge, Cancelled, Failed };

struct LayoutResult {
  LayoutOutcome outcome = LayoutOutcome::Failed;
  GraphLayout layout;
  std::string message;     // when not Done: for the terminal, in English
  std::string message_it;  // when not Done: for the window, in Italian (UTF-8)
};

// The results of a layout that was not done, with both messages: too large for a drawing
// of `nodes` rooms; failed (`why_it` follows "Impossibile disegnare il grafo: "); cancelled.
LayoutResult too_large_result(size_t nodes);
LayoutResult failed_layout_result(const std::string& why, const std::string& why_it);
LayoutResult cancelled_layout_result();

// Reads Graphviz's "plain" output of `drawing`'s DOT text into a layout. False when the
// text is not what Graphviz writes.
bool read_plain_layout(std::string_view plain, const GraphDrawing& drawing, GraphLayout& out);

// A layout as text and back, to hand it from one process to another.
std::string serialize_layout(const LayoutResult& result);
bool deserialize_layout(std::string_view text, LayoutResult& out);

}  // namespace pm

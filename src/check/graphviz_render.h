// The graph map laid out by Graphviz (the gvc and cgraph libraries): as positions and curves
// for a window to draw, or as a finished SVG or PNG picture. Graphviz keeps global state, so
// one call runs at a time in a process (a lock serialises them); a layout itself cannot be
// interrupted, which is why the window runs it in a child process (graphviz_layout_job.h).
#pragma once

#include <atomic>
#include <string>

#include "check/graph_drawing.h"
#include "check/graph_layout.h"

namespace pm {

// Lays out `drawing` with the engine its size calls for. `cancel`, when given, is looked at
// between the phases (reading the graph, the layout, reading the positions back): once it
// is set the call ends with Cancelled at the next of them. A drawing above kGraphNodeLimit
// is refused as TooLarge without being tried.
LayoutResult layout_graph(const GraphDrawing& drawing, const std::atomic<bool>* cancel = nullptr);

// The drawing as a picture in `format` ("svg" or "png"). False with `error` set when
// Graphviz fails or the drawing is too large.
bool render_graph(const GraphDrawing& drawing, const std::string& format, std::string& out, std::string& error);

}  // namespace pm

// The graph layout in a build made without Graphviz (a cross build for Windows, where the
// distribution has no Graphviz for the compiler): every layout and picture fails with a
// message saying so, and the rest of the book check works as everywhere.
#include "check/graphviz_render.h"

namespace pm {

namespace {
const char* const kWhy = "this build of the program has no graph layout (built without Graphviz)";
const char* const kWhyIt = "questa versione del programma non sa disegnare il grafo (manca Graphviz)";
}  // namespace

LayoutResult layout_graph(const GraphDrawing&, const std::atomic<bool>*) { return failed_layout_result(kWhy, kWhyIt); }

bool render_graph(const GraphDrawing&, const std::string&, std::string&, std::string& error) {
  error = kWhy;
  return false;
}

}  // namespace pm

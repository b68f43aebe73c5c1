// The graph map before layout and its text in Graphviz's language (see graph_drawing.h).
#include "check/graph_drawing.h"

#include "project/text_codec.h"

namespace pm {

GraphDrawing make_graph_drawing(const LinkGraph& graph, const CheckResult& check) {
  GraphDrawing d;
  std::vector<uint32_t> node_of(graph.rooms.size(), UINT32_MAX);
  for (uint32_t i = 0; i < graph.rooms.size(); ++i) {
    const GraphRoom& room = graph.rooms[i];
    if (!room.has_page) continue;
    DrawnNode node;
    node.room = i;
    node.name = decode_for_display(room.name);
    node.label = node.name;
    if (!room.description.empty()) node.label += " \xC2\xB7 " + decode_for_display(room.description);
    node.start = room.name == "0";
    node.ending = room.ending;
    if (i < check.rooms.size()) {
      node.error = check.rooms[i].error;
      node.unreachable = !check.rooms[i].reachable;
    }
    node_of[i] = uint32_t(d.nodes.size());
    d.nodes.push_back(std::move(node));
  }
  d.edges.reserve(graph.edges.size());
  for (const auto& e : graph.edges) d.edges.push_back(DrawnEdge{node_of[e.from], node_of[e.to], e.timed});
  return d;
}

std::string layout_engine_for(const GraphDrawing& drawing) {
  return drawing.nodes.size() > kLayeredLayoutLimit ? "sfdp" : "dot";
}

namespace {

// A DOT string literal: quotes and backslashes escaped, line ends as blanks.
void append_quoted(std::string& out, std::string_view s) {
  out += '"';
  for (char c : s) {
    if (c == '"' || c == '\\') out += '\\';
    out += (c == '\r' || c == '\n') ? ' ' : c;
  }
  out += '"';
}

// The look of a node: blue and thick for the start, a double frame and gold for endings,
// red for errors, grey for rooms no road reaches.
std::string_view node_style(const DrawnNode& n) {
  if (n.error) return ", color=\"#c00000\", fontcolor=\"#c00000\", fillcolor=\"#ffe0e0\", penwidth=2";
  if (n.unreachable) return ", color=\"#a0a0a0\", fontcolor=\"#808080\", fillcolor=\"#e8e8e8\"";
  if (n.start) return ", color=\"#1f5fbf\", fillcolor=\"#d6e6ff\", penwidth=2.5";
  if (n.ending) return ", peripheries=2, fillcolor=\"#fff0b0\"";
  return "";
}

}  // namespace

std::string graph_dot_text(const GraphDrawing& d, const std::string& engine) {
  std::string out;
  out.reserve(128 + d.nodes.size() * 64 + d.edges.size() * 24);
  out += "digraph libro {\n  graph [charset=\"UTF-8\"";
  if (engine == "dot") {
    // Fewer rounds of crossing reduction and ranking than dot's own defaults: the
    // difference hardly shows on a small book and bounds the time on a tangled one.
    out += ", rankdir=TB, nodesep=0.3, ranksep=0.45, mclimit=0.05, nslimit=1, nslimit1=1, searchsize=5";
  } else {
    out += d.nodes.size() > kCarefulOverlapLimit ? ", overlap=scale" : ", overlap=prism";
    out += ", splines=false, outputorder=edgesfirst";
  }
  out += "];\n";
  out += "  node [shape=box, style=\"rounded,filled\", fillcolor=\"#fffdf5\", color=\"#505050\", "
         "fontname=\"DejaVu Sans\", fontsize=10];\n";
  out += "  edge [color=\"#404040\", arrowsize=0.7];\n";
  for (size_t i = 0; i < d.nodes.size(); ++i) {
    const DrawnNode& n = d.nodes[i];
    out += "  n" + std::to_string(i) + " [label=";
    append_quoted(out, n.label);
    out += node_style(n);
    out += "];\n";
  }
  for (const auto& e : d.edges) {
    out += "  n" + std::to_string(e.from) + " -> n" + std::to_string(e.to);
    out += e.timed ? " [style=dashed];\n" : ";\n";
  }
  out += "}\n";
  return out;
}

}  // namespace pm

// The graph map before layout and its text in Graphviz's language (see graph_drawing.h).
#include "check/graph_drawing.h"

#include <cstdio>

#include "base/text_codec.h"

namespace pm {

GraphDrawing make_graph_drawing(const LinkGraph& graph, const CheckResult& check) {
  GraphDrawing d;
  std::vector<uint32_t> node_of(graph.rooms.size(), UINT32_MAX);
  for (uint32_t i = 0; i < graph.rooms.size(); ++i) {
    const GraphRoom& room = graph.rooms[i];
    if (!room.has_page) continue;
    DrawnNode node;
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

NodeLook node_look(const DrawnNode& n) {
  if (n.error) return {"#c00000", "#ffe0e0", "#c00000", 2, 1};
  if (n.unreachable) return {"#a0a0a0", "#e8e8e8", "#808080", 1, 1};
  if (n.start) return {"#1f5fbf", "#d6e6ff", "#000000", 2.5, 1};
  if (n.ending) return {"#505050", "#fff0b0", "#000000", 1, 2};
  return {"#505050", "#fffdf5", "#000000", 1, 1};
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

void append_attribute(std::string& out, std::string_view name, std::string_view value) {
  out += ", ";
  out += name;
  out += "=\"";
  out += value;
  out += '"';
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
  out += "  node [shape=box, style=\"rounded,filled\", fontname=\"DejaVu Sans\", fontsize=10];\n";
  out += "  edge [color=\"" + std::string(kArrowColour) + "\", arrowsize=0.7];\n";
  for (size_t i = 0; i < d.nodes.size(); ++i) {
    const DrawnNode& n = d.nodes[i];
    out += "  n" + std::to_string(i) + " [label=";
    append_quoted(out, n.label);
    const NodeLook look = node_look(n);
    append_attribute(out, "color", look.stroke);
    append_attribute(out, "fillcolor", look.fill);
    append_attribute(out, "fontcolor", look.text);
    if (look.pen_width != 1) {
      char pen[16];
      std::snprintf(pen, sizeof pen, "%g", look.pen_width);
      append_attribute(out, "penwidth", pen);
    }
    if (look.frames != 1) append_attribute(out, "peripheries", std::to_string(look.frames));
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

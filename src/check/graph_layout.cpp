// The laid-out graph map, read from Graphviz's plain output and handed between processes
// as text (see graph_layout.h).
#include "check/graph_layout.h"

#include <charconv>
#include <unordered_map>

namespace pm {

LayoutResult too_large_result(size_t nodes) {
  LayoutResult r;
  r.outcome = LayoutOutcome::TooLarge;
  const std::string n = std::to_string(nodes);
  r.message = "the book is too large to lay out its graph in time (" + n + " rooms)";
  r.message_it = "Il libro \xC3\xA8 troppo grande per disegnarne il grafo in tempo (" + n + " stanze).";
  return r;
}

LayoutResult failed_layout_result(const std::string& why, const std::string& why_it) {
  LayoutResult r;
  r.outcome = LayoutOutcome::Failed;
  r.message = why;
  r.message_it = "Impossibile disegnare il grafo: " + why_it;
  return r;
}

LayoutResult cancelled_layout_result() {
  LayoutResult r;
  r.outcome = LayoutOutcome::Cancelled;
  r.message = "cancelled";
  r.message_it = "Disegno del grafo annullato.";
  return r;
}

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr std::string_view kMagic = "pagimond-layout 1";

// Splits a line at blanks; a token that opens with a double quote runs to its closing one.
std::vector<std::string_view> tokens(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    if (i >= line.size()) break;
    size_t j = i;
    if (line[i] == '"') {
      for (++j; j < line.size() && line[j] != '"'; ++j)
        if (line[j] == '\\') ++j;
      j = std::min(j + 1, line.size());
    } else {
      while (j < line.size() && line[j] != ' ') ++j;
    }
    out.push_back(line.substr(i, j - i));
    i = j;
  }
  return out;
}

bool number(std::string_view s, double& v) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

bool number(std::string_view s, uint32_t& v) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  return r.ec == std::errc() && r.ptr == s.data() + s.size();
}

// "n12" -> 12
bool node_id(std::string_view s, uint32_t& v) { return s.size() > 1 && s[0] == 'n' && number(s.substr(1), v); }

template <typename F>
void each_line(std::string_view text, F&& f) {
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (!f(line)) return;
    start = end + 1;
  }
}

void append_number(std::string& out, double v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  out.append(buf, r.ptr);
}

std::string one_line(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

}  // namespace

bool read_plain_layout(std::string_view plain, const GraphDrawing& drawing, GraphLayout& out) {
  std::unordered_map<uint64_t, uint32_t> edge_of;
  edge_of.reserve(drawing.edges.size());
  for (uint32_t i = 0; i < drawing.edges.size(); ++i) {
    const auto& e = drawing.edges[i];
    edge_of.emplace(edge_key(e.from, e.to, e.timed), i);
  }
  out.nodes.clear();
  out.edges.clear();
  out.nodes.reserve(drawing.nodes.size());
  out.edges.reserve(drawing.edges.size());
  double height = 0;
  bool ok = true, seen_graph = false;
  auto y_down = [&](double y_up) { return (height - y_up) * kPointsPerInch; };
  each_line(plain, [&](std::string_view line) {
    const auto t = tokens(line);
    if (t.empty()) return true;
    if (t[0] == "graph" && t.size() >= 4) {
      double scale = 0, w = 0;
      ok = number(t[1], scale) && number(t[2], w) && number(t[3], height);
      out.width = w * kPointsPerInch;
      out.height = height * kPointsPerInch;
      seen_graph = true;
    } else if (t[0] == "node" && t.size() >= 6) {
      NodeBox box;
      double x = 0, y = 0;
      ok = seen_graph && node_id(t[1], box.node) && box.node < drawing.nodes.size() && number(t[2], x) &&
           number(t[3], y) && number(t[4], box.width) && number(t[5], box.height);
      box.center = {x * kPointsPerInch, y_down(y)};
      box.width *= kPointsPerInch;
      box.height *= kPointsPerInch;
      out.nodes.push_back(box);
    } else if (t[0] == "edge" && t.size() >= 4) {
      uint32_t from = 0, to = 0, n = 0;
      ok = seen_graph && node_id(t[1], from) && node_id(t[2], to) && number(t[3], n) && t.size() >= 4 + 2 * size_t(n);
      if (!ok) return false;
      EdgeCurve curve;
      curve.points.resize(n);
      for (uint32_t i = 0; ok && i < n; ++i) {
        double x = 0, y = 0;
        ok = number(t[4 + 2 * i], x) && number(t[5 + 2 * i], y);
        curve.points[i] = {x * kPointsPerInch, y_down(y)};
      }
      const bool timed = t.size() > 4 + 2 * size_t(n) && t[4 + 2 * n] == "dashed";
      auto it = edge_of.find(edge_key(from, to, timed));
      if (it == edge_of.end()) return ok;  // no such arrow in the drawing: leave it out
      curve.edge = it->second;
      out.edges.push_back(std::move(curve));
    } else if (t[0] == "stop") {
      return false;
    }
    return ok;
  });
  return ok && seen_graph && out.nodes.size() == drawing.nodes.size();
}

std::string serialize_layout(const LayoutResult& r) {
  const GraphLayout& l = r.layout;
  std::string out;
  out.reserve(64 + l.nodes.size() * 48 + l.edges.size() * 120);
  out += kMagic;
  out += "\noutcome " + std::to_string(int(r.outcome));
  out += "\nmessage " + one_line(r.message);
  out += "\nmessage_it " + one_line(r.message_it);
  out += "\nengine " + one_line(l.engine);
  out += "\nsize ";
  append_number(out, l.width);
  out += ' ';
  append_number(out, l.height);
  out += "\nnodes " + std::to_string(l.nodes.size()) + '\n';
  for (const auto& n : l.nodes) {
    out += std::to_string(n.node);
    for (double v : {n.center.x, n.center.y, n.width, n.height}) {
      out += ' ';
      append_number(out, v);
    }
    out += '\n';
  }
  out += "edges " + std::to_string(l.edges.size()) + '\n';
  for (const auto& e : l.edges) {
    out += std::to_string(e.edge) + ' ' + std::to_string(e.points.size());
    for (const auto& p : e.points) {
      out += ' ';
      append_number(out, p.x);
      out += ' ';
      append_number(out, p.y);
    }
    out += '\n';
  }
  out += "end\n";
  return out;
}

bool deserialize_layout(std::string_view text, LayoutResult& r) {
  r = LayoutResult{};
  GraphLayout& l = r.layout;
  enum class Part { Magic, Head, Nodes, Edges, End } part = Part::Magic;
  size_t left = 0;
  bool ok = true, done = false;
  each_line(text, [&](std::string_view line) {
    auto rest = [&](std::string_view key) { return line.substr(std::min(line.size(), key.size() + 1)); };
    if (part == Part::Magic) {
      ok = line == kMagic;
      part = Part::Head;
    } else if (part == Part::Head) {
      const auto t = tokens(line);
      if (t.empty()) return ok = false;
      uint32_t v = 0;
      if (t[0] == "outcome") {
        ok = t.size() == 2 && number(t[1], v) && v <= uint32_t(LayoutOutcome::Failed);
        r.outcome = LayoutOutcome(v);
      } else if (t[0] == "message") {
        r.message = std::string(rest("message"));
      } else if (t[0] == "message_it") {
        r.message_it = std::string(rest("message_it"));
      } else if (t[0] == "engine") {
        l.engine = std::string(rest("engine"));
      } else if (t[0] == "size") {
        ok = t.size() == 3 && number(t[1], l.width) && number(t[2], l.height);
      } else if (t[0] == "nodes") {
        ok = t.size() == 2 && number(t[1], v);
        left = v;
        l.nodes.reserve(left);
        part = left ? Part::Nodes : Part::Edges;
      } else {
        ok = false;
      }
    } else if (part == Part::Nodes) {
      const auto t = tokens(line);
      NodeBox n;
      ok = t.size() == 5 && number(t[0], n.node) && number(t[1], n.center.x) && number(t[2], n.center.y) &&
           number(t[3], n.width) && number(t[4], n.height);
      l.nodes.push_back(n);
      if (--left == 0) part = Part::Edges;
    } else if (part == Part::Edges && left == 0 && line.substr(0, 6) == "edges ") {
      uint32_t v = 0;
      ok = number(line.substr(6), v);
      left = v;
      l.edges.reserve(left);
      if (!left) part = Part::End;
    } else if (part == Part::Edges && left > 0) {
      const auto t = tokens(line);
      EdgeCurve e;
      uint32_t n = 0;
      ok = t.size() >= 2 && number(t[0], e.edge) && number(t[1], n) && t.size() == 2 + 2 * size_t(n);
      for (uint32_t i = 0; ok && i < n; ++i) {
        Point p;
        ok = number(t[2 + 2 * i], p.x) && number(t[3 + 2 * i], p.y);
        e.points.push_back(p);
      }
      l.edges.push_back(std::move(e));
      if (--left == 0) part = Part::End;
    } else if (part == Part::End) {
      ok = done = line == "end";
      return false;
    } else {
      ok = false;
    }
    return ok;
  });
  return ok && done;
}

}  // namespace pm

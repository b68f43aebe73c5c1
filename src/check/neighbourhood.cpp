// The neighbourhood of a room, found and laid out in columns (see neighbourhood.h).
#include "check/neighbourhood.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace pm {

namespace {

constexpr uint32_t kNone = UINT32_MAX;
constexpr double kBoxWidth = 150, kBoxHeight = 26, kColumnGap = 70, kRowGap = 14;

// The arrows of the whole drawing by room, one way or the other.
struct Adjacency {
  std::vector<uint32_t> first, to;
  Adjacency(const GraphDrawing& d, bool forwards) : first(d.nodes.size() + 1, 0), to(d.edges.size()) {
    for (const auto& e : d.edges) ++first[(forwards ? e.from : e.to) + 1];
    for (size_t i = 0; i + 1 < first.size(); ++i) first[i + 1] += first[i];
    std::vector<uint32_t> fill(first.begin(), first.end() - 1);
    for (const auto& e : d.edges) to[fill[forwards ? e.from : e.to]++] = forwards ? e.to : e.from;
  }
};

Point at(double x, double y) { return Point{x, y}; }

// The arrow from box `a` to box `b`: left to right between columns, a bow to the right
// within one column, and below the straight way when it goes back to the left.
EdgeCurve curve(uint32_t edge, const NodeBox& a, const NodeBox& b) {
  const double half = kBoxWidth / 2;
  EdgeCurve c;
  c.edge = edge;
  if (b.center.x > a.center.x + 1) {
    const Point p0 = at(a.center.x + half, a.center.y), p3 = at(b.center.x - half, b.center.y);
    const double dx = (p3.x - p0.x) / 2;
    c.points = {p0, at(p0.x + dx, p0.y), at(p3.x - dx, p3.y), p3};
  } else if (b.center.x < a.center.x - 1) {
    const Point p0 = at(a.center.x - half, a.center.y + 6), p3 = at(b.center.x + half, b.center.y + 6);
    const double dx = (p0.x - p3.x) / 2;
    c.points = {p0, at(p0.x - dx, p0.y + 28), at(p3.x + dx, p3.y + 28), p3};
  } else {
    const double bow = 30 + std::min(60.0, std::abs(b.center.y - a.center.y) / 6);
    const Point p0 = at(a.center.x + half, a.center.y), p3 = at(b.center.x + half, b.center.y);
    c.points = {p0, at(p0.x + bow, p0.y), at(p3.x + bow, p3.y), p3};
  }
  return c;
}

}  // namespace

Neighbourhood make_neighbourhood(const GraphDrawing& whole, uint32_t centre, int distance) {
  Neighbourhood n;
  if (centre >= whole.nodes.size()) return n;
  distance = std::clamp(distance, kMinNeighbourhood, kMaxNeighbourhood);
  const Adjacency out(whole, true), in(whole, false);

  // Breadth first both ways at once, a step of each per distance, so that a cut keeps the
  // nearest rooms on either side. A room both before and after the centre stays where it
  // was found first: after it when it is as near both ways.
  std::unordered_map<uint32_t, uint32_t> shown;  // whole node -> node of the neighbourhood
  auto add = [&](uint32_t node, int d) {
    if (shown.count(node)) return false;
    if (n.whole.size() >= kNeighbourhoodRoomLimit) {
      n.cut = true;
      return false;
    }
    shown.emplace(node, uint32_t(n.whole.size()));
    n.whole.push_back(node);
    n.distance.push_back(d);
    return true;
  };
  add(centre, 0);
  std::vector<uint32_t> ahead{centre}, behind{centre}, next;
  for (int d = 1; d <= distance; ++d) {
    for (auto* side : {&ahead, &behind}) {
      const Adjacency& arrows = side == &ahead ? out : in;
      next.clear();
      for (uint32_t v : *side)
        for (uint32_t i = arrows.first[v]; i < arrows.first[v + 1]; ++i)
          if (add(arrows.to[i], side == &ahead ? d : -d)) next.push_back(arrows.to[i]);
      side->swap(next);
    }
  }

  for (uint32_t node : n.whole) n.drawing.nodes.push_back(whole.nodes[node]);
  for (uint32_t i = 0; i < whole.edges.size(); ++i) {
    const auto& e = whole.edges[i];
    auto a = shown.find(e.from), b = shown.find(e.to);
    if (a == shown.end() || b == shown.end()) continue;
    n.drawing.edges.push_back(DrawnEdge{a->second, b->second, e.timed});
  }

  // Columns by distance, each room below the one found before it, each column centred.
  std::vector<size_t> in_column(2 * size_t(distance) + 1, 0), row(n.whole.size());
  for (size_t i = 0; i < n.whole.size(); ++i) row[i] = in_column[size_t(n.distance[i] + distance)]++;
  GraphLayout& l = n.layout;
  l.engine = "columns";
  const double pitch = kBoxHeight + kRowGap;
  size_t tallest = *std::max_element(in_column.begin(), in_column.end());
  for (uint32_t i = 0; i < n.whole.size(); ++i) {
    const size_t rows = in_column[size_t(n.distance[i] + distance)];
    const double x = kBoxWidth / 2 + 20 + double(n.distance[i] + distance) * (kBoxWidth + kColumnGap);
    const double y = 20 + kBoxHeight / 2 + (double(tallest - rows) / 2 + double(row[i])) * pitch;
    l.nodes.push_back(NodeBox{i, at(x, y), kBoxWidth, kBoxHeight});
  }
  for (uint32_t i = 0; i < n.drawing.edges.size(); ++i) {
    const DrawnEdge& e = n.drawing.edges[i];
    if (e.from == e.to) continue;  // a room's link to itself: no arrow on the map
    l.edges.push_back(curve(i, l.nodes[e.from], l.nodes[e.to]));
  }
  l.width = 40 + double(in_column.size()) * (kBoxWidth + kColumnGap);
  l.height = 40 + double(tallest) * pitch;
  return n;
}

}  // namespace pm

// The graph map: nodes and arrows drawn from the sample book, its DOT text, the layout by
// Graphviz read back into positions, handed between processes, and the layout job that
// can be cancelled or run out of time; the neighbourhood of a room laid out in columns.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "check/graph_drawing.h"
#include "check/graph_layout.h"
#include "check/graphviz_layout_job.h"
#include "check/graphviz_render.h"
#include "check/neighbourhood.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

pm::GraphDrawing sample_drawing() {
  const fs::path sample = fs::path(PAGIMOND_SOURCE_DIR) / "app" / "Projects" / "Il Ponte sul Fiume";
  auto graph = pm::build_link_graph(pm::Project(sample, "Il Ponte sul Fiume"));
  return pm::make_graph_drawing(graph, pm::check_book(graph));
}

size_t count(const std::string& s, const std::string& what) {
  size_t n = 0;
  for (size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
  return n;
}

TEST(GraphMap, TheSampleBookDrawsOneNodePerRoomWithItsMarks) {
  auto d = sample_drawing();
  ASSERT_EQ(d.nodes.size(), 14u);
  EXPECT_EQ(d.nodes[0].label, "0 \xC2\xB7 Luogo di partenza");
  EXPECT_TRUE(d.nodes[0].start);
  size_t endings = 0, timed = 0;
  for (const auto& n : d.nodes) endings += n.ending;
  for (const auto& e : d.edges) timed += e.timed;
  EXPECT_EQ(endings, 2u);  // FINE and VITTORIA
  EXPECT_EQ(timed, 1u);    // the boat's current
  const std::string dot = pm::graph_dot_text(d, "dot");
  EXPECT_EQ(count(dot, "[label="), 14u);
  EXPECT_EQ(count(dot, " -> "), d.edges.size());
  EXPECT_EQ(count(dot, "style=dashed"), 1u);
}

TEST(GraphMap, DotLabelsEscapeQuotesAndBackslashes) {
  pm::GraphDrawing d;
  d.nodes.push_back({"1", "1 \xC2\xB7 Il \"drago\" \\ la torre\r\n", false, false, true, true});
  const std::string dot = pm::graph_dot_text(d, "sfdp");
  EXPECT_NE(dot.find("n0 [label=\"1 \xC2\xB7 Il \\\"drago\\\" \\\\ la torre  \", color=\"#c00000\", "
                     "fillcolor=\"#ffe0e0\", fontcolor=\"#c00000\", penwidth=\"2\"];"),
            std::string::npos)
      << dot;
  EXPECT_NE(dot.find("splines=false"), std::string::npos);
}

TEST(GraphMap, GraphvizLaysOutEveryNodeInsideThePictureAndTheLayoutCrossesProcesses) {
#if !defined(PAGIMOND_HAVE_GRAPHVIZ)
  GTEST_SKIP() << "built without Graphviz";
#endif
  auto d = sample_drawing();
  auto r = pm::layout_graph(d);
  ASSERT_EQ(r.outcome, pm::LayoutOutcome::Done) << r.message;
  EXPECT_EQ(r.layout.engine, "dot");
  ASSERT_EQ(r.layout.nodes.size(), d.nodes.size());
  ASSERT_EQ(r.layout.edges.size(), d.edges.size());
  for (const auto& n : r.layout.nodes) {
    EXPECT_GT(n.width, 0);
    EXPECT_GE(n.center.x - n.width / 2, -1);
    EXPECT_LE(n.center.x + n.width / 2, r.layout.width + 1);
    EXPECT_GE(n.center.y - n.height / 2, -1);
    EXPECT_LE(n.center.y + n.height / 2, r.layout.height + 1);
  }
  // Room 0 is on top: the layered layout ranks from the start downwards.
  for (const auto& n : r.layout.nodes) EXPECT_LE(r.layout.nodes[0].center.y, n.center.y);
  for (const auto& e : r.layout.edges) EXPECT_EQ(e.points.size() % 3, 1u);

  std::atomic<bool> stop{true};
  EXPECT_EQ(pm::layout_graph(d, &stop).outcome, pm::LayoutOutcome::Cancelled);

  std::string svg, error;
  ASSERT_TRUE(pm::render_graph(d, "svg", svg, error)) << error;
  EXPECT_EQ(count(svg, "class=\"node\""), 14u);

  // The layout crosses between processes unchanged.
  const std::string text = pm::serialize_layout(r);
  pm::LayoutResult back;
  ASSERT_TRUE(pm::deserialize_layout(text, back));
  EXPECT_EQ(pm::serialize_layout(back), text);
  EXPECT_EQ(back.layout.nodes.size(), 14u);
  EXPECT_FALSE(pm::deserialize_layout(text.substr(0, text.size() / 2), back));  // cut short
  auto big = pm::too_large_result(30000);
  ASSERT_TRUE(pm::deserialize_layout(pm::serialize_layout(big), back));
  EXPECT_EQ(back.outcome, pm::LayoutOutcome::TooLarge);
  EXPECT_EQ(back.message_it, big.message_it);
}

TEST(GraphMap, TheLayoutJobFinishesCancelsAndStopsAtItsTimeLimit) {
#if !defined(PAGIMOND_HAVE_GRAPHVIZ)
  GTEST_SKIP() << "built without Graphviz";
#endif
  auto d = sample_drawing();
  pm::LayoutJob job;
  EXPECT_FALSE(job.wait(10ms));  // nothing started, nothing to wait for
  job.start(d);
  EXPECT_FALSE(job.finished());
  ASSERT_TRUE(job.wait(20s));
  ASSERT_EQ(job.result().outcome, pm::LayoutOutcome::Done) << job.result().message;
  EXPECT_EQ(job.result().layout.nodes.size(), 14u);

  // Polled without waiting, as a window does when the descriptor is readable.
  job.start(d);
  const auto given_up = std::chrono::steady_clock::now() + 20s;
  while (!job.wait(0ms) && std::chrono::steady_clock::now() < given_up)
    std::this_thread::sleep_for(1ms);
  ASSERT_TRUE(job.finished());
  EXPECT_EQ(job.result().outcome, pm::LayoutOutcome::Done) << job.result().message;

  job.start(d);
  job.cancel();
  EXPECT_TRUE(job.finished());
  EXPECT_EQ(job.result().outcome, pm::LayoutOutcome::Cancelled);
  EXPECT_EQ(job.descriptor(), -1);

  pm::LayoutJob hurried(0ms);
  hurried.start(d);
  ASSERT_TRUE(hurried.wait(5s));
  EXPECT_EQ(hurried.result().outcome, pm::LayoutOutcome::TooLarge);
  EXPECT_NE(hurried.result().message_it.find("troppo grande"), std::string::npos);

  pm::GraphDrawing huge;
  huge.nodes.resize(pm::kGraphNodeLimit + 1);
  job.start(huge);
  EXPECT_TRUE(job.finished());  // refused at once, nothing started
  EXPECT_EQ(job.result().outcome, pm::LayoutOutcome::TooLarge);
}

// 0 -> 1 -> 2 -> 3 -> 4 and 5 -> 2: the rooms one arrow from 2 are 1 and 5 before it and 3
// after it, in columns left to right; a room with more neighbours than the limit is cut.
TEST(GraphMap, TheNeighbourhoodOfARoomInColumnsByDistance) {
  pm::GraphDrawing d;
  for (int i = 0; i < 6; ++i) d.nodes.push_back({std::to_string(i), std::to_string(i)});
  for (auto [a, b] : std::vector<std::pair<uint32_t, uint32_t>>{{0, 1}, {1, 2}, {2, 3}, {3, 4}, {5, 2}})
    d.edges.push_back({a, b, false});
  pm::Neighbourhood n = pm::make_neighbourhood(d, 2, 1);
  EXPECT_EQ(n.whole, (std::vector<uint32_t>{2, 3, 1, 5}));
  EXPECT_EQ(n.distance, (std::vector<int>{0, 1, -1, -1}));
  EXPECT_FALSE(n.cut);
  ASSERT_EQ(n.drawing.edges.size(), 3u);  // 1 -> 2, 2 -> 3, 5 -> 2
  ASSERT_EQ(n.layout.nodes.size(), 4u);
  ASSERT_EQ(n.layout.edges.size(), 3u);
  EXPECT_LT(n.layout.nodes[2].center.x, n.layout.nodes[0].center.x);
  EXPECT_LT(n.layout.nodes[0].center.x, n.layout.nodes[1].center.x);
  EXPECT_EQ(n.layout.nodes[2].center.x, n.layout.nodes[3].center.x);
  for (const auto& c : n.layout.edges) EXPECT_EQ(c.points.size(), 4u);
  EXPECT_EQ(pm::make_neighbourhood(d, 2, 9).whole.size(), 6u);  // 5 at most: the whole book

  pm::GraphDrawing star;
  star.nodes.resize(pm::kNeighbourhoodRoomLimit + 10);
  for (uint32_t i = 1; i < star.nodes.size(); ++i) star.edges.push_back({0, i, false});
  n = pm::make_neighbourhood(star, 0, 1);
  EXPECT_TRUE(n.cut);
  EXPECT_EQ(n.whole.size(), pm::kNeighbourhoodRoomLimit);
}

}  // namespace

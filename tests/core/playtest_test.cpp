// The playtest on small books of known odds: the exact figures to the last digit that
// matters, the sampled ones near them for a fixed seed, the shortest ways, the traps, and
// the shape of its JSON.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "check/playtest.h"
#include "check/playtest_report.h"

namespace {

struct Arrow {
  uint32_t from, to;
  bool timed = false;
};

// Rooms "0" .. "n-1", all with pages, the arrows given and the endings marked.
pm::LinkGraph book(uint32_t rooms, const std::vector<Arrow>& arrows, const std::set<uint32_t>& endings) {
  pm::LinkGraph g;
  for (uint32_t i = 0; i < rooms; ++i) {
    pm::GraphRoom r;
    r.name = std::to_string(i);
    r.has_text = r.has_page = true;
    r.ending = endings.count(i) > 0;
    g.index.emplace(r.name, i);
    g.rooms.push_back(r);
  }
  for (const Arrow& a : arrows) g.edges.push_back({a.from, a.to, a.timed});
  return g;
}

const pm::PlaytestEnding& ending(const pm::PlaytestResult& r, uint32_t room) {
  for (const auto& e : r.endings)
    if (e.room == room) return e;
  throw std::runtime_error("no such ending");
}

TEST(Playtest, KnownBooksGiveTheirExactOddsAndTheReadersComeClose) {
  struct Case {
    const char* name;
    pm::LinkGraph graph;
    std::vector<std::pair<uint32_t, double>> odds;  // ending room, exact probability
    double expected_steps;                          // < 0: some readers never stop
    size_t traps;
  };
  const std::vector<Case> cases = {
      {"chain", book(3, {{0, 1}, {1, 2}}, {2}), {{2, 1.0}}, 2, 0},
      {"fork", book(5, {{0, 1}, {0, 2}, {2, 3}, {2, 4, true}}, {1, 3, 4}), {{1, 0.5}, {3, 0.25}, {4, 0.25}}, 1.5, 0},
      // 0 -> 1 -> (0 or 2): E1 = 1 + E0 / 2, E0 = 1 + E1, so E0 = 4.
      {"loop with an exit", book(3, {{0, 1}, {1, 0}, {1, 2}}, {2}), {{2, 1.0}}, 4, 0},
      {"trap", book(4, {{0, 1}, {0, 2}, {2, 3}, {3, 2}}, {1}), {{1, 0.5}}, -1, 1},
      {"dead end", book(3, {{0, 1}, {0, 2}}, {1}), {{1, 0.5}}, 1, 1},
  };
  pm::PlaytestOptions options;
  options.runs = 20000;
  options.seed = 7;
  options.max_steps = 200;  // the readers of the trap walk to it
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const pm::PlaytestResult r = pm::run_playtest(c.graph, options);
    ASSERT_TRUE(r.has_start);
    EXPECT_TRUE(r.odds.converged);
    EXPECT_LE(r.odds.bound, pm::kOddsPrecision);
    for (const auto& [room, p] : c.odds) {
      EXPECT_NEAR(ending(r, room).probability, p, 1e-9);
      EXPECT_NEAR(ending(r, room).share, p, 0.015);
    }
    if (c.expected_steps < 0) EXPECT_FALSE(r.odds.expected_steps.has_value());
    else {
      ASSERT_TRUE(r.odds.expected_steps.has_value());
      EXPECT_NEAR(*r.odds.expected_steps, c.expected_steps, 1e-9);
      EXPECT_NEAR(r.mean_steps, c.expected_steps, 0.1);
    }
    ASSERT_EQ(r.traps.size(), c.traps);
    EXPECT_EQ(r.ended + r.stuck + r.out_of_steps, options.runs);
    EXPECT_DOUBLE_EQ(r.room_share[0], 1.0);
  }
}

TEST(Playtest, TrapsWaysAndRoomsNoReaderSees) {
  // 0 -> 1 -> 2 (ending); 0 -> 3 <-> 4 (a closed loop); 5 ending, 6 leads to it: no way there.
  const pm::LinkGraph g = book(7, {{0, 1}, {1, 2}, {0, 3}, {3, 4}, {4, 3}, {6, 5}}, {2, 5});
  pm::PlaytestOptions options;
  options.runs = 1000;
  options.max_steps = 50;
  const pm::PlaytestResult r = pm::run_playtest(g, options);
  EXPECT_EQ(ending(r, 2).way, (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_NEAR(*ending(r, 2).expected_steps, 2, 1e-9);
  EXPECT_TRUE(ending(r, 5).way.empty());
  EXPECT_FALSE(ending(r, 5).expected_steps.has_value());
  ASSERT_EQ(r.traps.size(), 1u);
  EXPECT_TRUE(r.traps[0].loop);
  EXPECT_EQ(r.traps[0].rooms, (std::vector<uint32_t>{3, 4}));
  EXPECT_NEAR(r.traps[0].probability, 0.5, 1e-9);
  // The readers in the loop walk to the move limit and are counted as stuck there.
  EXPECT_EQ(r.stuck + r.ended, options.runs);
  EXPECT_EQ(r.out_of_steps, 0u);
  EXPECT_EQ(r.never_seen, (std::vector<uint32_t>{5, 6}));

  // The same seed gives the same readers; another seed other ones.
  EXPECT_EQ(pm::run_playtest(g, options).room_share, r.room_share);
  options.seed = 99;
  EXPECT_NE(pm::run_playtest(g, options).ended, r.ended);
}

TEST(Playtest, ARoomNamedTwiceCountsOnceAndTheCodeFilesLeadFromEveryPage) {
  // Room 0 links to 1 three times (twice by link, once by timed jump) and once to 2.
  pm::LinkGraph g = book(4, {{0, 1}, {0, 1, true}, {0, 2}}, {1, 2, 3});
  pm::PlaytestResult r = pm::run_playtest(g, {});
  EXPECT_NEAR(ending(r, 1).probability, 0.5, 1e-12);
  // Global.cod's link to 3 is on room 0's page too: three rooms to choose from.
  pm::CodeFile code{"Global.cod", {}};
  code.roads.push_back(pm::Road{pm::RoadKind::Link, "3", 1, "<a href=3.htm>", false});
  code.roads.push_back(pm::Road{pm::RoadKind::Link, "1", 2, "<a href=1.htm>", false});
  g.code.push_back(code);
  r = pm::run_playtest(g, {});
  for (uint32_t room : {1u, 2u, 3u}) EXPECT_NEAR(ending(r, room).probability, 1.0 / 3, 1e-12) << room;
  // Without a page for room 0 nothing is played.
  g.rooms[0].has_page = false;
  r = pm::run_playtest(g, {});
  EXPECT_FALSE(r.has_start);
  EXPECT_EQ(r.ended, 0u);
}

TEST(Playtest, TheJsonHasItsDocumentedShape) {
  pm::LinkGraph g = book(4, {{0, 1}, {0, 2}, {2, 3}, {3, 2}}, {1});
  g.rooms[1].description = "FINE felice";
  pm::PlaytestOptions options;
  options.runs = 4;
  const std::string json = pm::playtest_report_json("Libro/", g, pm::run_playtest(g, options));
  for (const char* part :
       {"\"project\": \"Libro\"", "\"runs\": 4, \"seed\": 1, \"max_steps\": 1000", "\"start\": true",
        "\"endings\": [\n    {\"room\": \"1\", \"description\": \"FINE felice\", \"probability\": 0.5, \"share\": ",
        "\"way\": [\"0\", \"1\"]}", "{\"kind\": \"loop\", \"rooms\": [\"2\", \"3\"], \"probability\": 0.5",
        "\"expected_steps\": null}", "\"never_seen\": [", "\"rooms\": [\n    {\"room\": \"0\", \"share\": 1}"})
    EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
  const std::string lines = pm::playtest_report_lines("Libro", g, pm::run_playtest(g, options));
  EXPECT_NE(lines.find("closed loop: rooms 2, 3: probability 50.000%"), std::string::npos) << lines;
  EXPECT_NE(lines.find("ending 1: probability 50.000%"), std::string::npos) << lines;
}

}  // namespace

// How the book plays: random readers sent from room 0, each choosing uniformly among the
// rooms a room leads to, and beside them the exact odds of the same reader (an absorbing
// Markov chain). A room leads to the rooms of its links and timed jumps and to those of the
// before-code and after-code, which every page carries; a room named by several links counts
// once, as the map draws one arrow for it. Back links are not followed (where they return
// depends on the way the reader came). A reader stops at an ending, in a dead end (a room
// with nowhere to go that is not an ending) or after the step limit.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "check/link_graph.h"

namespace pm {

struct PlaytestOptions {
  uint32_t runs = 10000;        // readers
  uint64_t seed = 1;            // the same seed, the same readers
  uint32_t max_steps = 1000;    // a reader stops after this many moves
};

struct PlaytestEnding {
  uint32_t room = 0;                     // index into LinkGraph::rooms
  double probability = 0;                // exact odds of ending here (see PlaytestOdds::bound)
  double share = 0;                      // share of the readers who ended here
  std::optional<double> expected_steps;  // mean moves of the readers who end here (exact)
  std::vector<uint32_t> way;             // the shortest way from room 0, both ends included; empty: none
};

// A group of rooms a reader who enters never leaves and where no ending is: a dead end is
// one room without arrows out, a closed loop two or more (or one that leads to itself).
struct PlaytestTrap {
  bool loop = false;
  std::vector<uint32_t> rooms;  // in room-list order
  double probability = 0;       // exact odds of a reader ending up in it
  double share = 0;             // share of the readers who ended up in it
};

// The exact figures: solved by pushing the readers' distribution forward one move at a
// time until what still walks is below `kOddsPrecision` or the work allowance is spent.
// Every exact probability lies between the figure given and the figure plus `bound`.
struct PlaytestOdds {
  bool converged = false;
  uint64_t iterations = 0;
  double bound = 0;                      // the share of readers still walking when it stopped
  double ending_probability = 0;         // of reaching any ending
  std::optional<double> expected_steps;  // mean moves until a reader stops; none when some never stop
};

inline constexpr double kOddsPrecision = 1e-12;

struct PlaytestResult {
  PlaytestOptions options;
  bool has_start = false;             // room 0 has a page; without it nothing is played
  std::vector<double> room_share;     // parallel to LinkGraph::rooms: readers who saw the room
  std::vector<uint32_t> never_seen;   // rooms with a page that no reader saw, in room-list order
  std::vector<PlaytestEnding> endings;  // every room marked as an ending, in room-list order
  std::vector<PlaytestTrap> traps;      // those a reader from room 0 can fall into
  PlaytestOdds odds;
  uint32_t ended = 0, stuck = 0, out_of_steps = 0;  // readers: at an ending, in a trap, at the limit
  double mean_steps = 0;                            // of the sampled readers
};

PlaytestResult run_playtest(const LinkGraph& graph, const PlaytestOptions& options);

}  // namespace pm

// Random readers and the exact odds of the book (see playtest.h). The rooms a reader can
// stop in for good are the bottom groups of the arrows (strongly connected components with
// no arrow out): an ending, a dead end or a closed loop. Everything else drains into them,
// so pushing the readers forward loses a fixed share of what still walks at every pass
// and the computation ends; a work allowance bounds it all the same.
#include "check/playtest.h"

#include <algorithm>

namespace pm {

namespace {

constexpr uint32_t kNone = UINT32_MAX;
// Passes of the exact computation times the arrows and rooms it goes through.
constexpr uint64_t kOddsWork = 300'000'000;
constexpr uint64_t kMinPasses = 1000, kMaxPasses = 1'000'000;

// Where every room leads a reader: each room once, none out of an ending.
struct Chain {
  std::vector<uint32_t> first, to;  // the rooms room v leads to: to[first[v] .. first[v + 1])
  uint32_t degree(uint32_t v) const { return first[v + 1] - first[v]; }
};

Chain build_chain(const LinkGraph& g) {
  const size_t n = g.rooms.size();
  std::vector<uint32_t> by_from(n + 1, 0), edge_to(g.edges.size());
  for (const auto& e : g.edges) ++by_from[e.from + 1];
  for (size_t i = 0; i < n; ++i) by_from[i + 1] += by_from[i];
  std::vector<uint32_t> fill(by_from.begin(), by_from.end() - 1);
  for (const auto& e : g.edges) edge_to[fill[e.from]++] = e.to;

  std::vector<uint32_t> code;  // the rooms the before-code and after-code lead to
  for (const auto& file : g.code)
    for (const auto& road : file.roads)
      if (road.kind == RoadKind::Link || road.kind == RoadKind::TimedJump)
        if (auto to = g.find(road.target); to && g.rooms[*to].has_page) code.push_back(*to);

  Chain c;
  c.first.assign(n + 1, 0);
  c.to.reserve(g.edges.size() + (code.empty() ? 0 : n * code.size()));
  std::vector<uint32_t> stamp(n, kNone);
  for (uint32_t v = 0; v < n; ++v) {
    c.first[v] = uint32_t(c.to.size());
    if (!g.rooms[v].has_page || g.rooms[v].ending) continue;
    auto add = [&](uint32_t w) {
      if (stamp[w] == v) return;
      stamp[w] = v;
      c.to.push_back(w);
    };
    for (uint32_t i = by_from[v]; i < by_from[v + 1]; ++i) add(edge_to[i]);
    for (uint32_t w : code) add(w);
  }
  c.first[n] = uint32_t(c.to.size());
  return c;
}

// The strongly connected components of the rooms reachable from `start` (Tarjan's, without
// recursion): comp[v] for those rooms, kNone for the rest.
std::vector<uint32_t> components(const Chain& c, uint32_t start, uint32_t& count) {
  const size_t n = c.first.size() - 1;
  std::vector<uint32_t> comp(n, kNone), index(n, kNone), low(n, 0), stack;
  std::vector<char> on_stack(n, 0);
  std::vector<std::pair<uint32_t, uint32_t>> calls;  // room, next arrow to follow
  uint32_t counter = 0;
  count = 0;
  auto enter = [&](uint32_t v) {
    index[v] = low[v] = counter++;
    stack.push_back(v);
    on_stack[v] = 1;
    calls.emplace_back(v, c.first[v]);
  };
  enter(start);
  while (!calls.empty()) {
    const uint32_t v = calls.back().first;
    const uint32_t e = calls.back().second;
    if (e < c.first[v + 1]) {
      ++calls.back().second;
      const uint32_t w = c.to[e];
      if (index[w] == kNone) enter(w);
      else if (on_stack[w]) low[v] = std::min(low[v], index[w]);
      continue;
    }
    if (low[v] == index[v]) {
      uint32_t w;
      do {
        w = stack.back();
        stack.pop_back();
        on_stack[w] = 0;
        comp[w] = count;
      } while (w != v);
      ++count;
    }
    calls.pop_back();
    if (!calls.empty()) low[calls.back().first] = std::min(low[calls.back().first], low[v]);
  }
  return comp;
}

// A small generator of fixed sequence, the same on every system.
class Dice {
 public:
  explicit Dice(uint64_t seed) : s_(seed) {}
  uint64_t next() {  // splitmix64
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint32_t below(uint32_t n) { return uint32_t(next() % n); }

 private:
  uint64_t s_;
};

// The groups a reader stops in for good, with the rooms in each.
struct Sinks {
  std::vector<uint32_t> of_room;               // group of a room, kNone when the reader moves on
  std::vector<std::vector<uint32_t>> rooms;    // per group, in room-list order
  std::vector<char> loop;                      // per group: a closed loop (not one room without arrows)
};

Sinks find_sinks(const Chain& c, uint32_t start) {
  const size_t n = c.first.size() - 1;
  uint32_t count = 0;
  const std::vector<uint32_t> comp = components(c, start, count);
  std::vector<char> bottom(count, 1), inner(count, 0);
  for (uint32_t v = 0; v < n; ++v) {
    if (comp[v] == kNone) continue;
    for (uint32_t i = c.first[v]; i < c.first[v + 1]; ++i) {
      if (comp[c.to[i]] == comp[v]) inner[comp[v]] = 1;
      else bottom[comp[v]] = 0;
    }
  }
  Sinks s;
  s.of_room.assign(n, kNone);
  std::vector<uint32_t> group(count, kNone);
  for (uint32_t v = 0; v < n; ++v) {
    if (comp[v] == kNone || !bottom[comp[v]]) continue;
    uint32_t& gid = group[comp[v]];
    if (gid == kNone) {
      gid = uint32_t(s.rooms.size());
      s.rooms.emplace_back();
      s.loop.push_back(inner[comp[v]]);
    }
    s.of_room[v] = gid;
    s.rooms[gid].push_back(v);
  }
  return s;
}

// The shortest way from `start` to every room: the room each is first reached from.
std::vector<uint32_t> ways_from(const Chain& c, uint32_t start) {
  std::vector<uint32_t> parent(c.first.size() - 1, kNone), queue{start};
  parent[start] = start;
  for (size_t head = 0; head < queue.size(); ++head)
    for (uint32_t i = c.first[queue[head]]; i < c.first[queue[head] + 1]; ++i)
      if (parent[c.to[i]] == kNone) {
        parent[c.to[i]] = queue[head];
        queue.push_back(c.to[i]);
      }
  return parent;
}

struct Exact {
  std::vector<double> probability, step_sum;  // per sink group: odds, and sum of moves times odds
  PlaytestOdds odds;
};

// `parent`: the shortest ways from `start` (ways_from), which tell the rooms reached.
Exact solve(const Chain& c, const Sinks& s, uint32_t start, const std::vector<uint32_t>& parent) {
  Exact x;
  x.probability.assign(s.rooms.size(), 0);
  x.step_sum.assign(s.rooms.size(), 0);
  const size_t n = c.first.size() - 1;
  std::vector<uint32_t> walking;  // the rooms a reader from `start` passes through
  for (uint32_t v = 0; v < n; ++v)
    if (parent[v] != kNone && s.of_room[v] == kNone) walking.push_back(v);
  uint64_t work = walking.size();
  for (uint32_t v : walking) work += c.degree(v);
  const uint64_t passes = std::clamp(kOddsWork / std::max<uint64_t>(work, 1), kMinPasses, kMaxPasses);

  // The walking rooms numbered 0..w-1 in their own compact arrays; an arrow's target is its
  // walking number, or w + its sink group.
  const uint32_t w = uint32_t(walking.size());
  std::vector<uint32_t> local(n, kNone), first(w + 1, 0), to;
  std::vector<double> share(w);
  for (uint32_t i = 0; i < w; ++i) local[walking[i]] = i;
  to.reserve(work);
  for (uint32_t i = 0; i < w; ++i) {
    const uint32_t v = walking[i];
    for (uint32_t k = c.first[v]; k < c.first[v + 1]; ++k)
      to.push_back(local[c.to[k]] != kNone ? local[c.to[k]] : w + s.of_room[c.to[k]]);
    first[i + 1] = uint32_t(to.size());
    share[i] = 1.0 / c.degree(v);
  }

  std::vector<double> now(w, 0), next(w, 0);
  double left = 1, expected = 0;
  if (s.of_room[start] != kNone) {
    x.probability[s.of_room[start]] = 1;
    left = 0;
  } else {
    now[local[start]] = 1;
  }
  uint64_t t = 0;
  while (left > kOddsPrecision && t < passes) {
    expected += left;
    ++t;
    for (uint32_t i = 0; i < w; ++i) {
      const double m = now[i];
      if (m == 0) continue;
      now[i] = 0;
      const double part = m * share[i];
      for (uint32_t k = first[i]; k < first[i + 1]; ++k) {
        const uint32_t u = to[k];
        if (u < w) {
          next[u] += part;
        } else {
          x.probability[u - w] += part;
          x.step_sum[u - w] += part * double(t);
        }
      }
    }
    left = 0;
    for (uint32_t i = 0; i < w; ++i) left += next[i];
    now.swap(next);
  }
  x.odds.iterations = t;
  x.odds.converged = left <= kOddsPrecision;
  x.odds.bound = left;
  bool some_never_stop = false;
  for (size_t gid = 0; gid < s.rooms.size(); ++gid) some_never_stop = some_never_stop || (s.loop[gid] && x.probability[gid] > 0);
  if (x.odds.converged && !some_never_stop) x.odds.expected_steps = expected;
  return x;
}

}  // namespace

PlaytestResult run_playtest(const LinkGraph& g, const PlaytestOptions& options) {
  PlaytestResult r;
  r.options = options;
  const size_t n = g.rooms.size();
  r.room_share.assign(n, 0);
  const auto start = g.find("0");
  r.has_start = start && g.rooms[*start].has_page;
  const Chain c = build_chain(g);

  Sinks sinks;
  Exact exact;
  std::vector<uint32_t> parent(n, kNone), seen(n, 0), final_count;
  if (r.has_start) {
    sinks = find_sinks(c, *start);
    parent = ways_from(c, *start);
    exact = solve(c, sinks, *start, parent);
    r.odds = exact.odds;
    final_count.assign(sinks.rooms.size(), 0);

    Dice dice(options.seed);
    std::vector<uint32_t> stamp(n, kNone);
    uint64_t steps_total = 0;
    for (uint32_t reader = 0; reader < options.runs; ++reader) {
      uint32_t v = *start, steps = 0;
      for (;;) {
        if (stamp[v] != reader) {
          stamp[v] = reader;
          ++seen[v];
        }
        if (c.degree(v) == 0 || steps >= options.max_steps) break;
        v = c.to[c.first[v] + dice.below(c.degree(v))];
        ++steps;
      }
      steps_total += steps;
      const uint32_t gid = sinks.of_room[v];
      if (gid != kNone) ++final_count[gid];
      if (g.rooms[v].ending) ++r.ended;
      else if (gid != kNone) ++r.stuck;
      else ++r.out_of_steps;
    }
    if (options.runs) r.mean_steps = double(steps_total) / options.runs;
  }
  const double runs = options.runs ? double(options.runs) : 1;
  for (uint32_t v = 0; v < n; ++v) {
    r.room_share[v] = seen[v] / runs;
    if (g.rooms[v].has_page && seen[v] == 0) r.never_seen.push_back(v);
  }
  for (uint32_t v = 0; v < n; ++v) {
    if (!g.rooms[v].has_page || !g.rooms[v].ending) continue;
    PlaytestEnding e;
    e.room = v;
    if (r.has_start && sinks.of_room[v] != kNone) {
      const uint32_t gid = sinks.of_room[v];
      e.probability = exact.probability[gid];
      e.share = final_count[gid] / runs;
      if (e.probability > 0) e.expected_steps = exact.step_sum[gid] / e.probability;
      r.odds.ending_probability += e.probability;
    }
    if (parent[v] != kNone) {
      for (uint32_t w = v;; w = parent[w]) {
        e.way.push_back(w);
        if (parent[w] == w) break;
      }
      std::reverse(e.way.begin(), e.way.end());
    }
    r.endings.push_back(std::move(e));
  }
  for (size_t gid = 0; gid < sinks.rooms.size(); ++gid) {
    if (g.rooms[sinks.rooms[gid].front()].ending) continue;
    r.traps.push_back(PlaytestTrap{bool(sinks.loop[gid]), sinks.rooms[gid], exact.probability[gid],
                                   final_count[gid] / runs});
  }
  std::sort(r.traps.begin(), r.traps.end(),
            [](const PlaytestTrap& a, const PlaytestTrap& b) { return a.rooms.front() < b.rooms.front(); });
  return r;
}

}  // namespace pm

// Speed of the playtest and of the graph map's neighbourhood on existing projects (made by
// make_big_project). The generated books mark no ending, so that every reader would walk
// in circles: here every hundredth room (99, 199, ...) is made an ending in memory first.
// For each project, best of five runs, wall time and CPU time (user + system):
//   exact       the exact odds alone (no readers)
//   playtest    10,000 readers and the exact odds, as the command and the window run them
//   near K      the neighbourhood of room 0 within K links, found and laid out (K = 1..5)
//
//   playtest_bench PROJECT...
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "check/book_check.h"
#include "check/graph_drawing.h"
#include "check/neighbourhood.h"
#include "check/playtest.h"

namespace {

using Clock = std::chrono::steady_clock;

double cpu_seconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double best_cpu = 0;  // of the last best_of_five

template <typename F>
double best_of_five(F&& f) {
  double best = 1e9;
  best_cpu = 1e9;
  for (int run = 0; run < 5; ++run) {
    const auto t0 = Clock::now();
    const double c0 = cpu_seconds();
    f();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    best_cpu = std::min(best_cpu, cpu_seconds() - c0);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: playtest_bench PROJECT...\n");
    return 2;
  }
  for (int a = 1; a < argc; ++a) {
    const pm::stdfs::path folder = pm::stdfs::absolute(argv[a]);
    pm::LinkGraph graph = pm::build_link_graph(pm::Project(folder, folder.filename().string()));
    for (size_t i = 99; i < graph.rooms.size(); i += 100) graph.rooms[i].ending = true;
    std::printf("%s: %zu rooms, %zu arrows\n", folder.filename().c_str(), graph.rooms.size(), graph.edges.size());

    pm::PlaytestOptions exact_only;
    exact_only.runs = 0;
    pm::PlaytestResult r;
    const double exact = best_of_five([&] { r = pm::run_playtest(graph, exact_only); });
    std::printf("  exact odds            wall %7.3f s   cpu %7.3f s   %llu passes, %s, ending %.6f, expected moves %.2f\n",
                exact, best_cpu, (unsigned long long)r.odds.iterations, r.odds.converged ? "converged" : "NOT converged",
                r.odds.ending_probability, r.odds.expected_steps ? *r.odds.expected_steps : -1.0);
    const double full = best_of_five([&] { r = pm::run_playtest(graph, pm::PlaytestOptions{}); });
    std::printf("  playtest (10,000)     wall %7.3f s   cpu %7.3f s   %u ended, %u stuck, %u at the limit, %.2f moves on average\n",
                full, best_cpu, r.ended, r.stuck, r.out_of_steps, r.mean_steps);

    const pm::GraphDrawing drawing = pm::make_graph_drawing(graph, pm::check_book(graph));
    for (int k = pm::kMinNeighbourhood; k <= pm::kMaxNeighbourhood; ++k) {
      pm::Neighbourhood n;
      const double t = best_of_five([&] { n = pm::make_neighbourhood(drawing, 0, k); });
      std::printf("  near %d                wall %7.3f s   cpu %7.3f s   %zu rooms, %zu arrows%s\n", k, t, best_cpu,
                  n.drawing.nodes.size(),
                  n.drawing.edges.size(), n.cut ? " (cut)" : "");
    }
  }
  return 0;
}

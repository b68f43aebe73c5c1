// Speed of the book check and of the graph layout on existing projects (made by
// make_big_project; see check_graph.sh). For each project:
//   check   build_link_graph + check_book, best of five runs, wall and CPU time;
//   layout  the window's way: a LayoutJob with its 10 s limit (the layout runs in a child
//           process; its CPU time is the child's), and the same layout in this process
//           without a limit, to show what the limit cut off.
//
//   check_graph_bench PROJECT...
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "check/book_check.h"
#include "check/graph_drawing.h"
#include "check/graphviz_layout_job.h"
#include "check/graphviz_render.h"

namespace {

using Clock = std::chrono::steady_clock;

double cpu_seconds(int who) {
  rusage u{};
  getrusage(who, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double since(Clock::time_point t0) { return std::chrono::duration<double>(Clock::now() - t0).count(); }

const char* outcome_name(pm::LayoutOutcome o) {
  switch (o) {
    case pm::LayoutOutcome::Done: return "done";
    case pm::LayoutOutcome::TooLarge: return "too large";
    case pm::LayoutOutcome::Cancelled: return "cancelled";
    case pm::LayoutOutcome::Failed: return "failed";
  }
  return "?";
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: check_graph_bench PROJECT...\n");
    return 2;
  }
  for (int a = 1; a < argc; ++a) {
    const pm::stdfs::path folder = pm::stdfs::absolute(argv[a]);
    const pm::Project project(folder, folder.filename().string());

    double best_wall = 1e9, best_cpu = 1e9;
    pm::LinkGraph graph;
    pm::CheckResult check;
    for (int run = 0; run < 5; ++run) {
      const auto t0 = Clock::now();
      const double c0 = cpu_seconds(RUSAGE_SELF);
      graph = pm::build_link_graph(project);
      check = pm::check_book(graph);
      best_wall = std::min(best_wall, since(t0));
      best_cpu = std::min(best_cpu, cpu_seconds(RUSAGE_SELF) - c0);
    }
    size_t roads = 0;
    for (const auto& r : graph.rooms) roads += r.roads.size();
    std::printf("%s: %zu rooms, %zu roads, %zu arrows, %zu errors, %zu warnings\n", folder.filename().c_str(),
                graph.rooms.size(), roads, graph.edges.size(), check.errors, check.warnings);
    std::printf("  check                 wall %7.3f s   cpu %7.3f s   (best of 5)\n", best_wall, best_cpu);

    const pm::GraphDrawing drawing = pm::make_graph_drawing(graph, check);
    {
      pm::LayoutJob job;
      const auto t0 = Clock::now();
      const double c0 = cpu_seconds(RUSAGE_CHILDREN);
      job.start(drawing);
      while (!job.wait(std::chrono::milliseconds(100))) {
      }
      std::printf("  layout job (10 s)     wall %7.3f s   cpu %7.3f s   %s, %s, %zu nodes\n", since(t0),
                  cpu_seconds(RUSAGE_CHILDREN) - c0, outcome_name(job.result().outcome),
                  pm::layout_engine_for(drawing).c_str(), job.result().layout.nodes.size());
    }
    {
      const auto t0 = Clock::now();
      const double c0 = cpu_seconds(RUSAGE_SELF);
      const pm::LayoutResult r = pm::layout_graph(drawing);
      std::printf("  layout, no limit      wall %7.3f s   cpu %7.3f s   %s, %s, %zu nodes\n", since(t0),
                  cpu_seconds(RUSAGE_SELF) - c0, outcome_name(r.outcome), r.layout.engine.c_str(),
                  r.layout.nodes.size());
    }
    std::fflush(stdout);
  }
  return 0;
}

// The adventure map of a large book in a real map window offscreen: the build (the core's
// map text of every room handed to the text view in one piece, which indexes the line
// starts and lays out only the lines on screen, and the first screen painted), then
// scrolling through it page by page and jumping to its end. Prints the best and median of
// the timed builds after one warm-up build.
//
//   bench/make_big_project /tmp/big/Libro 10000
//   map_window_gui_bench /tmp/big/Libro [RUNS]        (default: 5)
#include <QApplication>
#include <QElapsedTimer>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "map/map_text.h"
#include "map/map_window.h"
#include "base/files.h"
#include "project/project.h"
#include "rooms/project_manager_window.h"
#include "shell/main_window.h"
#include "ui/app_context.h"
#include "ui/large_text_view.h"
#include "ui/qt_paths.h"
#include "support/recording_platform.h"
#include "support/scripted_prompts.h"

namespace {

double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }
double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: map_window_gui_bench PROJECT_FOLDER [RUNS]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const pm::stdfs::path folder = pm::stdfs::absolute(argv[1]);
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  QApplication app(argc, argv);

  QTemporaryDir dir;
  const pm::stdfs::path home = pm::toPath(dir.path()) / "home";
  pm::stdfs::create_directories(home);
  pm::ScriptedPrompts prompts;
  pm::RecordingPlatform platform;
  pm::MainWindow main(pm::AppContext{pm::ProgramFolder(home), &prompts, &platform});
  main.resize(1200, 800);
  main.show();
  pm::ProjectManagerWindow* manager = main.openManagerFresh();
  manager->Aggiorna.stop();
  manager->Percorso = pm::fromPath(folder);
  manager->Nome = pm::fromPath(folder.filename());
  manager->rebuildList();
  QApplication::processEvents();

  // The core alone, for comparison.
  QElapsedTimer t;
  t.start();
  const size_t bytes = pm::build_map_text(manager->project(), manager->roomEntries(), pm::MapOptions{}).size();
  const double core = ms(t);

  pm::MapWindow* map = main.openMapFresh();
  map->Compila.stop();
  auto* text = map->findChild<pm::LargeTextView*>("Text1");
  std::vector<double> builds;
  for (int r = 0; r <= runs; ++r) {
    map->rebuild();
    map->Compila.stop();
    QApplication::processEvents();
    t.start();
    map->build();
    text->viewport()->repaint();
    if (r > 0) builds.push_back(ms(t));  // the first run warms the file system's caches
  }
  std::printf("map of %d rooms, %zu bytes, %d lines\n", manager->entryCount(), bytes, text->lineCount());
  std::printf("core map text alone: %.1f ms\n", core);
  std::printf("map window build (core, decoding, text area, first paint): best %.1f ms, median %.1f ms (%d runs)\n",
              *std::min_element(builds.begin(), builds.end()), median(builds), runs);

  // Scrolling: every page from the top, painted; then from the top to the end at once.
  QScrollBar* bar = text->verticalScrollBar();
  const int step = std::max(1, bar->pageStep());
  int pages = 0;
  double worst = 0;
  t.start();
  for (int v = 0; v <= bar->maximum() && pages < 2000; v += step) {
    QElapsedTimer one;
    one.start();
    bar->setValue(v);
    text->viewport()->repaint();
    worst = std::max(worst, ms(one));
    ++pages;
  }
  std::printf("scrolling through the first %d pages: %.2f ms a page, worst %.2f ms\n", pages, ms(t) / pages, worst);
  bar->setValue(0);
  text->viewport()->repaint();
  t.start();
  bar->setValue(bar->maximum());
  text->viewport()->repaint();
  std::printf("jump from the top to the end: %.2f ms\n", ms(t));
  t.start();
  bar->setValue(bar->maximum() / 2);
  text->viewport()->repaint();
  std::printf("jump to the middle: %.2f ms\n", ms(t));
  return 0;
}

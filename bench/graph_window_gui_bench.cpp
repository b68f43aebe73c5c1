// The graph window on a large book, offscreen: the window opening (the book read, checked
// and, above 1,000 rooms, the neighbourhood of room 0 drawn), then the neighbourhood of
// room 0 at every distance from 1 to 5, found, laid out, drawn and painted. Best of RUNS.
//
//   bench/make_big_project /tmp/big/Libro 10000
//   graph_window_gui_bench /tmp/big/Libro [RUNS] [PICTURE.png]   (default: 5 runs; the
//   picture is of the window showing the neighbourhood within 3 links)
#include <QApplication>
#include <QElapsedTimer>
#include <QSpinBox>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "check/graph_window.h"
#include "base/files.h"
#include "rooms/project_manager_window.h"
#include "shell/main_window.h"
#include "ui/app_context.h"
#include "ui/qt_paths.h"
#include "support/recording_platform.h"
#include "support/scripted_prompts.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: graph_window_gui_bench PROJECT_FOLDER [RUNS]\n");
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const pm::stdfs::path folder = pm::stdfs::absolute(argv[1]);
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
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

  QElapsedTimer t;
  double open = 1e9;
  pm::GraphWindow* graph = nullptr;
  for (int r = 0; r < runs; ++r) {
    t.start();
    graph = main.openGraphFresh();
    QApplication::processEvents();
    open = std::min(open, double(t.nsecsElapsed()) / 1e6);
    if (graph->busy()) {
      std::fprintf(stderr, "the book is small enough to be laid out whole: no neighbourhood to time\n");
      return 1;
    }
  }
  std::printf("%zu rooms: window opened on the neighbourhood of room 0   %8.1f ms\n",
              manager->roomNumbers().size(), open);
  auto* distance = graph->findChild<QSpinBox*>("Spin1");
  for (int k = 1; k <= 5; ++k) {
    double best = 1e9;
    for (int r = 0; r < runs; ++r) {
      distance->setValue(k);
      t.start();
      graph->showNeighbourhood("0");
      QApplication::processEvents();
      graph->view()->viewport()->repaint();
      best = std::min(best, double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("neighbourhood of room 0 within %d: %4d rooms drawn and painted   %8.1f ms\n", k, graph->drawnRooms(),
                best);
    if (k == 3 && argc > 3) graph->grab().save(QString::fromLocal8Bit(argv[3]));
  }
  return 0;
}

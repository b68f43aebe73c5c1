// Opening a large book in the project manager: the room list build (Aggiorna) of a
// generated project of 10,000 rooms (or the count given), in a real ProjectManagerWindow
// offscreen. Prints the best and the median of the timed builds after one warm-up build.
//
//   list_build_gui_bench [ROOMS] [RUNS]        (defaults: 10000, 7)
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/files.h"
#include "project/project.h"
#include "rooms/project_manager_window.h"
#include "ui/app_context.h"
#include "shell/main_window.h"
#include "ui/qt_paths.h"
#include "support/recording_platform.h"
#include "support/scripted_prompts.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int rooms = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 7;
  QApplication app(argc, argv);

  QTemporaryDir dir;
  const pm::stdfs::path home = pm::toPath(dir.path()) / "home";
  const pm::stdfs::path folder = home / "Projects" / "Libro grande";
  pm::stdfs::create_directories(folder / "Room");
  pm::Project project(folder, "Libro grande");
  (void)pm::write_file_atomic(project.project_file(), "\"Libro grande\",\"Libro grande\"\r\n");
  for (int i = 0; i < rooms; ++i) {
    std::string n = std::to_string(i);
    std::string description = i == 0 ? "Luogo di partenza" : "Stanza " + n + ", con la porta " + std::to_string(i % 7);
    (void)pm::write_file_atomic(project.description_file(n), description + "\r\n");
    (void)pm::write_file_atomic(project.text_file(n), "Testo della stanza " + n + "\r\n");
  }

  pm::ScriptedPrompts prompts;
  pm::RecordingPlatform platform;
  pm::MainWindow main(pm::AppContext{pm::ProgramFolder(home), &prompts, &platform});
  main.resize(1200, 800);
  main.show();
  pm::ProjectManagerWindow* manager = main.openManagerFresh();
  manager->Aggiorna.stop();
  manager->Percorso = pm::fromPath(folder);
  manager->Nome = "Libro grande";

  manager->rebuildList();  // warm-up: the file system's caches
  QApplication::processEvents();
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    QElapsedTimer t;
    t.start();
    manager->rebuildList();
    QApplication::processEvents();  // the list lays out and paints its first screen
    ms.push_back(double(t.nsecsElapsed()) / 1e6);
  }
  std::sort(ms.begin(), ms.end());
  std::printf("list build of %d rooms (%d entries): best %.1f ms, median %.1f ms (%d runs)\n", rooms,
              manager->entryCount(), ms.front(), ms[ms.size() / 2], runs);

  // Scrolling: one step from the top to the bottom of the list, painting each page.
  QElapsedTimer t;
  t.start();
  int pages = 0;
  QScrollBar* bar = manager->findChild<QListWidget*>("List1")->verticalScrollBar();
  for (int v = 0; v <= bar->maximum(); v += std::max(1, bar->pageStep())) {
    bar->setValue(v);
    manager->findChild<QListWidget*>("List1")->viewport()->repaint();
    ++pages;
  }
  std::printf("scrolling through %d pages: %.2f ms a page\n", pages, double(t.nsecsElapsed()) / 1e6 / std::max(1, pages));
  return manager->entryCount() == rooms ? 0 : 1;
}

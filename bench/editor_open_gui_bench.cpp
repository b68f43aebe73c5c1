// Opening a 1 MB room (20,000 lines) in a real room editor offscreen: the load (decoding,
// the edit history of 20,001 appends, the text area filled and its first screen painted),
// then typing in the middle of it (each keystroke recorded by the history and painted),
// an undo and the line-preserving save. Prints the best and median of the runs.
//
//   editor_open_gui_bench [LINES] [RUNS]        (defaults: 20000, 5)
#include <QApplication>
#include <QPlainTextEdit>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextCursor>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "editor/room_editor_window.h"
#include "base/files.h"
#include "project/project.h"
#include "ui/app_context.h"
#include "shell/main_window.h"
#include "ui/qt_paths.h"
#include "support/recording_platform.h"
#include "support/scripted_prompts.h"

namespace {

double best(std::vector<double> v) { return *std::min_element(v.begin(), v.end()); }
double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
double ms(const QElapsedTimer& t) { return double(t.nsecsElapsed()) / 1e6; }

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  const int lines = argc > 1 ? std::atoi(argv[1]) : 20000;
  const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
  QApplication app(argc, argv);

  QTemporaryDir dir;
  const pm::stdfs::path home = pm::toPath(dir.path()) / "home";
  const pm::stdfs::path folder = home / "Projects" / "Libro";
  pm::stdfs::create_directories(folder / "Room");
  pm::Project project(folder, "Libro");
  (void)pm::write_file_atomic(project.project_file(), "\"Libro\",\"Libro\"\r\n");
  std::string text;
  for (int i = 0; i < lines; ++i) {
    std::string line = "Riga " + std::to_string(i) + ": il ponte di pietra si inarca sul fiume.";
    line.resize(50, ' ');
    text += line + "\r\n";
  }
  (void)pm::write_file_atomic(project.description_file("0"), "Luogo di partenza\r\n");
  (void)pm::write_file_atomic(project.text_file("0"), text);
  std::printf("room: %zu bytes, %d lines\n", text.size(), lines);

  pm::ScriptedPrompts prompts;
  pm::RecordingPlatform platform;
  pm::MainWindow main(pm::AppContext{pm::ProgramFolder(home), &prompts, &platform});
  main.resize(1200, 800);
  main.show();
  QApplication::processEvents();

  std::vector<double> open, key, undo, save;
  for (int r = 0; r <= runs; ++r) {
    pm::RoomEditorWindow* e = main.openEditorFresh();
    e->Percorso = pm::fromPath(folder);
    e->Nome = "0";
    QApplication::processEvents();
    QElapsedTimer t;
    t.start();
    e->loadNow();
    e->findChild<QPlainTextEdit*>("Text1")->viewport()->repaint();
    const double opened = ms(t);

    QTextCursor c = e->findChild<QPlainTextEdit*>("Text1")->textCursor();
    c.setPosition(e->findChild<QPlainTextEdit*>("Text1")->document()->characterCount() / 2);
    e->findChild<QPlainTextEdit*>("Text1")->setTextCursor(c);
    e->findChild<QPlainTextEdit*>("Text1")->centerCursor();
    QApplication::processEvents();
    const int keys = 50;
    t.start();
    for (int k = 0; k < keys; ++k) {
      QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, "x");
      QApplication::sendEvent(e->findChild<QPlainTextEdit*>("Text1"), &press);
      e->findChild<QPlainTextEdit*>("Text1")->viewport()->repaint();
    }
    const double perKey = ms(t) / keys;

    t.start();
    e->undo();
    e->findChild<QPlainTextEdit*>("Text1")->viewport()->repaint();
    const double undone = ms(t);

    t.start();
    const bool closed = e->closeEditor();  // writes the room back: only the edited line changes
    const double saved = ms(t);
    QApplication::processEvents();
    if (!closed) return 1;
    if (r == 0) continue;  // warm-up
    open.push_back(opened);
    key.push_back(perKey);
    undo.push_back(undone);
    save.push_back(saved);
  }
  std::printf("open (load, history, display): best %.1f ms, median %.1f ms\n", best(open), median(open));
  std::printf("keystroke (history and repaint): best %.2f ms, median %.2f ms\n", best(key), median(key));
  std::printf("undo: best %.1f ms, median %.1f ms\n", best(undo), median(undo));
  std::printf("close with the line-preserving save: best %.1f ms, median %.1f ms\n", best(save), median(save));
  return 0;
}

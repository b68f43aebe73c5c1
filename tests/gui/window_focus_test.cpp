// Where the keyboard goes when a window closes, driven through the real windows: every child
// window opened from the room editor or the project manager hands the keyboard back to the
// control it came from (and Esc in the editor then saves), and the roads that once left the
// author behind a disabled project manager end in the window they came from, in front.
#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <functional>

#include "support/editor_tools.h"

using namespace pmtest;

namespace {

// The sub-window in front and the window inside it.
QWidget* frontWindow(pm::MainWindow* main) {
  QMdiSubWindow* sub = part<QMdiArea>(main, "Client")->activeSubWindow();
  return sub ? sub->widget() : nullptr;
}

// One child window opened from the editor (`fromEditor`) or from the manager, then closed.
struct Trip {
  const char* name;
  bool fromEditor;
  std::function<void(pm::MainWindow*, QWidget* from)> open;
  std::function<QWidget*(pm::MainWindow*)> opened;
  // Closes it; by default with Esc on the control that has the keyboard.
  std::function<void(pm::MainWindow*, QWidget* window)> close;
};

void key(QWidget* w, int k) { QTest::keyClick(w, Qt::Key(k)); }
void button(pm::MainWindow* main, const char* name) { part<QToolButton>(main, name)->click(); }
void action(QWidget* w, const char* name) { part<QAction>(w, name)->trigger(); }

const Trip kTrips[] = {
    {"find", true, [](auto*, QWidget* from) { key(from, Qt::Key_F8); }, [](auto* m) -> QWidget* { return m->findReplace(); }, {}},
    {"script", true, [](auto*, QWidget* from) { key(from, Qt::Key_F6); }, [](auto* m) -> QWidget* { return m->roomScript(); }, {}},
    {"images", true, [](auto*, QWidget* from) { key(from, Qt::Key_F5); }, [](auto* m) -> QWidget* { return m->resources(); }, {}},
    {"picture inserted", true, [](auto*, QWidget* from) { key(from, Qt::Key_F5); },
     [](auto* m) -> QWidget* { return m->resources(); },
     [](auto*, QWidget* w) {
       auto* list = part<QListWidget>(w, "File1");
       list->setCurrentRow(0);
       key(list, Qt::Key_Return);
     }},
    {"colours from the editor", true, [](auto* m, QWidget*) { button(m, "Image11"); },
     [](auto* m) -> QWidget* { return m->colourPalette(); }, {}},
    {"properties", false, [](auto*, QWidget* from) { key(from, Qt::Key_F7); }, [](auto* m) -> QWidget* { return m->properties(); }, {}},
    {"global code", false, [](auto*, QWidget* from) { key(from, Qt::Key_F6); }, [](auto* m) -> QWidget* { return m->globalCode(); }, {}},
    {"compile", false, [](auto*, QWidget* from) { key(from, Qt::Key_F9); }, [](auto* m) -> QWidget* { return m->compileDialog(); }, {}},
    {"colours", false, [](auto* m, QWidget*) { button(m, "Image11"); }, [](auto* m) -> QWidget* { return m->colourPalette(); }, {}},
    {"map", false, [](auto* m, QWidget*) { button(m, "Image13"); }, [](auto* m) -> QWidget* { return m->mapWindow(); }, {}},
    {"check", false, [](auto* m, QWidget*) { button(m, "ImageVerifica"); }, [](auto* m) -> QWidget* { return m->bookCheck(); }, {}},
    {"graph", false, [](auto* m, QWidget*) { button(m, "ImageGrafo"); }, [](auto* m) -> QWidget* { return m->graph(); }, {}},
    {"versions from the editor", true, [](auto* m, QWidget*) { action(m->editor(), "VersioniPrecedenti"); },
     [](auto* m) -> QWidget* { return m->versionsWindow(); }, {}},
    {"versions", false, [](auto* m, QWidget*) { action(m->manager(), "MenuVersioni"); },
     [](auto* m) -> QWidget* { return m->versionsWindow(); }, {}},
    {"trash", false, [](auto* m, QWidget*) { action(m->manager(), "MenuCestino"); },
     [](auto* m) -> QWidget* { return m->trashWindow(); }, {}},
    {"renumber", false, [](auto* m, QWidget*) { m->openRenumberFresh(); },
     [](auto* m) -> QWidget* { return m->template findChild<pm::RenumberWindow*>(); }, {}},
    {"export", false, [](auto* m, QWidget*) { m->openExportFresh(); },
     [](auto* m) -> QWidget* { return m->template findChild<pm::ExportWindow*>(); }, {}},
};

}  // namespace

class WindowFocusTest : public QObject {
  Q_OBJECT
 private slots:
  void focusComesBack_data();
  void focusComesBack();
  void stuckRoads_data();
  void stuckRoads();
};

void WindowFocusTest::focusComesBack_data() {
  QTest::addColumn<int>("trip");
  for (int i = 0; i < int(std::size(kTrips)); ++i) QTest::newRow(kTrips[i].name) << i;
}

void WindowFocusTest::focusComesBack() {
  QFETCH(int, trip);
  const Trip& t = kTrips[trip];
  OPEN_LIBRO(3);
  writeBytes(folder + "/res/drago.png", "");
  QWidget* from = part<QListWidget>(m, "List1");
  pm::RoomEditorWindow* e = nullptr;
  if (t.fromEditor) {
    selectRoom(m, "1");
    e = openEditor(f, folder, "1");
    QVERIFY(e);
    from = part<QPlainTextEdit>(e, "Text1");
    QTest::keyClicks(from, " scritto");
  }
  from->setFocus();
  QTRY_COMPARE(QApplication::focusWidget(), from);

  t.open(main, from);
  QTRY_VERIFY(t.opened(main));
  QWidget* w = t.opened(main);
  QTRY_VERIFY(w->isAncestorOf(QApplication::focusWidget()) || QApplication::focusWidget() == w);
  if (t.close)
    t.close(main, w);
  else
    key(QApplication::focusWidget(), Qt::Key_Escape);
  QTRY_VERIFY(!t.opened(main));

  QTRY_COMPARE(QApplication::focusWidget(), from);
  QCOMPARE(frontWindow(main), t.fromEditor ? static_cast<QWidget*>(e) : m);
  if (!t.fromEditor) return;
  // Esc goes to the editor, which saves what was typed.
  key(QApplication::focusWidget(), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());
  const std::string saved = readBytes(folder + "/1");
  QVERIFY2(saved.rfind("Testo 1 scritto", 0) == 0, saved.c_str());
  QTRY_COMPARE(QApplication::focusWidget(), part<QListWidget>(m, "List1"));
}

void WindowFocusTest::stuckRoads_data() {
  QTest::addColumn<QString>("road");
  QTest::newRow("compile without installer") << "compile";
  QTest::newRow("global code before the room") << "global";
}

// The compile dialog's second option compiles in an editor that closes itself; the global
// code chooser opens Global.cod in the editor, closed with Esc. Either way the window the
// author came from is in front again, with its control focused, the manager still disabled
// behind it; closing that window too gives the manager back.
void WindowFocusTest::stuckRoads() {
  QFETCH(QString, road);
  OPEN_LIBRO(3);
  pm::ChildWindow* came = nullptr;
  QWidget* control = nullptr;
  if (road == "compile") {
    QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F9);
    QTRY_VERIFY(main->compileDialog());
    came = main->compileDialog();
    control = part<QPushButton>(came, "Command1");
    auto* site = part<QRadioButton>(came, "Option2");
    site->setFocus();
    QTest::keyClick(site, Qt::Key_Space);
    QVERIFY(site->isChecked());
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Space);
    QTRY_VERIFY(main->editor());
    QTRY_VERIFY(!main->editor());
  } else {
    QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F6);
    QTRY_VERIFY(main->globalCode());
    came = main->globalCode();
    control = part<QPushButton>(came, "Label2");
    QTRY_COMPARE(QApplication::focusWidget(), control);
    QTest::keyClick(control, Qt::Key_Space);
    QTRY_VERIFY(main->editor() && main->editor()->isLoaded());
    QCOMPARE(main->editor()->windowTitle(), QString("Edita \"Global.cod\""));
    QTest::keyClick(part<QPlainTextEdit>(main->editor(), "Text1"), Qt::Key_Escape);
    QTRY_VERIFY(!main->editor());
  }
  QTRY_COMPARE(QApplication::focusWidget(), control);
  QCOMPARE(frontWindow(main), static_cast<QWidget*>(came));
  QVERIFY(came->parentWidget()->isEnabled());
  QVERIFY(!m->parentWidget()->isEnabled());

  QTest::keyClick(control, Qt::Key_Escape);
  QTRY_COMPARE(QApplication::focusWidget(), part<QListWidget>(m, "List1"));
  QVERIFY(m->parentWidget()->isEnabled());
  QCOMPARE(frontWindow(main), m);
}

QTEST_MAIN(WindowFocusTest)
#include "window_focus_test.moc"

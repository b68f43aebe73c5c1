// The main window driven offscreen: its first state, toolbar icons and accessible
// names, the command codes of Scelta and Crea, the cover panel, help addresses, the
// settings window closing every child, and the end through the splash.
#include <QFile>
#include <QMdiArea>
#include <QPointer>
#include <QSignalSpy>
#include <QToolButton>
#include <QUrl>

#include "packager/compile_dialog.h"
#include "editor/room_editor_window.h"
#include "shell/settings_window.h"
#include "shell/splash_window.h"
#include "support/gui_fixture.h"

using namespace pmtest;

namespace {

pm::ProjectManagerWindow* openBook(GuiFixture& f, int rooms) {
  return openProject(f, makeProject(f.projects(), "Libro", descriptions(rooms)));
}

// A command code left for the main window's timer, as the other windows leave it.
void request(pm::MainWindow* main, const char* code) {
  main->Scelta = code;
  main->Crea.start();
}

int inputCalls(const pm::ScriptedPrompts& p) {
  int n = 0;
  for (const auto& c : p.calls) n += c.kind == "input";
  return n;
}

}  // namespace

class ShellTest : public QObject {
  Q_OBJECT
 private slots:
  void firstStateAndChildrenClosingThemselves();
  void commandCodes();
  void coverAndProjectButtons();
  void skipStartPageIsTheProjectsFlag();
  void helpAndSettings();
  void closingAndSplash();
};

void ShellTest::firstStateAndChildrenClosingThemselves() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  QVERIFY(main->startPage());
  QVERIFY(!main->manager());
  QVERIFY(!part<QWidget>(main, "Picture2")->isVisible());
  QVERIFY(!part<QToolButton>(main, "Image10")->isVisible());
  QVERIFY(!part<QFrame>(main, "Line2")->isVisible());
  QVERIFY(part<QToolButton>(main, "Image1")->isEnabled());
  QVERIFY(!part<QCheckBox>(main, "Check1")->isChecked());
  QCOMPARE(part<QToolButton>(main, "Image10")->toolTip(), QString("F1 - Leggi la guida al programma"));  // while the start page is open
  QVERIFY(!main->Crea.isActive());
  for (const char* b : {"Image1", "Image2", "Image3", "Image4", "Image5", "Image6", "Image7", "Image8", "Image9", "Image13",
                        "Image20", "Image11", "Image12", "Image15"})
    QVERIFY2(!part<QToolButton>(main, b)->icon().isNull(), b);
  // Every control a person can use has a name for assistive technology.
  QCOMPARE(unnamedControls(main), QStringList());
  // The desktop picture is stretched over the client area, again after a resize.
  QCOMPARE(part<QMdiArea>(main, "Client")->background().texture().size(), main->clientSize());
  main->resize(900, 600);
  QTRY_COMPARE(part<QMdiArea>(main, "Client")->background().texture().size(), main->clientSize());
  shoot(main, "main_window_start_page");

  // A child that closes itself takes its sub-window with it and is forgotten at once.
  pm::RoomEditorWindow* e = main->openEditorFresh();
  QVERIFY(e);
  QPointer<QWidget> frame = e->parentWidget();
  e->close();
  QVERIFY(!main->editor());
  QTRY_VERIFY(frame.isNull());
  // A fresh window replaces the old one through its close handling.
  pm::StartPageWindow* first = main->startPage();
  main->openStartPageFresh();
  pm::StartPageWindow* second = main->startPage();
  QVERIFY(second && second != first);
  QTRY_COMPARE(part<QMdiArea>(main, "Client")->subWindowList().size(), 1);
  // Showing and hiding a child keeps it loaded.
  main->showChild(second, false);
  QCOMPARE(main->startPage(), second);
  QVERIFY(!second->isVisible());
  main->showChild(second, true);
  QVERIFY(second->isVisible());
}

void ShellTest::commandCodes() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  pm::ProjectManagerWindow* m = openBook(f, 5);
  QVERIFY(m);

  // Unknown and empty codes do nothing.
  for (const char* code : {"9", "", "12", "0"}) {
    request(main, code);
    QTRY_VERIFY(!main->Crea.isActive());
  }
  QVERIFY(f.prompts.calls.empty());
  QVERIFY(!main->editor());

  // The last request before the tick wins, and it runs once; with five rooms the new one is 5.
  request(main, "3");
  request(main, "1");
  f.prompts.answer_input("Nuova");
  QTRY_COMPARE(inputCalls(f.prompts), 1);
  QVERIFY(!main->Crea.isActive());
  QCOMPARE(inputCalls(f.prompts), 1);
  QCOMPARE(f.prompts.calls[0].title, std::string("Creazione della Stanza"));
  QTRY_COMPARE(m->entryCount(), 6);
  QCOMPARE(readBytes(m->Percorso + "/Room/5"), std::string("Nuova\r\n"));

  // "3" asks for the selected room's description.
  f.prompts.answer_input(std::nullopt);
  request(main, "3");
  QTRY_COMPARE(inputCalls(f.prompts), 2);
  QCOMPARE(f.prompts.calls.back().title, std::string("Sintesi della Stanza"));
  QCOMPARE(f.prompts.calls.back().default_text, std::string("Luogo di partenza"));

  // "2" opens the selected room in a fresh editor and hides the manager.
  part<QListWidget>(m, "List1")->setCurrentRow(2);
  request(main, "2");
  QTRY_VERIFY(main->editor());
  QCOMPARE(main->editor()->Nome, QString("2"));
  QVERIFY(!m->parentWidget()->isVisible());
  QVERIFY(main->closeChild(main->editor()));
  main->showChild(m, true);

  // "7" is the whole-project test: a fresh editor on the first room with CompilaTutto set.
  part<QListWidget>(m, "List1")->setCurrentRow(3);
  request(main, "7");
  QTRY_VERIFY(main->editor());
  QCOMPARE(main->editor()->Nome, QString("0"));
  QCOMPARE(m->CompilaTutto, QString("1"));
  QVERIFY(m->CompilaTutto2.isEmpty());
  QVERIFY(main->editor()->Compila.isActive());
  QCOMPARE(m->selectedEntry(), QString(" 0 | Luogo di partenza"));

  // "4" puts the style sheet in a fresh editor, "8" opens the compile dialog, "5" the global
  // code and "6" the properties (each window checked in its own test); none asks anything.
  int before = int(f.prompts.calls.size());
  main->runCommand(pm::Command::EditStyleSheet);
  main->runCommand(pm::Command::Compile);
  QVERIFY(main->compileDialog());
  for (pm::Command c : {pm::Command::GlobalCode, pm::Command::Properties}) main->runCommand(c);
  QVERIFY(main->globalCode() && main->properties());
  QCOMPARE(int(f.prompts.calls.size()), before);
}

void ShellTest::coverAndProjectButtons() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  pm::ProjectManagerWindow* m = openBook(f, 2);
  QVERIFY(m);
  // The cover over the toolbar stops every room button but the last two.
  auto hit = [main](QToolButton* b) { return part<QWidget>(main, "Picture2")->childAt(b->geometry().center()); };

  QCOMPARE(hit(part<QToolButton>(main, "Image2")), part<QToolButton>(main, "Image2"));
  main->setCoverShown(true);
  QVERIFY(part<QWidget>(main, "Picture3")->isVisible());
  for (const char* b : {"Image2", "Image3", "Image4", "Image5", "Image6", "Image7", "Image8", "Image9", "Image13", "Image20"})
    QVERIFY2(hit(part<QToolButton>(main, b)) == part<QWidget>(main, "Picture3") && !part<QToolButton>(main, b)->isEnabled(), b);
  for (const char* b : {"Image11", "Image12"})
    QVERIFY2(hit(part<QToolButton>(main, b)) == part<QToolButton>(main, b) && part<QToolButton>(main, b)->isEnabled(), b);
  main->setCoverShown(false);
  QVERIFY(part<QToolButton>(main, "Image7")->isEnabled());

  // With the editor open the keyboard cannot press a covered button either.
  QVERIFY(main->openEditorFresh());
  auto* properties = part<QToolButton>(main, "Image7");
  properties->setFocus();
  QTest::keyClick(properties, Qt::Key_Space);
  QVERIFY(!main->properties());
  QVERIFY(main->closeChild(main->editor()));
  QVERIFY(properties->isEnabled());

  // The buttons run the same actions directly, without the timer.
  f.prompts.answer_input("Dal pulsante");
  part<QToolButton>(main, "Image2")->click();
  QCOMPARE(inputCalls(f.prompts), 1);
  QVERIFY(!main->Crea.isActive());
  QTRY_COMPARE(m->entryCount(), 3);

  part<QToolButton>(main, "Image12")->click();
  QCOMPARE(f.platform.calls.back().kind, std::string("folder"));
  QCOMPARE(QString::fromStdString(f.platform.calls.back().target), m->Percorso + "/res");
}

// "Salta il menù iniziale" is the open project's flag: shown when the project opens, written
// when ticked, kept by the next compile; without a project it cannot be ticked.
void ShellTest::skipStartPageIsTheProjectsFlag() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  auto* tick = part<QCheckBox>(main, "Check1");
  QVERIFY(!tick->isEnabled());
  pm::ProjectManagerWindow* m = openBook(f, 2);
  QVERIFY(m);
  const auto flag = [m] { return m->project().read_fields().skip_start_page(); };
  QTRY_VERIFY(tick->isEnabled());
  QVERIFY(!tick->isChecked());
  tick->setFocus();
  QTest::keyClick(tick, Qt::Key_Space);
  QVERIFY(tick->isChecked());
  QVERIFY(flag());
  main->runSingleFile(false);
  QVERIFY(tick->isChecked());
  QVERIFY(readBytes(f.home() + "/Output/index.htm").find("Continua") == std::string::npos);
  tick->click();
  QVERIFY(!flag());
  tick->click();

  // Opened again, the project shows its flag; closed, the tick is out of reach.
  QVERIFY(main->closeChild(m));
  QVERIFY(!tick->isEnabled());
  tick->setChecked(false);
  QVERIFY((m = openProject(f, f.projects() + "/Libro")));
  QTRY_VERIFY(tick->isChecked());
}

void ShellTest::helpAndSettings() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  auto lastOpened = [&f] { return QString::fromStdString(f.platform.calls.back().target); };

  part<QToolButton>(main, "Image10")->click();
  QCOMPARE(lastOpened(), QUrl::fromLocalFile(f.home() + "/Help/index.htm").toString());
  QTest::keyClick(main->startPage(), Qt::Key_F1);
  QCOMPARE(lastOpened(), QUrl::fromLocalFile(f.home() + "/Help/creare_e_aprire.htm").toString());

  // Settings with a project and a room open: the editor and the manager close first.
  pm::ProjectManagerWindow* m = openBook(f, 3);
  QVERIFY(m);
  QVERIFY(main->openEditorFresh());
  part<QToolButton>(main, "Image15")->click();
  pm::SettingsWindow* s = main->settings();
  QVERIFY(s);
  QVERIFY(!main->editor());
  QVERIFY(!main->manager());
  QVERIFY(!main->startPage());
  QVERIFY(!part<QToolButton>(main, "Image1")->isEnabled());
  QVERIFY(!part<QWidget>(main, "Picture2")->isEnabled());
  QVERIFY(QFile::exists(f.home() + "/Manager.ini"));
  shoot(main, "settings_window");

  s->findChild<QToolButton*>("Image1")->click();
  QCOMPARE(f.platform.calls.back().kind, std::string("text"));
  QCOMPARE(lastOpened(), f.home() + "/Extra/Help.txt");
  s->findChild<QToolButton*>("Image2")->click();
  QCOMPARE(lastOpened(), f.home() + "/Extra/ReadMe.txt");
  QTest::keyClick(s, Qt::Key_F1);
  QVERIFY(lastOpened().endsWith("/Help/impostazioni.htm"));

  QTest::keyClick(s, Qt::Key_Escape);
  QVERIFY(!main->settings());
  QVERIFY(part<QToolButton>(main, "Image1")->isEnabled());
  QVERIFY(part<QWidget>(main, "Picture2")->isEnabled());
  QVERIFY(!part<QWidget>(main, "Picture2")->isVisible());
  part<QToolButton>(main, "Image1")->click();
  QVERIFY(main->startPage());
}

void ShellTest::closingAndSplash() {
  // The main window closes its children (the manager writes its placement) and then
  // reports that it has closed; no child reopens the start page meanwhile.
  {
    GuiFixture f;
    pm::MainWindow* main = f.main();
    QVERIFY(openBook(f, 2));
    QSignalSpy closed(main, &pm::MainWindow::closed);
    QVERIFY(main->close());
    QCOMPARE(closed.count(), 1);
    QVERIFY(!main->manager());
    QVERIFY(!main->startPage());
    QVERIFY(QFile::exists(f.home() + "/Manager.ini"));
  }
  // The splash: at the start it asks for the main window after two seconds; at the end
  // (Esci "1") it asks to quit.
  auto* start = new pm::SplashWindow;
  auto* end = new pm::SplashWindow;
  end->Esci = "1";
  QSignalSpy wantsMain(start, &pm::SplashWindow::mainWindowWanted);
  QSignalSpy wantsExit(end, &pm::SplashWindow::exitWanted);
  QSignalSpy startExit(start, &pm::SplashWindow::exitWanted);
  start->showTopmost();
  end->showTopmost();
  QVERIFY(start->windowFlags() & Qt::WindowStaysOnTopHint);
  QTest::qWait(1500);
  QCOMPARE(wantsMain.count() + wantsExit.count(), 0);
  QTRY_COMPARE_WITH_TIMEOUT(wantsExit.count(), 1, 1500);
  QTRY_COMPARE(wantsMain.count(), 1);
  QCOMPARE(startExit.count(), 0);
  delete end;
}

QTEST_MAIN(ShellTest)
#include "shell_test.moc"

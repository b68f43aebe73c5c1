// The project manager driven through its real window: the typical road from a new project
// to a managed room list, the answers to the editor's link and timer requests with the
// refusals while a target is awaited, selection restore, spoken labels, and the window's
// placement file.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTextCursor>

#include "editor/room_editor_window.h"
#include "support/editor_tools.h"

using namespace pmtest;
using pm::ProjectManagerWindow;

namespace {

void trigger(ProjectManagerWindow* m, const char* action) {
  QAction* a = part<QMenu>(m, "Menu1")->findChild<QAction*>(action);
  QVERIFY2(a, action);
  a->trigger();
}

}  // namespace

class ProjectManagerTest : public QObject {
  Q_OBJECT
 private slots:
  void typicalRoad();
  void linkAndTimerChoices();
  void noSelectionDoesNothingAndLabelsAreSpoken();
  void placementFile();
};

void ProjectManagerTest::typicalRoad() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  QVERIFY(main->startPage());

  // A new project through the start page.
  main->startPage()->findChild<QPushButton*>("Command1")->click();
  f.prompts.answer_input("Storia: capitolo 1?");
  main->startPage()->findChild<QPushButton*>("Label1")->click();
  ProjectManagerWindow* m = main->manager();
  QVERIFY(m);
  const QString folder = f.projects() + "/Storia  capitolo 1 ";
  QTRY_COMPARE(m->entryCount(), 1);  // (the start page's closing is checked in its test)
  QCOMPARE(m->windowTitle(), QString("Gestione del Progetto \"Storia  capitolo 1 \""));
  QCOMPARE(part<QLabel>(main, "Label1")->text(), QString("Numero di Stanze: 1"));
  QVERIFY(part<QWidget>(main, "Picture2")->isVisible());
  QVERIFY(part<QToolButton>(main, "Image10")->isVisible());
  QVERIFY(!part<QToolButton>(main, "Image1")->isEnabled());
  QCOMPARE(readBytes(f.home() + "/Last.ini"), (folder + "\r\n").toStdString());
  QCOMPARE(unnamedControls(main), QStringList());
  shoot(main, "project_manager_new");

  // F2 creates room 1; bars go, everything else stays as typed.
  f.prompts.answer_input(" La cantina | buia ");
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F2);
  QTRY_COMPARE(m->entryCount(), 2);
  QCOMPARE(f.prompts.calls.back().title, std::string("Creazione della Stanza"));
  QCOMPARE(f.prompts.calls.back().text, std::string("Creazione di una nuova Stanza. Descrizione della Stanza:"));
  QCOMPARE(readBytes(folder + "/Room/1"), std::string(" La cantina  buia \r\n"));
  QCOMPARE(readBytes(folder + "/1"), std::string("\r\n"));

  // Cancelling creates nothing.
  f.prompts.answer_input(std::nullopt);
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F2);
  QTRY_VERIFY(!main->Crea.isActive());
  QCOMPARE(m->entryCount(), 2);

  // Ten more rooms, asked for in one go: the numbers never collide even though the list is
  // rebuilt only afterwards.
  for (int i = 2; i < 12; ++i) {
    f.prompts.answer_input("Stanza " + std::to_string(i));
    main->createRoom();
  }
  QTRY_COMPARE(m->entryCount(), 12);
  std::vector<std::string> order = {"0", "1", "10", "11", "2", "3", "4", "5", "6", "7", "8", "9"};
  QCOMPARE(m->roomNumbers(), order);
  QCOMPARE(part<QListWidget>(m, "List1")->item(2)->text(), QString("10 | Stanza 10"));
  QCOMPARE(part<QListWidget>(m, "List1")->item(4)->text(), QString(" 2 | Stanza 2"));
  QCOMPARE(part<QLabel>(main, "Label1")->text(), QString("Numero di Stanze: 12"));

  // F4 describes the selected room; the whole line is shown and proposed again.
  selectRoom(m, "3");
  f.prompts.answer_input("Porta, chiusa");
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F4);
  QTRY_COMPARE(part<QListWidget>(m, "List1")->item(5)->text(), QString(" 3 | Porta, chiusa"));
  QCOMPARE(f.prompts.calls.back().default_text, std::string("Stanza 3"));
  QCOMPARE(readBytes(folder + "/Room/3"), std::string("Porta, chiusa\r\n"));
  QCOMPARE(m->selectedEntry(), QString(" 3 | Porta, chiusa"));

  // Duplicate room 3: text and script copied (byte for byte: room_operations_test),
  // description without bars.
  writeBytes(folder + "/3", "  \"Vai\", disse, \"al ponte\"\r\n");
  writeBytes(folder + "/3.js", "var a = \"1,2\";\r\n");
  f.prompts.answer_input("Copia|della porta");
  trigger(m, "MenuDuplica");
  QCOMPARE(f.prompts.calls.back().default_text, std::string("Porta, chiusa"));
  QCOMPARE(f.prompts.calls.back().text, std::string("Duplicazione di una nuova Stanza. Descrizione della Stanza:"));
  QTRY_COMPARE(m->entryCount(), 13);
  QCOMPARE(readBytes(folder + "/Room/12"), std::string("Copiadella porta\r\n"));
  QCOMPARE(readBytes(folder + "/12"), readBytes(folder + "/3"));
  QCOMPARE(readBytes(folder + "/12.js"), readBytes(folder + "/3.js"));
  // The selection keeps its index: "12" now lists before "2", so the row holds room 2.
  QCOMPARE(m->selectedEntry(), QString(" 2 | Stanza 2"));

  // Delete room 4: No keeps it, Yes blanks it and keeps its number (the files it leaves:
  // room_operations_test).
  selectRoom(m, "4");
  f.prompts.answer_question(false);
  trigger(m, "MenuElimina");
  QCOMPARE(f.prompts.calls.back().kind, std::string("question"));
  QCOMPARE(f.prompts.calls.back().text, std::string("Eliminare la Stanza 4 | Stanza 4?"));
  QCOMPARE(f.prompts.calls.back().title, std::string("Eliminazione della stanza"));
  QCOMPARE(readBytes(folder + "/Room/4"), std::string("Stanza 4\r\n"));
  f.prompts.answer_question(true);
  trigger(m, "MenuElimina");
  QTRY_COMPARE(part<QListWidget>(m, "List1")->item(7)->text(), QString(" 4 | "));
  QCOMPARE(readBytes(folder + "/4"), std::string());
  QCOMPARE(m->entryCount(), 13);
  // The menu creates too; after a deletion the next room takes the count.
  f.prompts.answer_input("Ultima");
  trigger(m, "MenuCrea");
  QTRY_COMPARE(readBytes(folder + "/Room/13"), std::string("Ultima\r\n"));
  shoot(main, "project_manager");

  // Closing goes back to the start page (the placement it writes: placementFile below).
  QVERIFY(main->closeChild(m));
  QVERIFY(!main->manager());
  QVERIFY(main->startPage());
  QVERIFY(!part<QWidget>(main, "Picture2")->isVisible());
  QVERIFY(part<QToolButton>(main, "Image1")->isEnabled());
}

void ProjectManagerTest::linkAndTimerChoices() {
  OPEN_LIBRO(9);
  writeBytes(folder + "/4.js", "x\r\n");
  // An editor as it stands when it asks for a link target.
  pm::RoomEditorWindow* e = openEditor(f, folder, "3");
  QVERIFY(e);
  part<QPlainTextEdit>(e, "Text1")->setPlainText("Vai al ponte");
  selectText(e, 0, 3);
  main->showChild(e, false);
  main->showChild(m, true);
  m->Modi = "1";
  m->Link = "1";
  m->NomeLink = "1";

  // While a link target is awaited: open, delete and test refuse; F3 to F9 send nothing.
  selectRoom(m, "4");
  f.prompts.calls.clear();
  trigger(m, "MenuApri");
  trigger(m, "MenuElimina");
  trigger(m, "MenuTesta");
  std::vector<std::string> refusals = {
      "message: Non è possibile aprire una Stanza in questo momento. Scegli una Stanza di destinazione.",
      "message: Non è possibile eliminare una Stanza in questo momento. Scegli una Stanza di destinazione.",
      "message: Non è possibile fare il Test in questo momento. Scegli una Stanza di destinazione."};
  QCOMPARE(promptTexts(f.prompts), refusals);
  QCOMPARE(readBytes(folder + "/Room/4"), std::string("Stanza 4\r\n"));
  QVERIFY(QFile::exists(folder + "/4.js"));
  QCOMPARE(main->editor(), e);
  for (int k = Qt::Key_F3; k <= Qt::Key_F9; ++k) QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key(k));
  QVERIFY(!main->Crea.isActive());

  // (Answering by double-click, and Esc, are driven from the editor in its test.)
  // A timer target: cancelling the seconds after Enter leaves the choice pending...
  selectRoom(m, "7");
  part<QPlainTextEdit>(e, "Text1")->selectAll();
  m->Modi = "";
  m->Modi2 = "1";
  m->Link = "2";
  f.prompts.answer_input(std::nullopt);
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_Return);
  QTRY_COMPARE(f.prompts.calls.back().title, std::string("Contatore"));
  QCOMPARE(f.prompts.calls.back().text, std::string("Inserire un numero espresso in secondi:"));
  QCOMPARE(f.prompts.calls.back().default_text, std::string("0"));
  QCOMPARE(m->Link, QString("2"));
  QVERIFY(shown(main, m));
  // ...and Enter with an answer then inserts the redirect.
  f.prompts.answer_input("5");
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_Enter);
  QTRY_VERIFY(m->Link.isEmpty());
  QCOMPARE(part<QPlainTextEdit>(e, "Text1")->toPlainText(), QString("<meta http-equiv='refresh' content='5; url=7.htm'>"));
  QVERIFY(shown(main, e));
  // (Closing the manager while it waits is driven from the editor in its test.)
}

void ProjectManagerTest::noSelectionDoesNothingAndLabelsAreSpoken() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  QString folder = makeProject(f.projects(), "Libro", {"Luogo di partenza", "a", "b"});
  ProjectManagerWindow* m = openProject(f, folder);
  QVERIFY(m);
  QCOMPARE(part<QListWidget>(m, "List1")->currentRow(), 0);

  // The menu opens from the keyboard too: the Menu key and Shift+F10.
  for (const auto& [k, mods] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers{}}, std::pair{Qt::Key_F10, Qt::KeyboardModifiers{Qt::ShiftModifier}}}) {
    QTest::keyClick(part<QListWidget>(m, "List1"), k, mods);
    QTRY_VERIFY(part<QMenu>(m, "Menu1")->isVisible());
    part<QMenu>(m, "Menu1")->hide();
  }

  // The room counter says the count, and says it again when it changes; the manager's
  // hint says the starting hint, then the target prompt.
  QLabel* counter = part<QLabel>(main, "Label1");
  QTRY_COMPARE(counter->text(), QString("Numero di Stanze: 3"));
  QCOMPARE(counter->accessibleName(), counter->text());
  QCOMPARE(counter->accessibleDescription(), QString("Numero di Stanze"));
  QLabel* hint = part<QLabel>(m, "Label1");
  QCOMPARE(hint->accessibleName(), hint->text());
  QCOMPARE(hint->accessibleDescription(), QString("Suggerimento"));
  m->showTargetPrompt("Scegli una Stanza");
  QCOMPARE(hint->accessibleName(), QString("Scegli una Stanza"));
  f.prompts.answer_input("c");
  main->createRoom();
  QTRY_COMPARE(counter->text(), QString("Numero di Stanze: 4"));
  QCOMPARE(counter->accessibleName(), counter->text());

  // The selection comes back from Posi; an index past the end selects nothing.
  m->Posi = "2";
  m->rebuildList();
  QCOMPARE(m->selectedEntry(), QString(" 2 | b"));
  m->Posi = "7";
  m->rebuildList();
  QCOMPARE(m->selectedEntry(), QString());

  // With nothing selected, the room commands do nothing.
  f.prompts.calls.clear();
  f.prompts.answer_input("x");
  f.prompts.answer_question(true);
  for (const char* item : {"MenuApri", "MenuDescrizione", "MenuDuplica", "MenuElimina", "MenuTesta"}) trigger(m, item);
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_Return);
  QTRY_VERIFY(!m->Apri.isActive() && !m->EditaStanza.isActive());
  QVERIFY(f.prompts.calls.empty());
  QVERIFY(!main->editor());
  QCOMPARE(m->entryCount(), 4);
  QCOMPARE(readBytes(folder + "/Room/2"), std::string("b\r\n"));

  // F1 opens the manager's help page.
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F1);
  QVERIFY(QString::fromStdString(f.platform.calls.back().target).endsWith("/Help/editare.htm"));
}

void ProjectManagerTest::placementFile() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  QString folder = makeProject(f.projects(), "Libro", {"Luogo di partenza"});
  const double tppX = 1440.0 / main->logicalDpiX(), tppY = 1440.0 / main->logicalDpiY();
  auto px = [](long twips, double tpp) { return int(std::lround(twips / tpp)); };

  // The manager's own rule on its own file: left missing, centred at a quarter with its
  // design size, then sized as stored (every case of the rule: placement_test).
  writeBytes(f.home() + "/Manager.ini", "0\r\n\r\n8000\r\n6000\r\n");
  ProjectManagerWindow* m = openProject(f, folder);
  QVERIFY(m);
  QSize client = main->clientSize();
  QRect r = main->childGeometry(m);
  QCOMPARE(r.size(), QSize(px(8000, tppX), px(6000, tppY)));
  QCOMPARE(r.topLeft(), QPoint((client.width() - px(9600, tppX)) / 2, (client.height() - px(7200, tppY)) / 4));

  // Closing writes top, left, width and height in twips.
  main->placeChild(m, QRect(30, 40, 500, 420));
  QVERIFY(main->closeChild(m));
  QVERIFY(placementSaved(main, f.home() + "/Manager.ini", QRect(30, 40, 500, 420)));
}

QTEST_MAIN(ProjectManagerTest)
#include "project_manager_test.moc"

// The room editor driven through the real windows: the author's typical road from opening
// a room to the compiled book, load and save round trips, closing without saving and a save
// that fails, undo and redo, restricted mode, link, timer and back-link insertion with their
// cancellations, following links, the room and project tests and the compile dialog, and a
// desktop that cannot open what they made.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextCursor>
#include <QToolButton>
#include <chrono>
#include <memory>

#include "packager/compile_dialog.h"
#include "editor/link_markup.h"
#include "editor/room_editor_window.h"
#include "base/clock_text.h"
#include "support/editor_tools.h"

using namespace pmtest;
using pm::ProjectManagerWindow;
using pm::RoomEditorWindow;

namespace {

const QString kChoose = "Scegli una Stanza per creare un collegamento ad essa. Usa |F2| Per creare una nuova Stanza";

QPlainTextEdit* area(RoomEditorWindow* e) { return part<QPlainTextEdit>(e, "Text1"); }

// Selects the first occurrence of `what` in the editor's text.
void select(RoomEditorWindow* e, const QString& what) {
  const int at = e->text().indexOf(what);
  QVERIFY2(at >= 0, qPrintable(what));
  selectText(e, at, int(what.size()));
}

// Types `text` key by key; a letter beyond ASCII comes as the text of a key event, as from a
// keyboard that has it.
void typeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80)
      QTest::keyClick(w, c.toLatin1());
    else
      QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
  }
}

QToolButton* button(RoomEditorWindow* e, const char* name) { return e->findChild<QToolButton*>(name); }

// The editor a command of the main window opened, once loaded (nullptr when none loads).
RoomEditorWindow* loadedEditor(pm::MainWindow* main) {
  (void)QTest::qWaitFor([main] { return main->editor() && main->editor()->isLoaded(); }, 5000);
  return main->editor() && main->editor()->isLoaded() ? main->editor() : nullptr;
}

}  // namespace

class RoomEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void typicalRoad();
  void loadSaveUndoAndRedo();
  void closingWithoutSavingAndAFailedSave();
  void restrictedModes();
  void linkTimerAndBackLink();
  void followingLinks();
  void roomTestsAndTheCompileDialog();
  void aDesktopThatCannotOpenIsSaidOnce();
  void contextMenuAndTextCommands();
  void typedTextReachesTheOnePageBookInTheBooksEncoding();
};

void RoomEditorTest::typicalRoad() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  const QString folder = makeProject(f.projects(), "Il Ponte", descriptions(13));
  writeBytes(folder + "/3", "Sei al vecchio cartello.\r\nVai al ponte\r\n");
  writeBytes(folder + "/0", "Inizio senza fine riga");
  ProjectManagerWindow* m = openProject(f, folder);
  QVERIFY(m);

  // Room 3 opens in a fresh editor, captioned with its description, the room commands covered.
  doubleClickRoom(m, "3");
  RoomEditorWindow* e = loadedEditor(main);
  QVERIFY(e);
  QCOMPARE(e->windowTitle(), QString("Edita Stanza \"3 | Stanza 3\""));
  QCOMPARE(e->text(), QString("Sei al vecchio cartello.\nVai al ponte"));
  QVERIFY(part<QWidget>(main, "Picture3")->isVisible());
  QVERIFY(!shown(main, m));
  shoot(main, "room_editor");

  // F2 on "Vai al ponte": the editor hides, the manager waits with its caption and hint;
  // a double-click on room 12 inserts the link and brings the editor back, the manager's
  // hint its own again.
  const QString hint = part<QLabel>(m, "Label1")->text();
  select(e, "Vai al ponte");
  QTest::keyClick(area(e), Qt::Key_F2);
  QVERIFY(!shown(main, e) && shown(main, m));
  QCOMPARE(m->windowTitle(), kChoose);
  QCOMPARE(part<QLabel>(m, "Label1")->text(), kChoose);
  doubleClickRoom(m, "12");
  QTRY_VERIFY(shown(main, e));
  QCOMPARE(e->text(), QString("Sei al vecchio cartello.\n<a href=\"12.htm\">Vai al ponte</a>"));
  QCOMPARE(part<QLabel>(m, "Label1")->text(), hint);

  // Closing saves room 3 and restores the manager, its choice over.
  QTest::keyClick(area(e), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/3"), std::string("Sei al vecchio cartello.\r\n<a href=\"12.htm\">Vai al ponte</a>\r\n"));
  QVERIFY(shown(main, m));
  QCOMPARE(m->windowTitle(), QString("Gestione del Progetto \"Il Ponte\""));
  QVERIFY(m->NomeLink.isEmpty() && m->Modi.isEmpty());
  QVERIFY(!part<QWidget>(main, "Picture3")->isVisible());

  // F8: the whole book in Output, index.htm in the browser, neither the bytes nor the times
  // of the room files changed.
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
  for (int i = 0; i < 13; ++i) std::filesystem::last_write_time((folder + "/" + QString::number(i)).toStdString(), old);
  const auto before = snapshot(folder);
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F8);
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/index.htm"));
  QTRY_VERIFY(!main->editor());
  for (int i = 0; i < 13; ++i) {
    QVERIFY(QFile::exists(f.home() + "/Output/" + QString::number(i) + ".htm"));
    QVERIFY(std::filesystem::last_write_time((folder + "/" + QString::number(i)).toStdString()) == old);
  }
  QVERIFY(QString::fromStdString(readBytes(f.home() + "/Output/3.htm")).contains("<a href=\"12.htm\">Vai al ponte</a>"));
  QVERIFY(m->CompilaTutto.isEmpty());
  QCOMPARE(snapshot(folder), before);
  QVERIFY(shown(main, m));
}

void RoomEditorTest::loadSaveUndoAndRedo() {
  OPEN_LIBRO(8);

  // Windows-1252 bytes and odd line ends open as lines (the line rules are checked in
  // editor_file_test); an edit rewrites only its own line.
  writeBytes(folder + "/3", "perch\xE9\nsenza\rfine \x80");
  RoomEditorWindow* e = openEditor(f, folder, "3");
  QCOMPARE(area(e)->toPlainText(), QString::fromUtf8("perch\xC3\xA9\nsenza\nfine \xE2\x82\xAC"));
  area(e)->moveCursor(QTextCursor::End);
  QTest::keyClicks(area(e), "!");
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/3"), std::string("perch\xE9\nsenza\rfine \x80!\r\n"));
  // (What a typed line becomes in the book's encoding is checked in editor_file_test and
  // through the one-page book below.)

  // Shift+Enter, and pasted line and paragraph separators, make real lines written with CR LF.
  writeBytes(folder + "/2", "perch\xE9\r\n");
  e = openEditor(f, folder, "2");
  QTest::keyClick(area(e), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(area(e), Qt::Key_Return);
  QTest::keyClicks(area(e), "Riga A");
  QTest::keyClick(area(e), Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(area(e), "Riga B");
  QApplication::clipboard()->setText(QString("x") + QChar::LineSeparator + "y" + QChar::ParagraphSeparator + "z");
  menuItem(e, "IncollaTesto")->trigger();
  QTest::keyClick(area(e), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/2"), std::string("perch\xE9\r\nRiga A\r\nRiga Bx\r\ny\r\nz\r\n"));

  // A missing room opens empty and is created at close.
  QFile::remove(folder + "/5");
  e = openEditor(f, folder, "5");
  QCOMPARE(e->text(), QString());
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/5"), std::string("\r\n"));
  QVERIFY(main->manager() == m && shown(main, m));

  // The text as loaded is the bottom of the history: "Annulla" six times right after a
  // room of three lines opens changes nothing, and Esc writes the room back unchanged.
  writeBytes(folder + "/1", "uno\r\ndue\r\ntre\r\n");
  e = openEditor(f, folder, "1");
  for (int i = 0; i < 6; ++i) button(e, "Annulla")->click();
  QCOMPARE(e->text(), QString("uno\ndue\ntre"));
  QTest::keyClick(area(e), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/1"), std::string("uno\r\ndue\r\ntre\r\n"));
  // Undo after an edit stops at the text as loaded; redo brings the edit back.
  e = openEditor(f, folder, "1");
  QTest::keyClicks(area(e), "!");
  for (int i = 0; i < 3; ++i) button(e, "Annulla")->click();
  QCOMPARE(e->text(), QString("uno\ndue\ntre"));
  button(e, "Ripeti")->click();
  QCOMPARE(e->text(), QString("uno\ndue\ntre!"));
  button(e, "Annulla")->click();
  QVERIFY(e->closeEditor());

  // (How far back the history goes: edit_history_test.)

  // Each opening starts a fresh history: undo never brings another room's text here.
  e = openEditor(f, folder, "2");
  QTest::keyClicks(area(e), "altra stanza");
  e = openEditor(f, folder, "1");
  QCOMPARE(e->text(), QString("uno\ndue\ntre"));
  for (int i = 0; i < 10; ++i) e->undo();
  QCOMPARE(e->text(), QString("uno\ndue\ntre"));
}

void RoomEditorTest::closingWithoutSavingAndAFailedSave() {
  OPEN_LIBRO(3);
  const double tppX = 1440.0 / main->logicalDpiX(), tppY = 1440.0 / main->logicalDpiY();
  auto px = [](long twips, double tpp) { return int(std::lround(twips / tpp)); };

  // A top of 100 twips opens at 400; width and height as stored.
  writeBytes(f.home() + "/Editor.ini", "100\r\n300\r\n8000\r\n6000\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");
  QCOMPARE(main->childGeometry(e), QRect(px(300, tppX), px(400, tppY), px(8000, tppX), px(6000, tppY)));

  // F9 on a changed text asks once; No keeps the editor and its text, Yes closes without
  // touching the file, writes Editor.ini and restores the manager.
  area(e)->setPlainText("cambiato");
  main->placeChild(e, QRect(20, 30, 600, 500));
  f.prompts.calls.clear();
  QTest::keyClick(area(e), Qt::Key_F9);
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"question: Chiudere senza salvare? Le modifiche andranno perse."});
  QCOMPARE(main->editor(), e);
  QCOMPARE(e->text(), QString("cambiato"));
  f.prompts.answer_question(true);
  QTest::keyClick(area(e), Qt::Key_F9);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(int(f.prompts.calls.size()), 2);
  QCOMPARE(readBytes(folder + "/1"), std::string("Testo 1\r\n"));
  QVERIFY(placementSaved(main, f.home() + "/Editor.ini", QRect(20, 30, 600, 500)));
  QVERIFY(shown(main, m));

  // An editor closed before its load writes nothing.
  RoomEditorWindow* early = main->openEditorFresh();
  early->Percorso = folder;
  early->Nome = "2";
  QVERIFY(early->closeEditor());
  QCOMPARE(readBytes(folder + "/2"), std::string("Testo 2\r\n"));

  // Without Editor.ini: the default size, centred. F9 on a text as loaded asks nothing.
  QFile::remove(f.home() + "/Editor.ini");
  e = openEditor(f, folder, "2");
  QCOMPARE(main->childGeometry(e).size(), QSize(px(9600, tppX), px(7200, tppY)));
  f.prompts.calls.clear();
  QTest::keyClick(area(e), Qt::Key_F9);
  QTRY_VERIFY(!main->editor());
  QVERIFY(f.prompts.calls.empty());
  e = openEditor(f, folder, "2");

  // The room file has become a folder: the save fails, says so and keeps everything, and
  // opening another room does not throw the text away either.
  area(e)->moveCursor(QTextCursor::End);
  QTest::keyClicks(area(e), " e altro");
  QFile::remove(folder + "/2");
  QDir().mkpath(folder + "/2");
  f.prompts.calls.clear();
  QTest::keyClick(area(e), Qt::Key_Escape);
  QVERIFY(main->editor() == e && shown(main, e));
  QCOMPARE(int(f.prompts.calls.size()), 1);
  QVERIFY(QString::fromStdString(f.prompts.calls[0].text).contains(folder + "/2"));
  QCOMPARE(e->text(), QString("Testo 2 e altro"));
  QVERIFY(!main->openEditorFresh());
  QCOMPARE(main->editor(), e);
  e->undo();
  QCOMPARE(e->text(), QString("Testo 2 e altr"));
  e->redo();

  // Once the problem is gone, closing saves.
  QDir(folder + "/2").removeRecursively();
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/2"), std::string("Testo 2 e altro\r\n"));
  QVERIFY(shown(main, m));
}

void RoomEditorTest::restrictedModes() {
  OPEN_LIBRO(3);

  // Global code: F2 to F9 and "Collega Con..." do nothing; the last two buttons still work.
  writeBytes(folder + "/Global.cod", "<b>\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "Global.cod");
  e->setRestricted(true);
  area(e)->setPlainText("cambiato");
  f.prompts.calls.clear();
  for (int k : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9})
    QTest::keyClick(area(e), Qt::Key(k));
  QVERIFY(!menuItem(e, "Collega")->isEnabled());
  menuItem(e, "Collega")->trigger();
  QTest::qWait(250);
  QCOMPARE(main->editor(), e);
  QVERIFY(m->Modi.isEmpty() && m->Modi2.isEmpty() && m->Link.isEmpty() && m->NomeLink.isEmpty());
  QVERIFY(f.prompts.calls.empty());
  QVERIFY(!QFile::exists(f.home() + "/Output/index.htm"));
  for (const char* name : {"Collega", "Timer", "Indietro", "Immagini", "Script", "Test", "Annulla", "Ripeti", "Trova"})
    QVERIFY2(!button(e, name)->isEnabled(), name);
  QVERIFY(button(e, "Suono")->isEnabled());
  f.prompts.answer_question(true);
  button(e, "ChiudiSenzaSalvare")->click();
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/Global.cod"), std::string("<b>\r\n"));

  // The style sheet (command "4"): restricted, 9 points, only F1 (its own help page).
  main->editStyleSheet();
  QVERIFY((e = loadedEditor(main)));
  QCOMPARE(e->Nome, QString("adv.css"));
  QVERIFY(e->restricted());
  QCOMPARE(area(e)->font().pointSize(), 9);
  QVERIFY(!shown(main, m));
  f.platform.calls.clear();
  QTest::keyClick(area(e), Qt::Key_F8);
  QTest::keyClick(area(e), Qt::Key_F1);
  QCOMPARE(int(f.platform.calls.size()), 1);
  QVERIFY(QString::fromStdString(f.platform.calls[0].target).endsWith("/Help/layout.htm"));
  QTest::keyClick(area(e), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());

  // A room: the link commands back, 12 points, F1 opens the editor's page.
  e = openEditor(f, folder, "1");
  QVERIFY(!e->restricted());
  QVERIFY(menuItem(e, "Collega")->isEnabled());
  QCOMPARE(area(e)->font().pointSize(), 12);
  QTest::keyClick(area(e), Qt::Key_F1);
  QVERIFY(QString::fromStdString(f.platform.calls.back().target).endsWith("/Help/editor.htm"));
}

void RoomEditorTest::linkTimerAndBackLink() {
  OPEN_LIBRO(9);
  writeBytes(folder + "/3", "Vai al ponte\r\n");
  doubleClickRoom(m, "3");
  RoomEditorWindow* e = loadedEditor(main);
  QVERIFY(e);

  // F2 then Esc in the manager: nothing inserted, the editor back, the choice over.
  select(e, "Vai");
  QTest::keyClick(area(e), Qt::Key_F2);
  QVERIFY(shown(main, m));
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_Escape);
  QVERIFY(shown(main, e) && !shown(main, m));
  QVERIFY(m->Modi.isEmpty() && m->Link.isEmpty());
  QCOMPARE(e->text(), QString("Vai al ponte"));

  // F2 then F2 in the manager: a new room proposing the selected text, then chosen.
  select(e, "Vai");
  button(e, "Collega")->click();
  f.prompts.answer_input("Il ponte");
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F2);
  QTRY_COMPARE(m->entryCount(), 10);
  QCOMPARE(f.prompts.calls.back().default_text, std::string("Vai"));
  doubleClickRoom(m, "9");
  QTRY_VERIFY(shown(main, e));
  QCOMPARE(e->text(), QString("<a href=\"9.htm\">Vai</a> al ponte"));

  // F3: the seconds cancelled after a double-click insert nothing and end the choice.
  area(e)->moveCursor(QTextCursor::End);
  QTest::keyClick(area(e), Qt::Key_F3);
  QCOMPARE(m->windowTitle(), kChoose);
  f.prompts.answer_input(std::nullopt);
  doubleClickRoom(m, "7");
  QTRY_VERIFY(shown(main, e));
  QVERIFY(m->Modi2.isEmpty());
  QCOMPARE(e->text(), QString("<a href=\"9.htm\">Vai</a> al ponte"));
  // With an answer the redirect goes in at the caret.
  button(e, "Timer")->click();
  f.prompts.answer_input("5");
  doubleClickRoom(m, "7");
  QTRY_VERIFY(shown(main, e));
  QCOMPARE(e->text(), QString("<a href=\"9.htm\">Vai</a> al ponte<meta http-equiv='refresh' content='5; url=7.htm'>"));

  // F4: the back link (its mark-up is checked in editor_commands_test); cancelling, or an
  // answer that is no number, inserts nothing.
  const QString back = QString::fromStdString(pm::back_link_markup("5"));
  area(e)->clear();
  selectRoom(m, "7");
  f.prompts.answer_input("5");
  QTest::keyClick(area(e), Qt::Key_F4);
  QCOMPARE(f.prompts.calls.back().text, std::string("Inserire un numero espresso in secondi:"));
  QCOMPARE(f.prompts.calls.back().title, std::string("Contatore"));
  QCOMPARE(f.prompts.calls.back().default_text, std::string("0"));
  QCOMPARE(e->text(), back);
  f.prompts.answer_input(std::nullopt);
  button(e, "Indietro")->click();
  QCOMPARE(e->text(), back);
  f.prompts.answer_input("cinque");
  button(e, "Indietro")->click();
  QCOMPARE(e->text(), back);
  QCOMPARE(f.prompts.calls.back().text, std::string(pm::kBadSecondsMessage));
  // Each insertion is one change of the history.
  e->undo();
  QCOMPARE(e->text(), QString());

  // The manager's close refused while it waits: the whole choice is forgotten.
  QTest::keyClick(area(e), Qt::Key_F2);
  QCOMPARE(m->Link, QString("1"));
  QVERIFY(!m->closeWindow());
  QVERIFY(m->Modi.isEmpty() && m->Modi2.isEmpty() && m->Link.isEmpty());
  QVERIFY(shown(main, e));

  // The editor that asked closes while the manager waits: the choice goes with it, and
  // the manager opens rooms again.
  QTest::keyClick(area(e), Qt::Key_F3);
  QCOMPARE(m->Link, QString("2"));
  QVERIFY(e->closeEditor());
  QVERIFY(m->Modi.isEmpty() && m->Modi2.isEmpty() && m->Link.isEmpty());
  f.prompts.calls.clear();
  selectRoom(m, "2");
  part<QMenu>(m, "Menu1")->findChild<QAction*>("MenuApri")->trigger();
  QVERIFY(loadedEditor(main));
  QCOMPARE(main->editor()->Nome, QString("2"));
  QVERIFY(f.prompts.calls.empty());
}

void RoomEditorTest::followingLinks() {
  OPEN_LIBRO(3);
  writeBytes(folder + "/1", "<a href=\"40.htm\">Avanti</a> x12.htm 12.HTM 1/../../x.htm\r\n");
  writeBytes(folder + "/2", "");  // a deleted room: no bytes
  RoomEditorWindow* e = openEditor(f, folder, "1");

  // Selections that name no room do nothing.
  for (const char* s : {"x12.htm", "12.HTM", "1/../../x.htm", "Avanti"}) {
    select(e, s);
    menuItem(e, "SeguiLink")->trigger();
    QVERIFY2(!m->SegLink.isActive() && m->SeguiLink.isEmpty(), s);
  }

  // A missing room: the request is retried at a sane pace until it has waited its time
  // (on the test's clock), then a message names the room, and the editor stays.
  auto now = std::make_shared<std::chrono::steady_clock::time_point>(std::chrono::steady_clock::now());
  m->setFollowLinkClock([now] { return *now; });
  QVERIFY(m->SegLink.interval() >= 50);
  f.prompts.calls.clear();
  QSignalSpy ticks(&m->SegLink, &QTimer::timeout);
  m->SeguiLink = "40";
  m->SegLink.start();
  QTRY_VERIFY(ticks.count() >= 2);
  QVERIFY(m->SegLink.isActive() && f.prompts.calls.empty());
  *now += pm::kFollowLinkPatience;
  QTRY_VERIFY(!m->SegLink.isActive());
  QCOMPARE(promptTexts(f.prompts),
           std::vector<std::string>{"message: Impossibile seguire il collegamento: la Stanza \"40\" non esiste o è vuota."});
  QCOMPARE(main->editor(), e);

  // Room 40 written while the request waits: it opens, captioned as followed.
  select(e, "40.htm");
  menuItem(e, "SeguiLink")->trigger();
  QCOMPARE(m->SeguiLink, QString("40"));
  writeBytes(folder + "/40", "La quarantesima stanza\r\n");
  QTRY_VERIFY(main->editor() && main->editor() != e);
  e = main->editor();
  QTRY_COMPARE(e->windowTitle(), QString("Edita Stanza \"40 | Da Segui un Collegamento\""));
  QTRY_VERIFY(e->isLoaded());
  QCOMPARE(e->text(), QString("La quarantesima stanza"));
  QVERIFY(!m->SegLink.isActive() && !shown(main, m));
  QCOMPARE(readBytes(folder + "/1"), std::string("<a href=\"40.htm\">Avanti</a> x12.htm 12.HTM 1/../../x.htm\r\n"));

  // A target written by another window that names a file outside the project is dropped.
  m->SeguiLink = "../Libro/1";
  m->SegLink.start();
  QTRY_VERIFY(!m->SegLink.isActive());
  QCOMPARE(main->editor(), e);
}

void RoomEditorTest::roomTestsAndTheCompileDialog() {
  OPEN_LIBRO(6);

  // F7: the changed text is written and compiled with every other room; 3.htm opens.
  RoomEditorWindow* e = openEditor(f, folder, "3");
  area(e)->setPlainText("Il troll dorme.");
  QTest::keyClick(area(e), Qt::Key_F7);
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/3.htm"));
  QCOMPARE(readBytes(folder + "/3"), std::string("Il troll dorme.\r\n"));
  QVERIFY(QString::fromStdString(readBytes(f.home() + "/Output/3.htm")).contains("Il troll dorme."));
  for (const char* page : {"0.htm", "1.htm", "5.htm", "index.htm"})
    QVERIFY2(QFile::exists(f.home() + "/Output/" + page), page);
  QVERIFY(main->editor() == e && shown(main, e));

  // "Testa il progetto da qui..." on room 5: a fresh editor on room 5, the manager hidden.
  main->showChild(m, true);
  selectRoom(m, "5");
  part<QMenu>(m, "Menu1")->findChild<QAction*>("MenuTesta")->trigger();
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/5.htm"));
  QVERIFY(main->editor() && main->editor() != e);
  QCOMPARE(main->editor()->Nome, QString("5"));
  QCOMPARE(main->editor()->text(), QString("Testo 5"));
  QVERIFY(!shown(main, m));
  QCOMPARE(readBytes(folder + "/5"), std::string("Testo 5\r\n"));
  QVERIFY(main->editor()->closeEditor());

  for (QString pm::ManagerRequests::*flag : {&pm::ManagerRequests::CompilaTutto, &pm::ManagerRequests::CompilaTutto2}) {
    // A project test set for an editor that closes before its tick is dropped with it ...
    f.platform.calls.clear();
    e = openEditor(f, folder, "0");
    m->*flag = "1";
    e->Compila.start();
    QVERIFY(e->closeEditor());
    QVERIFY(m->CompilaTutto.isEmpty() && m->CompilaTutto2.isEmpty());

    // ... so the next room test saves the edits and keeps the editor open.
    e = openEditor(f, folder, "3");
    area(e)->setPlainText("Modificata");
    QTest::keyClick(area(e), Qt::Key_F7);
    QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/3.htm"));
    QCOMPARE(main->editor(), e);
    QCOMPARE(readBytes(folder + "/3"), std::string("Modificata\r\n"));
    QVERIFY(e->closeEditor());
  }

  // F7 in the tick of a project test: the editor closes, but with its edits saved.
  e = openEditor(f, folder, "3");
  area(e)->setPlainText("Salvata");
  m->CompilaTutto = "1";
  e->Compila.start();
  QTest::keyClick(area(e), Qt::Key_F7);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/3"), std::string("Salvata\r\n"));

  writeBytes(folder + "/1", "<a href=\"2.htm\">Avanti</a>\r\n");
  const auto before = snapshot(folder);

  // Command "8": the dialog, with the toolbar and the manager disabled while it is open.
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F9);
  QTRY_VERIFY(main->compileDialog());
  pm::CompileDialog* d = main->compileDialog();
  // The manager's frame too: its title-bar buttons do nothing.
  auto locked = [&] { return !part<QWidget>(main, "Picture2")->isEnabled() && !m->isEnabled() && !m->parentWidget()->isEnabled(); };
  // With no installer compiler here the dialog opens on the build without installer
  // (tested in installer_dialog_test).
  QVERIFY(part<QRadioButton>(d, "Option2")->isChecked());
  QVERIFY(locked());
  shoot(main, "compile_dialog");

  // Option 2: the site in Output, shown in the file manager; the host editor closes unsaved;
  // the compile's editor came and went and the toolbar and manager stay disabled.
  part<QRadioButton>(d, "Option2")->setChecked(true);
  part<QPushButton>(d, "Command1")->click();
  QTRY_VERIFY(recorded(f.platform, "folder", f.home() + "/Output"));
  QTRY_VERIFY(!main->editor());
  QVERIFY(QFile::exists(f.home() + "/Output/2.htm"));
  QVERIFY(m->CompilaTutto2.isEmpty());
  QCOMPARE(snapshot(folder), before);
  QCOMPARE(main->compileDialog(), d);
  QVERIFY(locked());

  // Option 3 (chosen by its caption): one page, the folder shown, the browser not opened.
  f.platform.calls.clear();
  QTest::mouseClick(d->findChild<QLabel*>("Option3Caption"), Qt::LeftButton);
  QVERIFY(part<QRadioButton>(d, "Option3")->isChecked() && !part<QRadioButton>(d, "Option2")->isChecked());
  part<QPushButton>(d, "Command1")->click();
  QTRY_VERIFY(recorded(f.platform, "folder", f.home() + "/Output"));
  QVERIFY(!QFile::exists(f.home() + "/Output/2.htm"));
  QVERIFY(QString::fromStdString(readBytes(f.home() + "/Output/index.htm")).contains("<a href=\"#2\">Avanti</a>"));
  QVERIFY(!recorded(f.platform, "open", f.home() + "/Output/index.htm"));
  QVERIFY(locked());

  // Esc closes the dialog and gives the toolbar and the manager back.
  QTest::keyClick(d, Qt::Key_Escape);
  QTRY_VERIFY(!main->compileDialog());
  QVERIFY(part<QWidget>(main, "Picture2")->isEnabled() && m->isEnabled() && m->parentWidget()->isEnabled());

  // The single-file button opens the page in the browser.
  f.platform.calls.clear();
  part<QToolButton>(main, "Image20")->click();
  QVERIFY(recorded(f.platform, "open", f.home() + "/Output/index.htm"));

  // A compile that cannot write Output says so instead of opening a page.
  f.platform.calls.clear();
  QDir(f.home() + "/Output").removeRecursively();
  writeBytes(f.home() + "/Output", "non una cartella");
  f.prompts.calls.clear();
  main->testProject();
  QTRY_VERIFY(!f.prompts.calls.empty());
  QVERIFY(f.prompts.calls.back().text.rfind("La compilazione non è riuscita del tutto:", 0) == 0);
  QTRY_VERIFY(!main->editor());
  QVERIFY(!recorded(f.platform, "open", f.home() + "/Output/index.htm"));
}

// With no browser and no file manager on the desktop, the room test, the one-page book and
// the compile dialog's site and single file each say so in one message that names the file
// or folder to open by hand; the book is compiled all the same.
void RoomEditorTest::aDesktopThatCannotOpenIsSaidOnce() {
  OPEN_LIBRO(3);
  f.platform.desktop_fails = true;
  const std::string output = (f.home() + "/Output").toStdString();
  const std::string noBrowser = "message: Impossibile avviare il browser: aprire a mano il file " + output;
  const std::vector<std::string> noFileManager{
      "message: Impossibile avviare il gestore dei file: aprire a mano la cartella " + output + "."};

  RoomEditorWindow* e = openEditor(f, folder, "1");
  QTest::keyClick(area(e), Qt::Key_F7);
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/1.htm"));
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{noBrowser + "/1.htm."});
  QVERIFY(QFile::exists(f.home() + "/Output/1.htm"));
  QVERIFY(e->closeEditor());

  f.prompts.calls.clear();
  part<QToolButton>(main, "Image20")->click();
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{noBrowser + "/index.htm."});

  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F9);
  QTRY_VERIFY(main->compileDialog());
  for (const char* option : {"Option2", "Option3"}) {
    f.prompts.calls.clear();
    f.platform.calls.clear();
    part<QRadioButton>(main->compileDialog(), option)->setChecked(true);
    part<QPushButton>(main->compileDialog(), "Command1")->click();
    QTRY_VERIFY(recorded(f.platform, "folder", f.home() + "/Output"));
    QTRY_VERIFY(!main->editor());
    QCOMPARE(promptTexts(f.prompts), noFileManager);
    QVERIFY(QFile::exists(f.home() + "/Output/index.htm"));
  }
}

void RoomEditorTest::contextMenuAndTextCommands() {
  OPEN_LIBRO(2);
  writeBytes(folder + "/1", "ab\r\nc\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");

  // "Conta Caratteri" on the lines ab and c reports 4.
  menuItem(e, "ContaCaratteri")->trigger();
  QCOMPARE(f.prompts.calls.back().text, std::string("Numero di Caratteri presenti: 4"));

  // Case changes, cut and paste through the clipboard; delete leaves the clipboard alone.
  select(e, "ab");
  menuItem(e, "TuttoMaiuscolo")->trigger();
  QCOMPARE(e->text(), QString("AB\nc"));
  menuItem(e, "SelezionaTutto")->trigger();
  menuItem(e, "TuttoMinuscolo")->trigger();
  QCOMPARE(e->text(), QString("ab\nc"));
  select(e, "ab");
  menuItem(e, "TagliaTesto")->trigger();
  QCOMPARE(e->text(), QString("\nc"));
  area(e)->moveCursor(QTextCursor::End);
  menuItem(e, "IncollaTesto")->trigger();
  QCOMPARE(e->text(), QString("\ncab"));
  select(e, "ca");
  menuItem(e, "EliminaTesto")->trigger();
  QCOMPARE(e->text(), QString("\nb"));
  QCOMPARE(QApplication::clipboard()->text(), QString("ab"));  // what the author copied is still there
  menuItem(e, "IncollaTesto")->trigger();
  QCOMPARE(e->text(), QString("\nabb"));

  // The date as a new project writes it, then the time with seconds.
  area(e)->clear();
  menuItem(e, "Data")->trigger();
  area(e)->insertPlainText(" ");
  menuItem(e, "Ora")->trigger();
  QVERIFY2(QRegularExpression(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d$)").match(e->text()).hasMatch(), qPrintable(e->text()));
  QCOMPARE(e->text().left(10), QString::fromStdString(pm::today_short_date()));

  // A mouse selection, a double-clicked word included, leaves the menu closed; the right
  // button opens it, and so do the Menu key and Shift+F10, at the caret.
  area(e)->setPlainText("abcdef");
  auto* menu = part<QMenu>(e, "Menu");
  const QPoint start = area(e)->cursorRect(QTextCursor(area(e)->document())).center();
  QTest::mousePress(area(e)->viewport(), Qt::LeftButton, {}, start - QPoint(2, 0));
  QTest::mouseMove(area(e)->viewport(), start + QPoint(30, 0));
  QTest::mouseRelease(area(e)->viewport(), Qt::LeftButton, {}, start + QPoint(30, 0));
  QTest::mouseDClick(area(e)->viewport(), Qt::LeftButton, {}, start + QPoint(6, 0), 500);
  QTest::mouseRelease(area(e)->viewport(), Qt::LeftButton, {}, start + QPoint(6, 0));
  QCOMPARE(area(e)->textCursor().selectedText(), QString("abcdef"));
  QTest::qWait(50);
  QVERIFY(!menu->isVisible());
  QTest::mousePress(area(e)->viewport(), Qt::RightButton, {}, start);
  QTRY_VERIFY(menu->isVisible());
  menu->hide();
  area(e)->moveCursor(QTextCursor::End);
  const QPoint caret = area(e)->viewport()->mapToGlobal(area(e)->cursorRect().bottomLeft());
  for (const auto& [k, mods] : {std::pair{Qt::Key_Menu, Qt::KeyboardModifiers{}}, std::pair{Qt::Key_F10, Qt::KeyboardModifiers{Qt::ShiftModifier}}}) {
    QTest::keyClick(area(e), k, mods);
    QTRY_VERIFY(menu->isVisible());
    QVERIFY2((menu->pos() - caret).manhattanLength() < 30, qPrintable(QString("%1,%2").arg(menu->x()).arg(menu->y())));
    menu->hide();
  }

  // Ctrl+B, Ctrl+I, Ctrl+U as the menu's commands; Ctrl+Z, Ctrl+Y and Ctrl+Shift+Z through
  // the editor's history.
  QStringList texts{e->text()};  // before each command, then after the last
  for (const auto& [key, command] : {std::pair{Qt::Key_B, pm::HtmlCommand::Bold}, std::pair{Qt::Key_I, pm::HtmlCommand::Italic},
                                     std::pair{Qt::Key_U, pm::HtmlCommand::Underline}}) {
    area(e)->selectAll();
    QTest::keyClick(area(e), key, Qt::ControlModifier);
    QCOMPARE(e->text().toStdString(), pm::html_command(command, texts.back().toStdString()).text);
    texts << e->text();
  }
  const std::tuple<Qt::Key, Qt::KeyboardModifiers, int> steps[] = {  // key, modifiers, the text it shows
      {Qt::Key_Z, Qt::ControlModifier, 2}, {Qt::Key_Z, Qt::ControlModifier, 1}, {Qt::Key_Y, Qt::ControlModifier, 2},
      {Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier, 3}};
  for (const auto& [key, mods, shown] : steps) {
    QTest::keyClick(area(e), key, mods);
    QCOMPARE(e->text(), texts[shown]);
  }
}

// A book written on Windows: room 3 in Windows-1252, room 4 plain ASCII. What is typed into
// room 4 is written in Windows-1252 too, so the one-page book holds one encoding and shows
// "città" in both rooms.
void RoomEditorTest::typedTextReachesTheOnePageBookInTheBooksEncoding() {
  OPEN_LIBRO(5);
  writeBytes(folder + "/3", "Citt\xE0 vecchia\r\n");
  writeBytes(folder + "/4", "Una strada\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "4");
  QVERIFY(e);
  QTest::keyClick(area(e), Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(area(e), Qt::Key_Return);
  typeText(area(e), QString::fromUtf8("La citt\xC3\xA0 nuova"));
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/4"), std::string("Una strada\r\nLa citt\xE0 nuova\r\n"));

  part<QToolButton>(main, "Image20")->click();
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/index.htm"));
  const std::string page = readBytes(f.home() + "/Output/index.htm");
  QVERIFY(page.find("Citt\xE0 vecchia<br>") != std::string::npos);
  QVERIFY(page.find("Una strada<br>La citt\xE0 nuova<br>") != std::string::npos);
  QVERIFY(!pm::is_valid_utf8(page));  // no UTF-8 anywhere beside the Windows-1252 bytes
  QVERIFY(page.find('\xC3') == std::string::npos);
}

QTEST_MAIN(RoomEditorTest)
#include "room_editor_test.moc"

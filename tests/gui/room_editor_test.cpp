// The room editor driven through the real windows: the author's typical road from opening
// a room to the compiled book, load and save round trips, undo and redo, restricted mode,
// link, timer and back-link insertion with their cancellations, following links, the
// room test, the project test and the compile dialog, and a save that fails.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QRegularExpression>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTextCursor>
#include <QToolButton>

#include "compiler/compile_dialog.h"
#include "editor/room_editor_window.h"
#include "project/clock_text.h"
#include "support/gui_fixture.h"

using namespace pmtest;
using pm::ProjectManagerWindow;
using pm::RoomEditorWindow;

namespace {

const QString kChoose = "Scegli una Stanza per creare un collegamento ad essa. Usa |F2| Per creare una nuova Stanza";

// A fresh editor on `name`, loaded.
RoomEditorWindow* openEditor(GuiFixture& f, const QString& folder, const QString& name) {
  RoomEditorWindow* e = f.main()->openEditorFresh();
  if (!e) return nullptr;
  e->Percorso = folder;
  e->Nome = name;
  (void)QTest::qWaitFor([e] { return e->isLoaded(); }, 3000);
  return e->isLoaded() ? e : nullptr;
}

void select(RoomEditorWindow* e, const QString& what) {
  const int at = e->text().indexOf(what);
  QVERIFY2(at >= 0, qPrintable(what));
  QTextCursor c = part<QPlainTextEdit>(e, "Text1")->textCursor();
  c.setPosition(at);
  c.setPosition(at + int(what.size()), QTextCursor::KeepAnchor);
  part<QPlainTextEdit>(e, "Text1")->setTextCursor(c);
}

QToolButton* button(RoomEditorWindow* e, const char* name) { return e->findChild<QToolButton*>(name); }

QAction* action(RoomEditorWindow* e, const char* name) { return part<QMenu>(e, "Menu")->findChild<QAction*>(name, Qt::FindChildrenRecursively); }

}  // namespace

// A window on a project "Libro" of `rooms` rooms, opened in the manager: f, main, folder, m.
#define OPEN_BOOK(rooms)                                                                  \
  GuiFixture f;                                                                           \
  [[maybe_unused]] pm::MainWindow* main = f.main();                                       \
  const QString folder = makeProject(f.projects(), "Libro", descriptions(rooms));         \
  [[maybe_unused]] ProjectManagerWindow* m = openProject(f, folder);                      \
  QVERIFY(m)

class RoomEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void typicalRoad();
  void loadAndSaveRoundTrips();
  void placementAndNoSave();
  void undoAndRedo();
  void restrictedModes();
  void linkTimerAndBackLink();
  void followingALinkToALaterRoom();
  void roomTests();
  void projectTestLeavesRoomFilesUntouched();
  void compileDialogAndSingleFile();
  void failedSaveKeepsTheText();
  void contextMenuAndTextCommands();
  void lineSeparatorsBecomeLines();
  void restrictedModeHasNoLinkCommands();
  void targetChoiceEndsWithItsEditor();
  void pendingCompileFlagsGoWithTheirEditor();
  void followingALinkToAMissingRoomGivesUp();
  void dateAndTimeInserts();
};

void RoomEditorTest::typicalRoad() {
  GuiFixture f;
  pm::MainWindow* main = f.main();
  const QString folder = makeProject(f.projects(), "Il Ponte", descriptions(13));
  writeBytes(folder + "/3", "Sei al vecchio cartello.\r\nVai al ponte\r\n");
  ProjectManagerWindow* m = openProject(f, folder);
  QVERIFY(m);

  // Room 3 opens in a fresh editor, captioned with its description, the room commands covered.
  doubleClickRoom(m, "3");
  QTRY_VERIFY(main->editor() && main->editor()->isLoaded());
  RoomEditorWindow* e = main->editor();
  QCOMPARE(e->Nome, QString("3"));
  QCOMPARE(e->windowTitle(), QString("Edita Stanza \"3 | Stanza 3\""));
  QCOMPARE(e->text(), QString("Sei al vecchio cartello.\nVai al ponte"));
  QVERIFY(part<QWidget>(main, "Picture3")->isVisible());
  QVERIFY(!shown(main, m));
  shoot(main, "room_editor");

  // F2 on "Vai al ponte": the editor hides, the manager waits with its caption and hint.
  select(e, "Vai al ponte");
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F2);
  QVERIFY(!shown(main, e));
  QVERIFY(shown(main, m));
  QCOMPARE(m->windowTitle(), kChoose);
  QCOMPARE(part<QLabel>(m, "Label1")->text(), kChoose);
  QCOMPARE(m->Modi, QString("1"));
  QCOMPARE(m->Link, QString("1"));
  QCOMPARE(m->NomeLink, QString("1"));

  // A double-click on room 12 inserts the link and brings the editor back.
  doubleClickRoom(m, "12");
  QTRY_VERIFY(shown(main, e));
  QCOMPARE(e->text(), QString("Sei al vecchio cartello.\n<a href=\"12.htm\">Vai al ponte</a>"));

  // Closing saves room 3 and restores the manager.
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/3"), std::string("Sei al vecchio cartello.\r\n<a href=\"12.htm\">Vai al ponte</a>\r\n"));
  QVERIFY(shown(main, m));
  QCOMPARE(m->windowTitle(), QString("Gestione del Progetto \"Il Ponte\""));
  QVERIFY(m->NomeLink.isEmpty() && m->Modi.isEmpty());
  QVERIFY(!part<QWidget>(main, "Picture3")->isVisible());

  // F8: the whole book in Output, index.htm in the browser, every room file untouched.
  const auto before = snapshot(folder);
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F8);
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/index.htm"));
  QTRY_VERIFY(!main->editor());
  for (int i = 0; i < 13; ++i) QVERIFY(QFile::exists(f.home() + "/Output/" + QString::number(i) + ".htm"));
  QVERIFY(QString::fromStdString(readBytes(f.home() + "/Output/3.htm")).contains("<a href=\"12.htm\">Vai al ponte</a>"));
  QVERIFY(m->CompilaTutto.isEmpty());
  QCOMPARE(snapshot(folder), before);
  QVERIFY(shown(main, m));
}

void RoomEditorTest::loadAndSaveRoundTrips() {
  OPEN_BOOK(8);

  // Lines a and b with CR LF open as a, line break, b and are written back as read.
  writeBytes(folder + "/1", "a\r\nb\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");
  QCOMPARE(part<QPlainTextEdit>(e, "Text1")->toPlainText(), QString("a\nb"));
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/1"), std::string("a\r\nb\r\n"));

  // Windows-1252 bytes and odd line ends: an edit rewrites only its own line.
  writeBytes(folder + "/3", "perch\xE9\nsenza\rfine \x80");
  e = openEditor(f, folder, "3");
  QCOMPARE(e->text(), QString::fromUtf8("perch\xC3\xA9\nsenza\nfine \xE2\x82\xAC"));
  part<QPlainTextEdit>(e, "Text1")->moveCursor(QTextCursor::End);
  QTest::keyClicks(part<QPlainTextEdit>(e, "Text1"), "!");
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/3"), std::string("perch\xE9\nsenza\rfine \x80!\r\n"));

  // A missing room opens empty and is created at close.
  QFile::remove(folder + "/5");
  e = openEditor(f, folder, "5");
  QCOMPARE(e->text(), QString());
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/5"), std::string("\r\n"));
  QVERIFY(main->manager() == m && shown(main, m));
}

void RoomEditorTest::placementAndNoSave() {
  OPEN_BOOK(3);
  const double tppX = 1440.0 / main->logicalDpiX(), tppY = 1440.0 / main->logicalDpiY();
  auto px = [](long twips, double tpp) { return int(std::lround(twips / tpp)); };

  // A top of 100 twips opens at 400; width and height as stored.
  writeBytes(f.home() + "/Editor.ini", "100\r\n300\r\n8000\r\n6000\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");
  QCOMPARE(main->childGeometry(e), QRect(px(300, tppX), px(400, tppY), px(8000, tppX), px(6000, tppY)));

  // F9 closes without touching the file, writes Editor.ini and restores the manager.
  part<QPlainTextEdit>(e, "Text1")->setPlainText("cambiato");
  main->placeChild(e, QRect(20, 30, 600, 500));
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F9);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/1"), std::string("Testo 1\r\n"));
  QVERIFY(placementSaved(main, f.home() + "/Editor.ini", QRect(20, 30, 600, 500)));
  QVERIFY(shown(main, m));

  // Without Editor.ini: the default size, centred.
  QFile::remove(f.home() + "/Editor.ini");
  e = openEditor(f, folder, "1");
  QCOMPARE(main->childGeometry(e).size(), QSize(px(9600, tppX), px(7200, tppY)));

  // An editor closed before its load writes nothing.
  RoomEditorWindow* early = main->openEditorFresh();
  early->Percorso = folder;
  early->Nome = "2";
  QVERIFY(early->closeEditor());
  QCOMPARE(readBytes(folder + "/2"), std::string("Testo 2\r\n"));
}

void RoomEditorTest::undoAndRedo() {
  OPEN_BOOK(3);

  // Right after a room of three lines opens: the final line end, then line by line.
  writeBytes(folder + "/1", "uno\r\ndue\r\ntre\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");
  e->undo();
  QCOMPARE(e->text(), QString("uno\ndue\ntre\n"));
  button(e, "Annulla")->click();
  QCOMPARE(e->text(), QString("uno\ndue\n"));
  e->undo();
  QCOMPARE(e->text(), QString("uno\n"));
  button(e, "Ripeti")->click();
  QCOMPARE(e->text(), QString("uno\ndue\n"));

  // Sixty changes: fifty undos reach the oldest kept text, one more does nothing; redo
  // goes back up to the newest text and stops there.
  writeBytes(folder + "/2", "");
  e = openEditor(f, folder, "2");
  QString typed;
  for (int i = 0; i < 60; ++i) typed += QChar('a' + i % 26);
  QTest::keyClicks(part<QPlainTextEdit>(e, "Text1"), typed);
  QCOMPARE(e->text(), typed);
  QCOMPARE(e->history().position(), 50);
  for (int i = 0; i < 50; ++i) e->undo();
  QCOMPARE(e->text(), typed.left(10));
  e->undo();
  QCOMPARE(e->text(), typed.left(10));
  for (int i = 0; i < 50; ++i) e->redo();
  QCOMPARE(e->text(), typed);
  e->redo();
  QCOMPARE(e->text(), typed);

  // Each opening starts a fresh history: undo never brings another room's text here.
  // (Room 1 was saved as it stood when room 2 was opened.)
  e = openEditor(f, folder, "1");
  QCOMPARE(e->text(), QString("uno\ndue\n"));
  for (int i = 0; i < 10; ++i) e->undo();
  QCOMPARE(e->text(), QString());
  for (int i = 0; i < 10; ++i) e->redo();
  QCOMPARE(e->text(), QString("uno\ndue\n"));
}

void RoomEditorTest::restrictedModes() {
  OPEN_BOOK(3);

  // Global code: F2 to F7 and F9 do nothing; the last two buttons still work.
  writeBytes(folder + "/Global.cod", "<b>\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "Global.cod");
  e->setRestricted(true);
  QVERIFY(e->restricted());
  part<QPlainTextEdit>(e, "Text1")->setPlainText("cambiato");
  f.prompts.calls.clear();
  for (int k : {Qt::Key_F2, Qt::Key_F3, Qt::Key_F4, Qt::Key_F5, Qt::Key_F6, Qt::Key_F7, Qt::Key_F8, Qt::Key_F9})
    QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key(k));
  QTest::qWait(250);
  QCOMPARE(main->editor(), e);
  QVERIFY(m->Modi.isEmpty() && m->Modi2.isEmpty() && m->Link.isEmpty());
  QVERIFY(f.prompts.calls.empty());
  QVERIFY(!QFile::exists(f.home() + "/Output/index.htm"));
  for (const char* name : {"Collega", "Timer", "Indietro", "Immagini", "Script", "Test", "Annulla", "Ripeti", "Trova"})
    QVERIFY2(!button(e, name)->isEnabled(), name);
  QVERIFY(button(e, "Suono")->isEnabled());
  button(e, "ChiudiSenzaSalvare")->click();
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/Global.cod"), std::string("<b>\r\n"));

  // The style sheet (command "4"): restricted, 9 points, only F1 (its own help page).
  main->runCommand("4");
  QTRY_VERIFY(main->editor() && main->editor()->isLoaded());
  e = main->editor();
  QCOMPARE(e->Nome, QString("adv.css"));
  QVERIFY(e->restricted());
  QCOMPARE(part<QPlainTextEdit>(e, "Text1")->font().pointSize(), 9);
  QVERIFY(!shown(main, m));
  f.platform.calls.clear();
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F8);
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F1);
  QCOMPARE(int(f.platform.calls.size()), 1);
  QVERIFY(QString::fromStdString(f.platform.calls[0].target).endsWith("/Help/layout.htm"));
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());

  // A room: F1 opens the editor's page.
  e = openEditor(f, folder, "1");
  QVERIFY(!e->restricted());
  QCOMPARE(part<QPlainTextEdit>(e, "Text1")->font().pointSize(), 12);
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F1);
  QVERIFY(QString::fromStdString(f.platform.calls.back().target).endsWith("/Help/editor.htm"));
}

void RoomEditorTest::linkTimerAndBackLink() {
  OPEN_BOOK(9);
  writeBytes(folder + "/3", "Vai al ponte\r\n");
  doubleClickRoom(m, "3");
  QTRY_VERIFY(main->editor() && main->editor()->isLoaded());
  RoomEditorWindow* e = main->editor();

  // F2 then Esc in the manager: nothing inserted, the editor back, the choice over.
  select(e, "Vai");
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F2);
  QVERIFY(shown(main, m));
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_Escape);
  QVERIFY(shown(main, e));
  QVERIFY(!shown(main, m));
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
  part<QPlainTextEdit>(e, "Text1")->moveCursor(QTextCursor::End);
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F3);
  QCOMPARE(m->Modi2, QString("1"));
  QCOMPARE(m->Link, QString("2"));
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

  // F4: the back link to the room selected in the manager; cancelling inserts nothing.
  part<QPlainTextEdit>(e, "Text1")->clear();
  selectRoom(m, "7");
  f.prompts.answer_input("5");
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F4);
  QCOMPARE(f.prompts.calls.back().text, std::string("Inserire un numero epresso in secondi:"));
  QCOMPARE(f.prompts.calls.back().title, std::string("Contatore"));
  QCOMPARE(f.prompts.calls.back().default_text, std::string("0"));
  QCOMPARE(e->text(),
           QString("<a href='7.htm'><--</a><meta http-equiv='refresh' content='5; url=javascript:history.back()'>"));
  f.prompts.answer_input(std::nullopt);
  button(e, "Indietro")->click();
  QCOMPARE(e->text(),
           QString("<a href='7.htm'><--</a><meta http-equiv='refresh' content='5; url=javascript:history.back()'>"));
  // Each insertion is one change of the history.
  e->undo();
  QCOMPARE(e->text(), QString());
}

void RoomEditorTest::followingALinkToALaterRoom() {
  OPEN_BOOK(3);
  writeBytes(folder + "/1", "<a href=\"40.htm\">Avanti</a> x12.htm 12.HTM 1/../../x.htm\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");

  // Selections that name no room do nothing.
  for (const char* s : {"x12.htm", "12.HTM", "1/../../x.htm", "Avanti"}) {
    select(e, s);
    action(e, "SeguiLink")->trigger();
    QVERIFY2(!m->SegLink.isActive(), s);
    QVERIFY(m->SeguiLink.isEmpty());
  }

  // Room 40 does not exist yet: the request waits, the editor stays.
  select(e, "40.htm");
  action(e, "SeguiLink")->trigger();
  QCOMPARE(m->SeguiLink, QString("40"));
  QTest::qWait(300);
  QVERIFY(m->SegLink.isActive());
  QCOMPARE(main->editor(), e);
  writeBytes(folder + "/40", "");  // an empty text file counts as missing
  QTest::qWait(200);
  QCOMPARE(main->editor(), e);

  // Once room 40 has a text the pending request opens it, captioned as followed.
  writeBytes(folder + "/40", "La quarantesima stanza\r\n");
  QTRY_VERIFY(main->editor() && main->editor() != e);
  e = main->editor();
  QCOMPARE(e->Nome, QString("40"));
  QTRY_COMPARE(e->windowTitle(), QString("Edita Stanza \"40 | Da Segui un Collegamento\""));
  QTRY_VERIFY(e->isLoaded());
  QCOMPARE(e->text(), QString("La quarantesima stanza"));
  QVERIFY(!m->SegLink.isActive());
  QVERIFY(!shown(main, m));
  QCOMPARE(readBytes(folder + "/1"), std::string("<a href=\"40.htm\">Avanti</a> x12.htm 12.HTM 1/../../x.htm\r\n"));

  // A target written by another window that names a file outside the project is dropped.
  m->SeguiLink = "../Libro/1";
  m->SegLink.start();
  QTRY_VERIFY(!m->SegLink.isActive());
  QCOMPARE(main->editor(), e);
}

void RoomEditorTest::roomTests() {
  OPEN_BOOK(6);

  // F7: the changed text is written and compiled with every other room; 3.htm opens.
  RoomEditorWindow* e = openEditor(f, folder, "3");
  part<QPlainTextEdit>(e, "Text1")->setPlainText("Il troll dorme.");
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F7);
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/3.htm"));
  QCOMPARE(readBytes(folder + "/3"), std::string("Il troll dorme.\r\n"));
  QVERIFY(QString::fromStdString(readBytes(f.home() + "/Output/3.htm")).contains("Il troll dorme."));
  for (const char* page : {"0.htm", "1.htm", "5.htm", "index.htm"})
    QVERIFY2(QFile::exists(f.home() + "/Output/" + page), page);
  QCOMPARE(main->editor(), e);
  QVERIFY(shown(main, e));

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
}

void RoomEditorTest::projectTestLeavesRoomFilesUntouched() {
  OPEN_BOOK(4);
  writeBytes(folder + "/0", "Inizio senza fine riga");
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
  for (const char* room : {"0", "1", "2", "3"}) std::filesystem::last_write_time((folder + "/" + room).toStdString(), old);
  const auto before = snapshot(folder);

  main->runCommand("7");
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/index.htm"));
  QTRY_VERIFY(!main->editor());
  QCOMPARE(snapshot(folder), before);
  for (const char* room : {"0", "1", "2", "3"})
    QVERIFY2(std::filesystem::last_write_time((folder + "/" + room).toStdString()) == old, room);
  QVERIFY(m->CompilaTutto.isEmpty());
  QVERIFY(shown(main, m));

  // A compile that cannot write Output says so instead of opening a page.
  f.platform.calls.clear();
  QDir(f.home() + "/Output").removeRecursively();
  writeBytes(f.home() + "/Output", "non una cartella");
  f.prompts.calls.clear();
  main->runCommand("7");
  QTRY_VERIFY(!f.prompts.calls.empty());
  QVERIFY(f.prompts.calls.back().text.rfind("La compilazione non è riuscita del tutto:", 0) == 0);
  QTRY_VERIFY(!main->editor());
  QVERIFY(!recorded(f.platform, "open", f.home() + "/Output/index.htm"));
}

void RoomEditorTest::compileDialogAndSingleFile() {
  OPEN_BOOK(3);
  writeBytes(folder + "/1", "<a href=\"2.htm\">Avanti</a>\r\n");

  // Command "8": the dialog, with the toolbar and the manager disabled while it is open.
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F9);
  QTRY_VERIFY(main->compileDialog());
  pm::CompileDialog* d = main->compileDialog();
  QCOMPARE(d->windowTitle(), QString("Compilazione di un progetto"));
  // The dialog opens on the installer build (tested in installer_dialog_test).
  QVERIFY(part<QRadioButton>(d, "Option1")->isChecked());
  QVERIFY(!part<QWidget>(main, "Picture2")->isEnabled());
  QVERIFY(!m->isEnabled());
  QVERIFY(!m->parentWidget()->isEnabled());  // its frame too: the title-bar buttons do nothing
  shoot(main, "compile_dialog");

  // Option 2: the site in Output, shown in the file manager; the host editor closes unsaved.
  const auto before = snapshot(folder);
  part<QRadioButton>(d, "Option2")->setChecked(true);
  part<QPushButton>(d, "Command1")->click();
  QTRY_VERIFY(recorded(f.platform, "folder", f.home() + "/Output"));
  QTRY_VERIFY(!main->editor());
  QVERIFY(QFile::exists(f.home() + "/Output/2.htm"));
  QVERIFY(m->CompilaTutto2.isEmpty());
  QCOMPARE(snapshot(folder), before);
  QCOMPARE(main->compileDialog(), d);
  QVERIFY(!part<QWidget>(main, "Picture2")->isEnabled());  // the compile's editor came and went: still disabled
  QVERIFY(!m->isEnabled());

  // Option 3 (chosen by its caption): one page, the folder shown, the browser not opened.
  f.platform.calls.clear();
  QTest::mouseClick(d->findChild<QLabel*>("Option3Caption"), Qt::LeftButton);
  QVERIFY(part<QRadioButton>(d, "Option3")->isChecked() && !part<QRadioButton>(d, "Option2")->isChecked());
  part<QPushButton>(d, "Command1")->click();
  QTRY_VERIFY(recorded(f.platform, "folder", f.home() + "/Output"));
  QVERIFY(!QFile::exists(f.home() + "/Output/2.htm"));
  const QString single = QString::fromStdString(readBytes(f.home() + "/Output/index.htm"));
  QVERIFY(single.contains("<a href=\"#2\">Avanti</a>"));
  QVERIFY(!recorded(f.platform, "open", f.home() + "/Output/index.htm"));
  QVERIFY(main->NoBrowser.isEmpty());
  QVERIFY(!part<QWidget>(main, "Picture2")->isEnabled());
  QVERIFY(!m->isEnabled());

  // Esc closes the dialog and gives the toolbar and the manager back.
  QTest::keyClick(d, Qt::Key_Escape);
  QTRY_VERIFY(!main->compileDialog());
  QVERIFY(part<QWidget>(main, "Picture2")->isEnabled());
  QVERIFY(m->isEnabled());
  QVERIFY(m->parentWidget()->isEnabled());

  // The single-file button opens the page in the browser.
  f.platform.calls.clear();
  part<QToolButton>(main, "Image20")->click();
  QVERIFY(recorded(f.platform, "open", f.home() + "/Output/index.htm"));
}

void RoomEditorTest::failedSaveKeepsTheText() {
  OPEN_BOOK(3);
  RoomEditorWindow* e = openEditor(f, folder, "2");
  part<QPlainTextEdit>(e, "Text1")->moveCursor(QTextCursor::End);
  QTest::keyClicks(part<QPlainTextEdit>(e, "Text1"), " e altro");

  // The room file has become a folder: the save fails, says so and keeps everything.
  QFile::remove(folder + "/2");
  QDir().mkpath(folder + "/2");
  f.prompts.calls.clear();
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_Escape);
  QCOMPARE(main->editor(), e);
  QVERIFY(shown(main, e));
  QCOMPARE(int(f.prompts.calls.size()), 1);
  QVERIFY(QString::fromStdString(f.prompts.calls[0].text).contains(folder + "/2"));
  QCOMPARE(e->text(), QString("Testo 2 e altro"));
  // Opening another room does not throw the text away either.
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

void RoomEditorTest::contextMenuAndTextCommands() {
  OPEN_BOOK(2);
  writeBytes(folder + "/1", "ab\r\nc\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");

  // "Conta Caratteri" on the lines ab and c reports 4.
  action(e, "ContaCaratteri")->trigger();
  QCOMPARE(f.prompts.calls.back().text, std::string("Numero di Caratteri presenti: 4"));

  // Case changes, cut and paste through the clipboard, delete also copies.
  select(e, "ab");
  action(e, "TuttoMaiuscolo")->trigger();
  QCOMPARE(e->text(), QString("AB\nc"));
  action(e, "SelezionaTutto")->trigger();
  action(e, "TuttoMinuscolo")->trigger();
  QCOMPARE(e->text(), QString("ab\nc"));
  select(e, "ab");
  action(e, "TagliaTesto")->trigger();
  QCOMPARE(e->text(), QString("\nc"));
  part<QPlainTextEdit>(e, "Text1")->moveCursor(QTextCursor::End);
  action(e, "IncollaTesto")->trigger();
  QCOMPARE(e->text(), QString("\ncab"));
  select(e, "cab");
  action(e, "EliminaTesto")->trigger();
  action(e, "IncollaTesto")->trigger();
  action(e, "IncollaTesto")->trigger();
  QCOMPARE(e->text(), QString("\ncabcab"));

  // A mouse selection of three characters opens the menu on release; two do not.
  part<QPlainTextEdit>(e, "Text1")->setPlainText("abcdef");
  const QPoint start = part<QPlainTextEdit>(e, "Text1")->cursorRect(QTextCursor(part<QPlainTextEdit>(e, "Text1")->document())).center();
  auto dragTo = [&](int chars) {
    part<QPlainTextEdit>(e, "Text1")->moveCursor(QTextCursor::End);  // a press inside a selection would drag the text
    QTextCursor c(part<QPlainTextEdit>(e, "Text1")->document());
    c.setPosition(chars);
    const QPoint end = part<QPlainTextEdit>(e, "Text1")->cursorRect(c).center();
    // (The delay keeps the press from counting as a double-click of the previous one.)
    QTest::mousePress(part<QPlainTextEdit>(e, "Text1")->viewport(), Qt::LeftButton, {}, start - QPoint(2, 0),
                      QApplication::doubleClickInterval() + 100);
    QTest::mouseMove(part<QPlainTextEdit>(e, "Text1")->viewport(), end);
    QTest::mouseRelease(part<QPlainTextEdit>(e, "Text1")->viewport(), Qt::LeftButton, {}, end);
  };
  dragTo(2);
  QCOMPARE(part<QPlainTextEdit>(e, "Text1")->textCursor().selectedText(), QString("ab"));
  QVERIFY(!part<QMenu>(e, "Menu")->isVisible());
  dragTo(3);
  QCOMPARE(part<QPlainTextEdit>(e, "Text1")->textCursor().selectedText(), QString("abc"));
  QTRY_VERIFY(part<QMenu>(e, "Menu")->isVisible());
  part<QMenu>(e, "Menu")->hide();
  // The right button opens it too.
  QTest::mousePress(part<QPlainTextEdit>(e, "Text1")->viewport(), Qt::RightButton, {}, start);
  QTRY_VERIFY(part<QMenu>(e, "Menu")->isVisible());
  part<QMenu>(e, "Menu")->hide();
}

void RoomEditorTest::lineSeparatorsBecomeLines() {
  OPEN_BOOK(3);
  writeBytes(folder + "/1", "perch\xE9\r\n");
  RoomEditorWindow* e = openEditor(f, folder, "1");
  QPlainTextEdit* t = part<QPlainTextEdit>(e, "Text1");

  // Shift+Enter makes a real line of a Windows-1252 room, written with CR LF.
  QTest::keyClick(t, Qt::Key_End, Qt::ControlModifier);
  QTest::keyClick(t, Qt::Key_Return);
  QTest::keyClicks(t, "Riga A");
  QTest::keyClick(t, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(t, "Riga B");
  QTest::keyClick(t, Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/1"), std::string("perch\xE9\r\nRiga A\r\nRiga B\r\n"));

  // Pasted line and paragraph separators become lines too.
  e = openEditor(f, folder, "1");
  QApplication::clipboard()->setText(QString("x") + QChar::LineSeparator + "y" + QChar::ParagraphSeparator + "z");
  action(e, "IncollaTesto")->trigger();
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/1"), std::string("perch\xE9\r\nRiga A\r\nRiga Bx\r\ny\r\nz\r\n"));
}

void RoomEditorTest::restrictedModeHasNoLinkCommands() {
  OPEN_BOOK(3);
  for (const char* name : {"Global.cod", "Global2.cod", "adv.css"}) {
    writeBytes(folder + "/" + name, "body {}\r\n");
    RoomEditorWindow* e = openEditor(f, folder, name);
    e->setRestricted(true);
    f.prompts.calls.clear();
    QVERIFY2(!action(e, "Collega")->isEnabled(), name);
    action(e, "Collega")->trigger();
    QVERIFY2(m->Modi.isEmpty() && m->Modi2.isEmpty() && m->Link.isEmpty() && m->NomeLink.isEmpty(), name);
    QVERIFY2(f.prompts.calls.empty(), name);
    QVERIFY(shown(main, e));
    QVERIFY(e->closeEditor());
    QCOMPARE(readBytes(folder + "/" + name), std::string("body {}\r\n"));
  }
  // A room has them again.
  RoomEditorWindow* e = openEditor(f, folder, "1");
  e->setRestricted(false);
  QVERIFY(action(e, "Collega")->isEnabled());
}

void RoomEditorTest::targetChoiceEndsWithItsEditor() {
  OPEN_BOOK(4);
  RoomEditorWindow* e = openEditor(f, folder, "1");

  // The manager's close refused while it waits: the whole choice is forgotten.
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F2);
  QCOMPARE(m->Link, QString("1"));
  QVERIFY(!m->closeWindow());
  QVERIFY(m->Modi.isEmpty() && m->Modi2.isEmpty() && m->Link.isEmpty());
  QVERIFY(shown(main, e));

  // The editor that asked closes while the manager waits: the choice goes with it, and
  // the manager opens rooms again.
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F3);
  QCOMPARE(m->Link, QString("2"));
  QVERIFY(e->closeEditor());
  QVERIFY(m->Modi.isEmpty() && m->Modi2.isEmpty() && m->Link.isEmpty());
  f.prompts.calls.clear();
  selectRoom(m, "2");
  part<QMenu>(m, "Menu1")->findChild<QAction*>("MenuApri")->trigger();
  QTRY_VERIFY(main->editor() && main->editor()->isLoaded());
  QCOMPARE(main->editor()->Nome, QString("2"));
  QVERIFY(f.prompts.calls.empty());
}

void RoomEditorTest::pendingCompileFlagsGoWithTheirEditor() {
  OPEN_BOOK(4);
  for (QString pm::ManagerRequests::*flag : {&pm::ManagerRequests::CompilaTutto, &pm::ManagerRequests::CompilaTutto2}) {
    // A project test set for an editor that closes before its tick.
    RoomEditorWindow* e = openEditor(f, folder, "0");
    m->*flag = "1";
    e->Compila.start();
    QVERIFY(e->closeEditor());
    QVERIFY(m->CompilaTutto.isEmpty() && m->CompilaTutto2.isEmpty());

    // The next room test saves the edits and keeps the editor open.
    e = openEditor(f, folder, "3");
    part<QPlainTextEdit>(e, "Text1")->setPlainText("Modificata");
    QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F7);
    QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/3.htm"));
    QCOMPARE(main->editor(), e);
    QCOMPARE(readBytes(folder + "/3"), std::string("Modificata\r\n"));
    QVERIFY(e->closeEditor());
    f.platform.calls.clear();
  }

  // F7 in the tick of a project test: the editor closes, but with its edits saved.
  RoomEditorWindow* e = openEditor(f, folder, "3");
  part<QPlainTextEdit>(e, "Text1")->setPlainText("Salvata");
  m->CompilaTutto = "1";
  e->Compila.start();
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F7);
  QTRY_VERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/3"), std::string("Salvata\r\n"));
}

void RoomEditorTest::followingALinkToAMissingRoomGivesUp() {
  OPEN_BOOK(3);
  writeBytes(folder + "/1", "<a href=\"40.htm\">Avanti</a>\r\n");
  writeBytes(folder + "/2", "");  // a deleted room: no bytes
  RoomEditorWindow* e = openEditor(f, folder, "1");

  // The request is retried at a sane pace, not every millisecond.
  QVERIFY(m->SegLink.interval() >= 50);

  // A missing room, a room with no bytes, a name with letters: a few seconds, then a
  // message naming the room, and the editor stays.
  for (const char* target : {"40", "2", "abc"}) {
    f.prompts.calls.clear();
    m->SeguiLink = target;
    m->SegLink.start();
    QTest::qWait(1000);
    QVERIFY2(m->SegLink.isActive(), target);
    QTRY_VERIFY_WITH_TIMEOUT(!m->SegLink.isActive(), 10000);
    QCOMPARE(int(f.prompts.calls.size()), 1);
    QCOMPARE(f.prompts.calls.back().text, "Impossibile seguire il collegamento: la Stanza \"" + std::string(target) +
                                              "\" non esiste o è vuota.");
    QCOMPARE(main->editor(), e);
  }
}

void RoomEditorTest::dateAndTimeInserts() {
  OPEN_BOOK(2);
  RoomEditorWindow* e = openEditor(f, folder, "1");
  part<QPlainTextEdit>(e, "Text1")->clear();
  action(e, "Data")->trigger();
  part<QPlainTextEdit>(e, "Text1")->insertPlainText(" ");
  action(e, "Ora")->trigger();
  // The date as a new project writes it, then the time with seconds.
  QVERIFY2(QRegularExpression(R"(^\d\d/\d\d/\d{4} \d\d:\d\d:\d\d$)").match(e->text()).hasMatch(), qPrintable(e->text()));
  QCOMPARE(e->text().left(10), QString::fromStdString(pm::today_short_date()));
}

QTEST_MAIN(RoomEditorTest)
#include "room_editor_test.moc"

// The book's history in the windows: a tool process killed while a room has unsaved edits
// leaves a recovery file that the next opening of the book offers, with its differences,
// and restores; "Versioni precedenti" shows and restores a version (itself a save); the
// Cestino brings a deleted room back; F9 after edits keeps the text it throws away.
//
// The killed process is this test program started again with --child-edit HOME FOLDER: it
// builds the real main window, opens the book, types into room 1 in the real editor and
// waits, editing, until the test kills it (SIGKILL on POSIX systems, through QProcess::kill).
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QSpinBox>

#include "editor/room_editor_window.h"
#include "project/book_history.h"
#include "support/editor_tools.h"

using namespace pmtest;

namespace {

const char* const kTyped = " e il drago";

int childEdit(int argc, char** argv) {
  QApplication app(argc, argv);
  pm::ScriptedPrompts prompts;
  pm::RecordingPlatform platform;
  pm::MainWindow main(pm::AppContext{pm::ProgramFolder(pm::toPath(QString::fromLocal8Bit(argv[2]))), &prompts, &platform});
  main.resize(1000, 700);
  main.show();
  const QString folder = QString::fromLocal8Bit(argv[3]);
  main.startPage()->setCurrentFolder(folder);
  if (!QTest::qWaitFor([&main] { return main.manager() && main.manager()->entryCount() > 0; }, 5000)) return 3;
  pm::RoomEditorWindow* e = main.openEditorFresh();
  e->Percorso = folder;
  e->Nome = "1";
  if (!QTest::qWaitFor([e] { return e->isLoaded(); }, 5000)) return 4;
  QTest::keyClicks(part<QPlainTextEdit>(e, "Text1"), kTyped);
  while (true) QTest::qWait(100);  // editing, until killed
}

pm::stdfs::path recoveryFile(const QString& folder, const char* name) {
  return pm::toPath(folder) / "Versioni" / "Recupero" / (std::string(name) + ".rec");
}

}  // namespace

class HistoryWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void killedWhileEditingIsOfferedAndRestored();
  void versionsWindowShowsAndRestores();
  void trashBringsADeletedRoomBack();
  void closingWithoutSavingKeepsTheDiscardedText();
  void settingsBoundAndTurnOffTheHistory();
};

void HistoryWindowsTest::killedWhileEditingIsOfferedAndRestored() {
  GuiFixture f;
  const QString folder = makeProject(f.projects(), "Libro", descriptions(3));
  QProcess child;
  child.setProgram(QCoreApplication::applicationFilePath());
  child.setArguments({"--child-edit", f.home(), folder});
  child.start();
  QVERIFY(child.waitForStarted());
  const auto rec = recoveryFile(folder, "1");
  QVERIFY2(QTest::qWaitFor([&] { return pm::is_file(rec) || child.state() == QProcess::NotRunning; }, 30000),
           "no recovery file");
  QVERIFY2(pm::is_file(rec), qPrintable("the editing process ended: " + QString::number(child.exitCode())));
  child.kill();
  QVERIFY(child.waitForFinished());
  QCOMPARE(readBytes(folder + "/1"), std::string("Testo 1\r\n"));  // never saved

  // The next start (on the same program folder, whose Last.ini names the book) offers to
  // open the book, whose opening offers the text back.
  f.prompts.answer_question(true);
  f.prompts.answer_question(true);
  pm::MainWindow next(f.context());
  next.show();
  QVERIFY(QTest::qWaitFor([&] { return f.prompts.calls.size() >= 2; }, 5000));
  QVERIFY(f.prompts.calls[0].text.find("Aprire il progetto per recuperarlo?") != std::string::npos);
  QVERIFY(next.manager());
  const std::string asked = f.prompts.calls[1].text;
  QVERIFY2(asked.find("Stanza 1") != std::string::npos, asked.c_str());
  QVERIFY2(asked.find("- Testo 1\n+ Testo 1 e il drago\n") != std::string::npos, asked.c_str());
  QCOMPARE(readBytes(folder + "/1"), std::string("Testo 1 e il drago\r\n"));
  QVERIFY(!pm::is_file(rec));
  QCOMPARE(*pm::version_bytes(pm::toPath(folder), pm::toPath(folder + "/1"), 1), std::string("Testo 1\r\n"));
}

void HistoryWindowsTest::versionsWindowShowsAndRestores() {
  OPEN_LIBRO(3);
  pm::RoomEditorWindow* e = openEditor(f, folder, "2");
  QVERIFY(e);
  QTest::keyClicks(part<QPlainTextEdit>(e, "Text1"), kTyped);
  e->writeRecoveryNow();
  QVERIFY(pm::is_file(recoveryFile(folder, "2")));
  QVERIFY(e->closeEditor());
  QVERIFY(!pm::is_file(recoveryFile(folder, "2")));  // a clean close
  QCOMPARE(readBytes(folder + "/2"), std::string("Testo 2 e il drago\r\n"));

  selectRoom(m, "2");
  part<QMenu>(m, "Menu1")->findChild<QAction*>("MenuVersioni")->trigger();
  pm::VersionsWindow* v = main->versionsWindow();
  QVERIFY(v);
  QCOMPARE(v->versions().versions.size(), size_t(1));
  QCOMPARE(part<QListWidget>(v, "List1")->item(0)->text().contains(" 9 byte  salvataggio"), true);
  QCOMPARE(part<QPlainTextEdit>(v, "Text1")->toPlainText(), QString("- Testo 2 e il drago\n+ Testo 2\n"));
  shoot(main, "versioni_precedenti");
  part<QPushButton>(v, "Command1")->click();
  QCOMPARE(readBytes(folder + "/2"), std::string("Testo 2\r\n"));
  QCOMPARE(v->versions().versions.size(), size_t(2));  // the restore kept what it replaced
  // Version 1 is now the text the restore replaced: restoring it undoes the restore.
  QCOMPARE(part<QPlainTextEdit>(v, "Text1")->toPlainText(), QString("- Testo 2\n+ Testo 2 e il drago\n"));
}

void HistoryWindowsTest::trashBringsADeletedRoomBack() {
  OPEN_LIBRO(4);
  writeBytes(folder + "/3.js", "alert(3);\r\n");
  selectRoom(m, "3");
  f.prompts.answer_question(true);
  m->deleteSelected();
  QCOMPARE(readBytes(folder + "/3"), std::string());
  part<QMenu>(m, "Menu1")->findChild<QAction*>("MenuCestino")->trigger();
  pm::TrashWindow* t = main->trashWindow();
  QVERIFY(t);
  QCOMPARE(t->rooms().rooms.size(), size_t(1));
  QCOMPARE(part<QListWidget>(t, "List1")->item(0)->text().startsWith(" 3 | Stanza 3  ("), true);
  QCOMPARE(part<QPlainTextEdit>(t, "Text1")->toPlainText(), QString("Testo 3"));
  shoot(main, "cestino");
  part<QPushButton>(t, "Command1")->click();
  QCOMPARE(readBytes(folder + "/3"), std::string("Testo 3\r\n"));
  QCOMPARE(readBytes(folder + "/Room/3"), std::string("Stanza 3\r\n"));
  QCOMPARE(readBytes(folder + "/3.js"), std::string("alert(3);\r\n"));
  QCOMPARE(f.prompts.calls.back().text, std::string("La Stanza 3 è stata ripristinata."));
  QVERIFY(t->rooms().rooms.empty());
  QVERIFY(QTest::qWaitFor([m] { return m->roomEntries().at(size_t(rowOf(m, "3"))).find("Stanza 3") != std::string::npos; }, 3000));
}

void HistoryWindowsTest::closingWithoutSavingKeepsTheDiscardedText() {
  OPEN_LIBRO(2);
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  QTest::keyClicks(part<QPlainTextEdit>(e, "Text1"), kTyped);
  e->writeRecoveryNow();
  f.prompts.answer_question(true);
  e->closeWithoutSaving();
  QVERIFY(!main->editor());
  QCOMPARE(readBytes(folder + "/1"), std::string("Testo 1\r\n"));
  QVERIFY(!pm::is_file(recoveryFile(folder, "1")));
  pm::VersionList list = pm::list_versions(pm::toPath(folder), pm::toPath(folder + "/1"));
  QCOMPARE(list.versions.size(), size_t(1));
  QCOMPARE(list.versions[0].reason, pm::VersionReason::Discarded);
  QCOMPARE(*pm::version_bytes(pm::toPath(folder), pm::toPath(folder + "/1"), 1), std::string("Testo 1 e il drago\r\n"));
}

void HistoryWindowsTest::settingsBoundAndTurnOffTheHistory() {
  GuiFixture f;
  pm::SettingsWindow* s = f.main()->openSettingsFresh();
  QVERIFY(s);
  part<QSpinBox>(s, "Versioni")->setValue(7);
  part<QCheckBox>(s, "Check1")->setChecked(false);
  QCOMPARE(readBytes(f.home() + "/Versioni.ini"), std::string("0\r\n7\r\n50\r\n"));
  QVERIFY(!pm::history_policy().enabled);
  QCOMPARE(pm::history_policy().versions_per_file, size_t(7));
  pm::set_history_policy({});
}

int main(int argc, char** argv) {
  if (argc == 4 && qstrcmp(argv[1], "--child-edit") == 0) return childEdit(argc, argv);
  QApplication app(argc, argv);
  HistoryWindowsTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "history_windows_test.moc"

// The room script window (F6 and the editor's button: N.js written with one CR LF, deleted
// when emptied, Editor2.ini, the editor disabled meanwhile) and the global code chooser
// (command "5", Image6, F6 in the manager: Global.cod / Global2.cod in restricted mode).
#include "support/editor_tools.h"

using namespace pmtest;

namespace {

// Opens room `room`'s script from a fresh editor with F6 and waits for its load.
pm::ScriptWindow* openScript(GuiFixture& f, const QString& folder, const QString& room) {
  pm::RoomEditorWindow* e = openEditor(f, folder, room);
  if (!e) return nullptr;
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F6);
  pm::ScriptWindow* s = f.main()->roomScript();
  if (s) (void)QTest::qWaitFor([s] { return s->isLoaded(); }, 3000);
  return s && s->isLoaded() ? s : nullptr;
}

}  // namespace

class ScriptAndGlobalCodeTest : public QObject {
  Q_OBJECT
 private slots:
  void scriptWrittenOrDeletedAndTheGlobalCodeChooser();
  void shiftEnterMakesALine();
};

void ScriptAndGlobalCodeTest::scriptWrittenOrDeletedAndTheGlobalCodeChooser() {
  OPEN_LIBRO(3);
  selectRoom(m, "2");
  writeBytes(folder + "/2.js", "var a;\r\nvar b;\r\n\r\n");
  pm::ScriptWindow* s = openScript(f, folder, "2");
  QVERIFY(s);
  QCOMPARE(s->windowTitle(), QString("Script per la Stanza \"2 | Stanza 2\""));
  QCOMPARE(s->text(), QString("var a;\nvar b;\n"));  // the empty last line is kept
  auto* area = part<QPlainTextEdit>(s, "Text1");
  QCOMPARE(area->textCursor().position(), int(s->text().size()));
  QVERIFY(!main->editor()->isEnabled());
  shoot(main, "room_script");
  QTest::keyClick(area, Qt::Key_F1);
  QVERIFY(helpOpened(f, "global_code.htm"));

  // Closing with text: the text and one CR LF; the editor is usable again.
  area->setPlainText("alert('ponte');");
  QTest::keyClick(area, Qt::Key_Escape);
  QVERIFY(!main->roomScript());
  QCOMPARE(readBytes(folder + "/2.js"), std::string("alert('ponte');\r\n"));
  QVERIFY(main->editor()->isEnabled());
  QVERIFY(QFileInfo::exists(f.home() + "/Editor2.ini"));

  // Emptied: the file goes (an empty script never makes one: editor_file_test).
  s = openScript(f, folder, "2");
  QVERIFY(s);
  QCOMPARE(s->text(), QString("alert('ponte');"));
  part<QPlainTextEdit>(s, "Text1")->clear();
  QVERIFY(s->closeWindow());
  QVERIFY(!QFileInfo::exists(folder + "/2.js"));

  // The editor's button opens it too; closing the editor closes (and saves) it.
  pm::RoomEditorWindow* e = main->editor();
  QVERIFY(e && e->isEnabled());
  QTest::mouseClick(part<QToolButton>(e, "Script"), Qt::LeftButton);
  s = main->roomScript();
  QVERIFY(s);
  QTRY_VERIFY(s->isLoaded());
  part<QPlainTextEdit>(s, "Text1")->setPlainText("x");
  QVERIFY(e->closeEditor());
  QVERIFY(!main->roomScript());
  QCOMPARE(readBytes(folder + "/2.js"), std::string("x\r\n"));

  // The global code chooser, opened by Image6.
  auto* image6 = part<QToolButton>(main, "Image6");
  QVERIFY(image6->isEnabled());
  QTest::mouseClick(image6, Qt::LeftButton);
  pm::GlobalCodeWindow* g = main->globalCode();
  QVERIFY(g);
  QVERIFY(!m->parentWidget()->isEnabled());
  QVERIFY(!image6->isEnabled());
  shoot(main, "global_code");

  QTest::mouseClick(part<QPushButton>(g, "Label4"), Qt::LeftButton);
  e = main->editor();
  QVERIFY(e);
  QTRY_VERIFY(e->isLoaded());
  QCOMPARE(e->Nome, QString("Global2.cod"));
  QCOMPARE(e->Percorso, m->Percorso);
  QVERIFY(e->restricted());
  // F6 is ignored there; F8 finds.
  area = part<QPlainTextEdit>(e, "Text1");
  QTest::keyClick(area, Qt::Key_F6);
  QVERIFY(!main->roomScript());
  QTest::keyClick(area, Qt::Key_F8);
  QVERIFY(main->findReplace());
  area->setPlainText("<div class='piede'>Fine</div>");
  QVERIFY(e->closeEditor());
  QCOMPARE(readBytes(folder + "/Global2.cod"), std::string("<div class='piede'>Fine</div>\r\n"));
  QVERIFY(main->globalCode());  // the chooser stays
  QVERIFY(!m->parentWidget()->isEnabled());

  // The first link: Global.cod.
  QTest::mouseClick(part<QPushButton>(g, "Label2"), Qt::LeftButton);
  QVERIFY(main->editor());
  QCOMPARE(main->editor()->Nome, QString("Global.cod"));
  QVERIFY(main->editor()->restricted());
  QVERIFY(main->editor()->closeEditor());

  // Esc closes the chooser; the manager and the toolbar are usable again.
  QTest::keyClick(g, Qt::Key_Escape);
  QVERIFY(!main->globalCode());
  QVERIFY(m->parentWidget()->isEnabled());
  QVERIFY(image6->isEnabled() && part<QWidget>(main, "Picture2")->isEnabled());

  // F6 in the project manager is command "5".
  QTest::keyClick(m, Qt::Key_F6);
  QTRY_VERIFY(main->globalCode());
}

// Shift+Enter in the script gives a real line, written with CR LF like every other.
void ScriptAndGlobalCodeTest::shiftEnterMakesALine() {
  OPEN_LIBRO(2);
  selectRoom(m, "1");
  pm::ScriptWindow* s = openScript(f, folder, "1");
  QVERIFY(s);
  auto* area = part<QPlainTextEdit>(s, "Text1");
  QTest::keyClicks(area, "var a;");
  QTest::keyClick(area, Qt::Key_Return, Qt::ShiftModifier);
  QTest::keyClicks(area, "var b;");
  QTest::keyClick(area, Qt::Key_Escape);
  QVERIFY(!main->roomScript());
  QCOMPARE(readBytes(folder + "/1.js"), std::string("var a;\r\nvar b;\r\n"));
}

QTEST_MAIN(ScriptAndGlobalCodeTest)
#include "script_and_global_code_test.moc"

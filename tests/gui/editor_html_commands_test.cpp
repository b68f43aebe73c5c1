// The editor's HTML formatting commands driven through its context menu: every item of the
// menu puts the core's replacement (checked in the core's test) in place of the selection as
// one history step and leaves the caret after it.
#include "editor/html_commands.h"
#include "support/editor_tools.h"

using namespace pmtest;

class EditorHtmlCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void everyMenuItemAppliesItsCommand();
};

void EditorHtmlCommandsTest::everyMenuItemAppliesItsCommand() {
  OPEN_LIBRO(2);
  writeBytes(folder + "/1", "Vai al ponte\r\n");
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  auto* area = part<QPlainTextEdit>(e, "Text1");
  std::vector<pm::HtmlMenuItem> items(std::begin(pm::kHtmlContextItems), std::end(pm::kHtmlContextItems));
  items.insert(items.end(), std::begin(pm::kHtmlSubmenuItems), std::end(pm::kHtmlSubmenuItems));
  for (const pm::HtmlMenuItem& item : items) {
    area->setPlainText("Vai al <b>ponte</b>");
    const int steps = e->history().position();
    selectText(e, 7, 12);
    QAction* action = menuItem(e, std::string(item.name).c_str());
    QVERIFY2(action, item.name.data());
    action->trigger();
    const QString put = QString::fromStdString(pm::html_command(item.command, "<b>ponte</b>").text).replace("\r\n", "\n");
    QCOMPARE(e->text(), "Vai al " + put);
    QCOMPARE(area->textCursor().position(), 7 + int(put.size()));
    QVERIFY(!area->textCursor().hasSelection());
    QCOMPARE(e->history().position(), steps + 1);  // one step
  }
  // Undo takes the last command back in one step; stripping with no selection changes nothing.
  e->undo();
  QCOMPARE(e->text(), QString("Vai al <b>ponte</b>"));
  selectText(e, 3, 0);
  const int steps = e->history().position();
  menuItem(e, "TagTogli")->trigger();
  QCOMPARE(e->text(), QString("Vai al <b>ponte</b>"));
  QCOMPARE(e->history().position(), steps);

  // The table's line breaks are the file's on disk.
  area->setPlainText("l'uomo");
  selectText(e, 0, 6);
  menuItem(e, "Table")->trigger();
  e->closeEditor();
  QCOMPARE(readBytes(folder + "/1").substr(0, 9), std::string("\r\n<table "));
}

QTEST_MAIN(EditorHtmlCommandsTest)
#include "editor_html_commands_test.moc"

// The editor's HTML formatting commands driven through its context menu: each rewrites
// the selection (or inserts at the caret) as one history step and leaves the caret after
// what it put there.
#include "support/editor_tools.h"

using namespace pmtest;

class EditorHtmlCommandsTest : public QObject {
  Q_OBJECT
 private slots:
  void wrappingSnippetsAndTagStripping();
};

void EditorHtmlCommandsTest::wrappingSnippetsAndTagStripping() {
  OPEN_LIBRO(2);
  writeBytes(folder + "/1", "Vai al ponte\r\n");
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  auto* area = part<QPlainTextEdit>(e, "Text1");
  struct Case {
    const char* item;
    int from, length;
    QString after;
    int caret;
  };
  const Case cases[] = {
      {"Grassetto", 7, 5, "Vai al <b>ponte</b>", 19},
      {"Grassetto", 0, 0, "<b></b>Vai al ponte", 7},
      {"Corsivo", 0, 3, "<i>Vai</i> al ponte", 10},
      {"Sottolineato", 12, 0, "Vai al ponte<u></u>", 19},
      {"CenterHTML", 0, 12, "<div align='center'>Vai al ponte</div>", 38},
      {"WidtheHeight", 4, 2, "Vai  width=\"120\" height=\"90\" ponte", 28},
      {"Spazio_HTML", 3, 1, "Vai&nbsp;al ponte", 9},
  };
  for (const Case& c : cases) {
    area->setPlainText("Vai al ponte");
    const int steps = e->history().position();
    selectText(e, c.from, c.length);
    menuItem(e, c.item)->trigger();
    QCOMPARE(e->text(), c.after);
    QCOMPARE(area->textCursor().position(), c.caret);
    QVERIFY(!area->textCursor().hasSelection());
    QCOMPARE(e->history().position(), steps + 1);  // one step
  }
  // Undo takes the last command back in one step.
  e->undo();
  QCOMPARE(e->text(), QString("Vai al ponte"));

  // Tag stripping through the menu (its rules are the core's); with no selection nothing changes.
  const std::pair<QString, QString> stripped[] = {{"<div align='center'>Ciao</div>", " Ciao"},
                                                  {"<b>Uno</b>  <i>due</i>", "Uno due"}};
  for (const auto& [before, after] : stripped) {
    area->setPlainText(before);
    selectText(e, 0, int(before.size()));
    menuItem(e, "TagTogli")->trigger();
    QCOMPARE(e->text(), after);
  }
  area->setPlainText("<b>x</b>");
  selectText(e, 3, 0);
  const int steps = e->history().position();
  menuItem(e, "TagTogli")->trigger();
  QCOMPARE(e->text(), QString("<b>x</b>"));
  QCOMPARE(e->history().position(), steps);

  // The table: a one-cell table around the selection (its text is checked in the core test).
  area->setPlainText("l'uomo");
  selectText(e, 0, 6);
  menuItem(e, "Table")->trigger();
  QVERIFY(e->text().contains("\n\nl'uomo\n\n</td>"));
  e->closeEditor();
  QCOMPARE(readBytes(folder + "/1").substr(0, 9), std::string("\r\n<table "));
}

QTEST_MAIN(EditorHtmlCommandsTest)
#include "editor_html_commands_test.moc"

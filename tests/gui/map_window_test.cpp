// The adventure map driven through the real windows: the sample book's map with both header
// styles and another phrase, F3 after changing the options, a room number followed to the
// room editor and back to the map with Esc, printing through the text editor, a phrase
// that would feed itself, and the placement and the disabled manager and toolbar while the
// map is open.
#include <QApplication>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>

#include "map/map_text.h"
#include "map/map_window.h"
#include "rooms/room_list.h"
#include "support/gui_fixture.h"
#include "ui/large_text_view.h"

using namespace pmtest;

namespace {

const QString kSample = "Il Ponte sul Fiume";

// The map the core builds for the sample book, as the window shows it (no CRs).
QString coreMap(const QString& folder, bool numbersOnly, const std::string& phrase) {
  pm::Project p(pm::toPath(folder), kSample.toStdString());
  pm::MapOptions o;
  o.numbers_only = numbersOnly;
  o.phrase = phrase;
  QString text = pm::fromFileText(pm::build_map_text(p, pm::build_room_list(p), o));
  return text.remove('\r');
}

// Opens the sample book and its map, and waits for the map text.
#define OPEN_MAP                                                                         \
  GuiFixture f;                                                                          \
  pm::MainWindow* main = f.main();                                                       \
  const QString folder = f.projects() + "/" + kSample;                                   \
  pm::ProjectManagerWindow* m = openProject(f, folder);                                  \
  QVERIFY(m);                                                                            \
  part<QToolButton>(main, "Image13")->click();                                           \
  QTRY_VERIFY(main->mapWindow());                                                        \
  pm::MapWindow* map = main->mapWindow();                                                \
  QTRY_VERIFY(!map->text().isEmpty())

// The map's text view.
pm::LargeTextView* view(pm::MapWindow* map) { return part<pm::LargeTextView>(map, "Text1"); }

// Selects the word `what` that follows `after` in the map the way the mouse does: a double
// click on it.
void doubleClickWord(pm::MapWindow* map, const QString& what, const QString& after) {
  const QString all = map->text();
  const int at = all.indexOf(after);
  QVERIFY2(at >= 0, qPrintable(after));
  const int word = all.indexOf(what, at);
  const int line = int(all.left(word).count('\n'));
  const int column = word - int(all.lastIndexOf('\n', word - 1)) - 1;
  const QPoint point = view(map)->pointOf({line, column + 1});
  // Qt Test's double click ends on the second press; the hand then lets the button go.
  QTest::mouseDClick(view(map)->viewport(), Qt::LeftButton, {}, point);
  QTest::mouseRelease(view(map)->viewport(), Qt::LeftButton, {}, point);
  QCOMPARE(view(map)->selectedText(), what);
}

}  // namespace

class MapWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void sampleBookOtherOptionsPrintingAndAPhraseThatFeedsItself();
  void followsRoomNumbers();
  void placementAndDisabledManager();
};

void MapWindowTest::sampleBookOtherOptionsPrintingAndAPhraseThatFeedsItself() {
  OPEN_MAP;
  QCOMPARE(map->text(), coreMap(folder, false, "Si collega alla Stanza"));  // the core's map, its format checked there
  QVERIFY(!part<QCheckBox>(map, "Check1")->isChecked());
  QCOMPARE(part<QLineEdit>(map, "Text2")->text(), QString("Si collega alla Stanza"));
  shoot(main, "map_window");

  // F2: the map's bytes in Temp.txt of the program folder, opened in the text editor.
  QTest::keyClick(view(map), Qt::Key_F2);
  pm::Project p(pm::toPath(folder), kSample.toStdString());
  QCOMPARE(readBytes(f.home() + "/Temp.txt"), pm::build_map_text(p, pm::build_room_list(p), pm::MapOptions{}));
  QVERIFY(recorded(f.platform, "text", f.home() + "/Temp.txt"));

  // F3 after changing the options: numbers only and another phrase.
  part<QCheckBox>(map, "Check1")->setChecked(true);
  part<QLineEdit>(map, "Text2")->setText("Vai alla");
  QTest::keyClick(view(map), Qt::Key_F3);
  QTRY_COMPARE(map->text(), coreMap(folder, true, "Vai alla"));
  shoot(main, "map_window_numbers");

  // The button does the same, back to the framed headers.
  part<QCheckBox>(map, "Check1")->setChecked(false);
  part<QToolButton>(map, "Image2")->click();
  QTRY_COMPARE(map->text(), coreMap(folder, false, "Vai alla"));

  // A phrase holding both '<' and '"' would make the map grow without end: refused, said.
  part<QLineEdit>(map, "Text2")->setText("<a href=\"");
  f.prompts.calls.clear();
  QTest::keyClick(view(map), Qt::Key_F3);
  QTRY_VERIFY(!f.prompts.calls.empty());
  QVERIFY(f.prompts.calls.back().text.find("crescerebbe senza fine") != std::string::npos);
  QVERIFY(map->text().isEmpty());
  // A phrase with only one of the two is fine.
  part<QLineEdit>(map, "Text2")->setText("<Vai>");
  QTest::keyClick(view(map), Qt::Key_F3);
  QTRY_COMPARE(map->text(), coreMap(folder, false, "<Vai>"));
}

void MapWindowTest::followsRoomNumbers() {
  OPEN_MAP;
  // A word that starts with a letter does nothing.
  doubleClickWord(map, "Stanza", "---------------| Stanza 0");
  shoot(main, "map_window_selection");
  QTest::qWait(150);
  QVERIFY(!main->editor());
  QVERIFY(m->SeguiLink.isEmpty());

  // A room number in a header opens that room; the map stays open.
  doubleClickWord(map, "12", "Stanza 12 - ");
  QTRY_VERIFY(main->editor());
  QTRY_COMPARE(main->editor()->Nome, QString("12"));
  QCOMPARE(m->SeguiLink, QString("12"));
  QCOMPARE(main->mapWindow(), map);
  // Esc in the editor: the map is in front again with the keyboard, not behind the
  // disabled manager.
  QTRY_VERIFY(main->editor()->isLoaded());
  QTest::keyClick(part<QPlainTextEdit>(main->editor(), "Text1"), Qt::Key_Escape);
  QTRY_VERIFY(!main->editor());
  QTRY_COMPARE(QApplication::focusWidget(), view(map));
  QCOMPARE(part<QMdiArea>(main, "Client")->activeSubWindow()->widget(), map);
  QVERIFY(!m->parentWidget()->isEnabled());
}

void MapWindowTest::placementAndDisabledManager() {
  OPEN_MAP;
  QVERIFY(!part<QWidget>(main, "Picture2")->isEnabled());
  QVERIFY(!m->parentWidget()->isEnabled());
  m->Modi = "1";
  m->NomeLink = "1";
  const QRect where(40, 60, 700, 500);
  main->placeChild(map, where);
  QTest::keyClick(view(map), Qt::Key_Escape);
  QTRY_VERIFY(!main->mapWindow());
  QVERIFY(part<QWidget>(main, "Picture2")->isEnabled());
  QVERIFY(m->parentWidget()->isEnabled());
  QVERIFY(m->Modi.isEmpty() && m->NomeLink.isEmpty());
  QVERIFY(placementSaved(main, f.home() + "/Mappa.ini", where));

  // Opened again: where it was left.
  part<QToolButton>(main, "Image13")->click();
  QTRY_VERIFY(main->mapWindow());
  QCOMPARE(main->childGeometry(main->mapWindow()), where);
}

QTEST_MAIN(MapWindowTest)
#include "map_window_test.moc"

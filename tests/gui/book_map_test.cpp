// The book check and the graph map windows driven through the real main window: a broken
// link listed and its room opened, the paths of the random readers, one box per room on the
// map and a room opened from it, the room search, a cancelled layout, a neighbourhood moved
// by double-clicks, and pictures of both windows on the sample book.
#include <QAction>
#include <QApplication>
#include <QWheelEvent>
#include <QGraphicsItem>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>

#include "check/book_check_window.h"
#include "check/graph_window.h"
#include "check/neighbourhood.h"
#include "editor/room_editor_window.h"
#include "ui/bar_chart.h"
#include "support/editor_tools.h"

using namespace pmtest;

namespace {

// Rooms 0..3: 0 leads to 1 and 2, 1 leads to the missing room 40, 2 jumps to 3 on a timer.
QString makeBrokenBook(GuiFixture& f) {
  const QString folder = makeProject(f.projects(), "Libro", descriptions(4));
  writeBytes(folder + "/0", "Inizio.\r\n<a href=\"1.htm\">Avanti</a> <a href=\"2.htm\">Destra</a>\r\n");
  writeBytes(folder + "/1", "Un sentiero.\r\n<a href=\"40.htm\">Oltre</a>\r\n");
  writeBytes(folder + "/2", "Una porta.\r\n<meta http-equiv='refresh' content='3; url=3.htm'>\r\n");
  writeBytes(folder + "/3", "La fine. <!-- fine -->\r\n");
  return folder;
}

bool editorOn(pm::MainWindow* main, const QString& room) {
  return QTest::qWaitFor([&] { return main->editor() && main->editor()->Nome == room; }, 3000);
}

pm::GraphWindow* openGraph(GuiFixture& f) {
  QTest::mouseClick(part<QToolButton>(f.main(), "ImageGrafo"), Qt::LeftButton);
  pm::GraphWindow* g = f.main()->graph();
  if (g && !QTest::qWaitFor([g] { return !g->busy(); }, 15000)) qWarning("the layout did not end");
  return g;
}

}  // namespace

class BookMapTest : public QObject {
  Q_OBJECT
 private slots:
  void checkListsABrokenLinkAndOpensItsRoom();
  void checkFromTheManagersMenuAndAgainOnF5();
  void checkFindsAnotherEncodingAndMendsItOnConfirmation();
  void graphSearchesCancelsAndOpensARoom();
  void pathsChartTheEndingsAndOpenTheirRooms();
  void neighbourhoodMovesWithADoubleClick();
  void aLargeBookOpensOnANeighbourhood();
  void sampleBookPictures();
};

void BookMapTest::checkListsABrokenLinkAndOpensItsRoom() {
  GuiFixture f;
  QVERIFY(openProject(f, makeBrokenBook(f)));
  QTest::mouseClick(part<QToolButton>(f.main(), "ImageVerifica"), Qt::LeftButton);
  pm::BookCheckWindow* w = f.main()->bookCheck();
  QVERIFY(w);
  QVERIFY(shown(f.main(), w));
  // The buttons sit after the resource folder's, clear of it and of the room counter.
  const QRect counter = part<QLabel>(f.main(), "Label1")->geometry();
  QRect before = part<QToolButton>(f.main(), "Image12")->geometry();
  for (const char* name : {"ImageVerifica", "ImageGrafo", "ImageAnteprima", "ImageCarta"}) {
    const QRect r = part<QToolButton>(f.main(), name)->geometry();
    QVERIFY2(r.left() > before.right() && r.right() < counter.left(), name);
    before = r;
  }

  auto* list = part<QTreeWidget>(w, "List1");
  QTreeWidgetItem* broken = nullptr;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->text(0) == "Errore") broken = list->topLevelItem(i);
  QVERIFY(broken);
  QCOMPARE(broken->text(1), QString("1"));
  QCOMPARE(broken->text(2), QString("2"));
  QVERIFY2(broken->text(4).contains("40.htm"), qPrintable(broken->text(4)));
  QVERIFY2(part<QLabel>(w, "Label1")->text().contains("1 errore"), qPrintable(part<QLabel>(w, "Label1")->text()));

  list->setCurrentItem(broken);
  const QRect r = list->visualItemRect(broken);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QVERIFY(editorOn(f.main(), "1"));
}

void BookMapTest::checkFromTheManagersMenuAndAgainOnF5() {
  GuiFixture f;
  const QString folder = makeBrokenBook(f);
  pm::ProjectManagerWindow* m = openProject(f, folder);
  QVERIFY(m);
  auto* item = part<QMenu>(m, "Menu1")->findChild<QAction*>("MenuVerifica");
  QVERIFY(item);
  item->trigger();
  QVERIFY(QTest::qWaitFor([&] { return f.main()->bookCheck() != nullptr; }, 3000));
  pm::BookCheckWindow* w = f.main()->bookCheck();
  QCOMPARE(w->result().errors, size_t(1));

  // Mended on disk, checked again: the error is gone; Enter on a finding opens its room.
  writeBytes(folder + "/1", "Un sentiero.\r\n<a href=\"3.htm\">Oltre</a>\r\n");
  QTest::keyClick(part<QTreeWidget>(w, "List1"), Qt::Key_F5);
  QCOMPARE(w->result().errors, size_t(0));
  auto* list = part<QTreeWidget>(w, "List1");
  for (int i = 0; i < list->topLevelItemCount(); ++i) QCOMPARE(list->topLevelItem(i)->text(0), QString("Avviso"));

  // A room without its text file is reported, not opened.
  QFile::remove(folder + "/3");
  QTest::keyClick(list, Qt::Key_F5);
  QVERIFY(w->result().errors >= 1);
  int missing = -1;
  for (size_t i = 0; i < w->result().findings.size(); ++i)
    if (w->result().findings[i].kind == pm::FindingKind::MissingTextFile) missing = int(i);
  QVERIFY(missing >= 0);
  QVERIFY(!w->openFinding(missing));
  QVERIFY(part<QLabel>(w, "Label1")->text().contains("non ha un testo"));
  list->setCurrentItem(list->topLevelItem(0));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Return);
  QVERIFY(editorOn(f.main(), QString::fromStdString(w->result().findings[0].room)));
  // Closing the editor brings the author back to the finding.
  QTRY_VERIFY(f.main()->editor()->isLoaded());
  QTest::keyClick(part<QPlainTextEdit>(f.main()->editor(), "Text1"), Qt::Key_Escape);
  QTRY_COMPARE(QApplication::focusWidget(), list);
}

// Room 3 of a Windows-1252 book holds a line in UTF-8: the check lists it at its line, and
// "Correggi la codifica" converts it once the author confirms (not before).
void BookMapTest::checkFindsAnotherEncodingAndMendsItOnConfirmation() {
  GuiFixture f;
  const QString folder = makeBrokenBook(f);
  writeBytes(folder + "/2", "Citt\xE0 vecchia\r\n<meta http-equiv='refresh' content='3; url=3.htm'>\r\n");
  writeBytes(folder + "/3", "La fine. <!-- fine -->\r\nLa citt\xC3\xA0 nuova\r\n");
  QVERIFY(openProject(f, folder));
  QTest::mouseClick(part<QToolButton>(f.main(), "ImageVerifica"), Qt::LeftButton);
  pm::BookCheckWindow* w = f.main()->bookCheck();
  QVERIFY(w);
  auto* list = part<QTreeWidget>(w, "List1");
  QTreeWidgetItem* other = nullptr;
  for (int i = 0; i < list->topLevelItemCount(); ++i)
    if (list->topLevelItem(i)->text(3).contains("UTF-8")) other = list->topLevelItem(i);
  QVERIFY(other);
  QCOMPARE(other->text(0), QString("Avviso"));
  QCOMPARE(other->text(1), QString("3"));
  QCOMPARE(other->text(2), QString("2"));
  QCOMPARE(other->text(4), QString::fromUtf8("La citt\xC3\xA0 nuova"));
  auto* mend = part<QPushButton>(w, "Command4");
  QVERIFY(mend->isEnabled());
  QCOMPARE(mend->accessibleName(), QString("Correggi la codifica"));
  shoot(f.main(), "book_check_encoding");

  f.prompts.answer_question(false);
  mend->click();
  QCOMPARE(f.prompts.calls.back().kind, std::string("question"));
  QCOMPARE(readBytes(folder + "/3"), std::string("La fine. <!-- fine -->\r\nLa citt\xC3\xA0 nuova\r\n"));
  f.prompts.answer_question(true);
  mend->click();
  QCOMPARE(readBytes(folder + "/3"), std::string("La fine. <!-- fine -->\r\nLa citt\xE0 nuova\r\n"));
  QCOMPARE(readBytes(folder + "/2"), std::string("Citt\xE0 vecchia\r\n<meta http-equiv='refresh' content='3; url=3.htm'>\r\n"));
  for (const auto& finding : w->result().findings) QVERIFY(finding.kind != pm::FindingKind::OtherEncoding);
  QVERIFY(!mend->isEnabled());
  QVERIFY2(part<QLabel>(w, "Label1")->text().contains("File riscritti in Windows-1252: 1."),
           qPrintable(part<QLabel>(w, "Label1")->text()));
}

void BookMapTest::graphSearchesCancelsAndOpensARoom() {
  GuiFixture f;
  QVERIFY(openProject(f, makeBrokenBook(f)));
  // F1 on either window opens its own page, which is in the program folder.
  QTest::mouseClick(part<QToolButton>(f.main(), "ImageVerifica"), Qt::LeftButton);
  QTest::keyClick(part<QTreeWidget>(f.main()->bookCheck(), "List1"), Qt::Key_F1);
  QVERIFY(helpOpened(f, "verifica.htm"));
  pm::GraphWindow* g = openGraph(f);
  QVERIFY(g);
  QTest::keyClick(g->view(), Qt::Key_F1);
  QVERIFY(helpOpened(f, "grafo.htm"));
  QVERIFY2(g->drawnRooms() == 4, qPrintable(part<QLabel>(g, "Label1")->text()));
  for (const char* room : {"0", "1", "2", "3"}) QVERIFY2(g->roomItem(room), room);
  QVERIFY(part<QLabel>(g, "Label1")->text().startsWith("Stanze: 4"));

  QTest::keyClicks(part<QLineEdit>(g, "Text1"), "3");
  QTest::keyClick(part<QLineEdit>(g, "Text1"), Qt::Key_Return);
  QVERIFY(g->roomItem("3")->isSelected());
  QVERIFY(!g->findRoom("99"));

  // The wheel zooms in and out.
  auto wheel = [g](int delta) {
    const QPointF at = g->view()->viewport()->rect().center();
    QWheelEvent e(at, g->view()->viewport()->mapToGlobal(at), {}, QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(g->view()->viewport(), &e);
    return g->view()->transform().m11();
  };
  const double zoom = g->view()->transform().m11();
  QVERIFY(wheel(240) > zoom);
  QVERIFY(qAbs(wheel(-240) - zoom) < 1e-9);

  g->redraw();
  QVERIFY(g->busy());
  QVERIFY(part<QPushButton>(g, "Command4")->isEnabled());
  QCOMPARE(part<QLabel>(g, "Label1")->text(), QString("Calcolo del grafo..."));
  QTest::mouseClick(part<QPushButton>(g, "Command4"), Qt::LeftButton);
  QVERIFY(!g->busy());
  QCOMPARE(g->drawnRooms(), 0);
  QCOMPARE(part<QLabel>(g, "Label1")->text(), QString("Disegno del grafo annullato."));
  QVERIFY(!part<QPushButton>(g, "Command4")->isEnabled());

  // F5 draws it again.
  QTest::keyClick(g, Qt::Key_F5);
  QVERIFY(QTest::qWaitFor([g] { return !g->busy(); }, 15000));
  QCOMPARE(g->drawnRooms(), 4);

  // A double-click on a box opens its room.
  QGraphicsItem* two = g->roomItem("2");
  g->view()->centerOn(two);
  const QPoint at = g->view()->mapFromScene(two->sceneBoundingRect().center());
  QTest::mouseDClick(g->view()->viewport(), Qt::LeftButton, {}, at);
  QVERIFY(editorOn(f.main(), "2"));
  // Closing the editor brings the author back to the graph, where Enter or Space opens the
  // selected room.
  for (int key : {Qt::Key_Return, Qt::Key_Space}) {
    QTRY_VERIFY(f.main()->editor()->isLoaded());
    QTest::keyClick(part<QPlainTextEdit>(f.main()->editor(), "Text1"), Qt::Key_Escape);
    QTRY_COMPARE(QApplication::focusWidget(), g->view());
    QVERIFY(g->findRoom(key == Qt::Key_Space ? "1" : "3"));
    QTest::keyClick(g->view(), Qt::Key(key));
    QVERIFY(editorOn(f.main(), key == Qt::Key_Space ? "1" : "3"));
  }
  // The editor's caption is the room's own description, whichever room the manager selects.
  f.main()->manager()->Posi = "0";
  f.main()->manager()->rebuildList();
  QTRY_VERIFY(f.main()->editor()->isLoaded());
  QTest::qWait(150);
  QCOMPARE(f.main()->editor()->windowTitle(), QString("Edita Stanza \"1 | Stanza 1\""));
}

// Half the readers reach the ending 3; the other half stop in room 1, whose only link is broken.
void BookMapTest::pathsChartTheEndingsAndOpenTheirRooms() {
  GuiFixture f;
  QVERIFY(openProject(f, makeBrokenBook(f)));
  QTest::mouseClick(part<QToolButton>(f.main(), "ImageVerifica"), Qt::LeftButton);
  pm::BookCheckWindow* w = f.main()->bookCheck();
  QVERIFY(w);
  part<QTabWidget>(w, "Tabs1")->setCurrentIndex(1);
  QVERIFY2(unnamedControls(w).isEmpty(), qPrintable(unnamedControls(w).join(",")));
  auto* chart = part<pm::BarChart>(w, "Chart1");
  QCOMPARE(chart->accessibleItemCount(), 1);
  QVERIFY2(chart->accessibleItemName(0).startsWith("Stanza 3: probabilità 50,0%, lettori "),
           qPrintable(chart->accessibleItemName(0)));
  QVERIFY(qAbs(w->playtest().endings.at(0).share - 0.5) < 0.02);
  QVERIFY2(part<QLabel>(w, "Label2")->text().contains("Probabilità esatta di arrivare a un finale: 50,0%"),
           qPrintable(part<QLabel>(w, "Label2")->text()));
  auto* list = part<QTreeWidget>(w, "List2");
  QCOMPARE(list->topLevelItem(0)->text(0), QString("Finale"));
  QCOMPARE(list->topLevelItem(0)->text(5), QString("0 → 2 → 3"));
  QCOMPARE(list->topLevelItem(1)->text(0), QString("Vicolo cieco"));
  QCOMPARE(list->topLevelItem(1)->text(1), QString("1"));
  shoot(w, "book_check_paths");
  chart->setFocus();
  QTest::keyClick(chart, Qt::Key_Return);
  QVERIFY(editorOn(f.main(), "3"));
}

// Rooms 0 -> 1, 2; 2 -> 3. At distance 1 the neighbourhood of 1 is 0 and 1; a double-click on
// 0 moves the centre there (0, 1, 2); on the centre it opens the room; the whole book after.
void BookMapTest::neighbourhoodMovesWithADoubleClick() {
  GuiFixture f;
  QVERIFY(openProject(f, makeBrokenBook(f)));
  pm::GraphWindow* g = openGraph(f);
  QVERIFY(g);
  part<QSpinBox>(g, "Spin1")->setValue(1);
  QTest::keyClicks(part<QLineEdit>(g, "Text1"), "1");
  QTest::mouseClick(part<QPushButton>(g, "Command5"), Qt::LeftButton);
  QCOMPARE(g->neighbourhoodCentre(), QString("1"));
  QCOMPARE(g->drawnRooms(), 2);
  QVERIFY(g->roomItem("0") && !g->roomItem("2"));
  shoot(g, "graph_neighbourhood");
  auto doubleClick = [g](const char* room) {
    QGraphicsItem* item = g->roomItem(room);
    g->view()->centerOn(item);
    QTest::mouseDClick(g->view()->viewport(), Qt::LeftButton, {}, g->view()->mapFromScene(item->sceneBoundingRect().center()));
  };
  doubleClick("0");
  QCOMPARE(g->neighbourhoodCentre(), QString("0"));
  QCOMPARE(g->drawnRooms(), 3);
  part<QSpinBox>(g, "Spin1")->setValue(2);
  QCOMPARE(g->drawnRooms(), 4);
  QTest::keyClick(g, Qt::Key_F5);  // F5 keeps the neighbourhood
  QCOMPARE(g->neighbourhoodCentre(), QString("0"));
  doubleClick("0");
  QVERIFY(editorOn(f.main(), "0"));

  QTest::mouseClick(part<QPushButton>(g, "Command6"), Qt::LeftButton);
  QVERIFY(g->busy());
  QVERIFY(part<QProgressBar>(g, "Progress1")->isVisibleTo(g));
  QVERIFY(QTest::qWaitFor([g] { return !g->busy(); }, 15000));
  QVERIFY(!part<QProgressBar>(g, "Progress1")->isVisibleTo(g));
  QCOMPARE(g->neighbourhoodCentre(), QString());
  QCOMPARE(g->drawnRooms(), 4);
}

// A book above the limit opens on room 0's neighbourhood, not on a long layout; the whole
// book is laid out when asked for, and can be cancelled.
void BookMapTest::aLargeBookOpensOnANeighbourhood() {
  GuiFixture f;
  QVERIFY(openProject(f, makeProject(f.projects(), "Grande", descriptions(int(pm::kWholeBookAtOpenLimit) + 1))));
  pm::GraphWindow* g = openGraph(f);
  QVERIFY(g);
  QVERIFY(!g->busy());
  QCOMPARE(g->neighbourhoodCentre(), QString("0"));
  QCOMPARE(g->drawnRooms(), 1);
  QVERIFY2(part<QLabel>(g, "Label1")->text().contains("\"Tutto il libro\""), qPrintable(part<QLabel>(g, "Label1")->text()));
  QTest::mouseClick(part<QPushButton>(g, "Command6"), Qt::LeftButton);
  QVERIFY(g->busy());
  QTest::mouseClick(part<QPushButton>(g, "Command4"), Qt::LeftButton);
  QVERIFY(!g->busy());
  QCOMPARE(part<QLabel>(g, "Label1")->text(), QString("Disegno del grafo annullato."));
  QVERIFY(!part<QProgressBar>(g, "Progress1")->isVisibleTo(g));
}

void BookMapTest::sampleBookPictures() {
  GuiFixture f;
  QVERIFY(openProject(f, f.projects() + "/Il Ponte sul Fiume"));
  QTest::mouseClick(part<QToolButton>(f.main(), "ImageVerifica"), Qt::LeftButton);
  QVERIFY(f.main()->bookCheck());
  QCOMPARE(f.main()->bookCheck()->result().errors, size_t(0));
  shoot(f.main(), "book_check");
  pm::GraphWindow* g = openGraph(f);
  QVERIFY(g);
  QCOMPARE(size_t(g->drawnRooms()), f.main()->manager()->roomNumbers().size());
  shoot(f.main(), "graph_map");

  // The same book with a broken link, a room without text, a missing picture and a room no
  // road reaches: both windows again, for the pictures of their findings.
  const QString book = f.projects() + "/Il Ponte sul Fiume";
  writeBytes(book + "/12", readBytes(book + "/12") + "<a href=\"40.htm\">Salta nel fiume</a>\r\n");
  writeBytes(book + "/5", readBytes(book + "/5") + "<img src=\"res/torre.png\">\r\n");
  writeBytes(book + "/Room/14", "La grotta\r\n");
  writeBytes(book + "/Room/15", "Il mulino\r\n");
  writeBytes(book + "/15", "Un mulino abbandonato.\r\n<a href=\"0.htm\">Torna al crocevia</a>\r\n");
  QTest::keyClick(g->view(), Qt::Key_F5);
  QVERIFY(QTest::qWaitFor([g] { return !g->busy(); }, 15000));
  QCOMPARE(g->drawnRooms(), 15);  // room 14 has no page
  shoot(g, "graph_window_faults");
  pm::BookCheckWindow* w = f.main()->bookCheck();
  QTest::keyClick(part<QTreeWidget>(w, "List1"), Qt::Key_F5);
  QCOMPARE(w->result().errors, size_t(3));
  shoot(w, "book_check_faults");
}

QTEST_MAIN(BookMapTest)
#include "book_map_test.moc"

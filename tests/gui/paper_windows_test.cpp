// The paper windows driven offscreen from the project toolbar's "Libro su carta" menu:
// "Rinumera le Stanze" writes a shuffled copy of the open book and leaves the book as it
// was; "Esporta il libro" writes an EPUB with its progress bar full and lists what paper
// cannot carry; a wrong folder or file is said, and nothing is lost.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include "paper/export_window.h"
#include "paper/renumber_window.h"
#include "rooms/project_manager_window.h"
#include "support/gui_fixture.h"

using namespace pmtest;

class PaperWindowsTest : public QObject {
  Q_OBJECT
 private slots:
  void renumberAndExportTheSampleBook();
};

namespace {
// Runs the menu entry `caption` of the toolbar's paper button.
void choose(pm::MainWindow* main, const QString& caption) {
  auto* button = part<QToolButton>(main, "ImageCarta");
  QVERIFY(button && button->isVisible());
  for (QAction* a : button->menu()->actions())
    if (a->text() == caption) a->trigger();
}
}  // namespace

void PaperWindowsTest::renumberAndExportTheSampleBook() {
  GuiFixture f;
  const QString book = f.projects() + "/Il Ponte sul Fiume";
  QVERIFY(openProject(f, book));
  const auto before = snapshot(book);
  shoot(f.main(), "barra");

  choose(f.main(), "Rinumera le Stanze...");
  auto* r = f.main()->findChild<pm::RenumberWindow*>();
  QVERIFY(r);
  QCOMPARE(part<QLineEdit>(r, "Text1")->text(), f.projects() + "/Il Ponte sul Fiume rinumerato");
  part<QLineEdit>(r, "Text2")->setText("x");
  part<QPushButton>(r, "Command1")->click();
  QCOMPARE(part<QLabel>(r, "Label1")->text(), QString("Il seme deve essere un numero intero non negativo."));
  part<QLineEdit>(r, "Text2")->setText("7");
  part<QLineEdit>(r, "Text3")->setText("11, 99");
  part<QPushButton>(r, "Command1")->click();
  QVERIFY(part<QLabel>(r, "Label1")->text().contains("99"));
  QCOMPARE(f.prompts.calls.size(), size_t(1));  // the refusal, told once
  part<QLineEdit>(r, "Text3")->setText("11");
  part<QPushButton>(r, "Command1")->click();
  shoot(r, "rinumera");
  QVERIFY2(part<QLabel>(r, "Label1")->text().startsWith("Progetto rinumerato"), qPrintable(part<QLabel>(r, "Label1")->text()));
  QVERIFY(QFile::exists(f.projects() + "/Il Ponte sul Fiume rinumerato/renumber.csv"));
  QVERIFY(QFile::exists(f.projects() + "/Il Ponte sul Fiume rinumerato/Il Ponte sul Fiume rinumerato.dat"));
  QVERIFY(r->closeWindow());

  choose(f.main(), "Esporta il libro...");
  auto* e = f.main()->findChild<pm::ExportWindow*>();
  QVERIFY(e);
  QCOMPARE(part<QLineEdit>(e, "Text1")->text(), f.projects() + "/Il Ponte sul Fiume.epub");
  QVERIFY(!part<QComboBox>(e, "Combo2")->isEnabled());
  part<QComboBox>(e, "Combo1")->setCurrentIndex(1);
  QCOMPARE(part<QLineEdit>(e, "Text1")->text(), f.projects() + "/Il Ponte sul Fiume.pdf");
  QVERIFY(part<QComboBox>(e, "Combo2")->isEnabled());
  part<QComboBox>(e, "Combo1")->setCurrentIndex(0);
  part<QPushButton>(e, "Command1")->click();
  shoot(e, "esporta");
  QVERIFY2(part<QLabel>(e, "Label1")->text().startsWith("Libro esportato"), qPrintable(part<QLabel>(e, "Label1")->text()));
  QCOMPARE(part<QProgressBar>(e, "Progress1")->value(), 100);
  QVERIFY(!part<QListWidget>(e, "List1")->findItems("stanza 5: un salto a tempo alla stanza 7", Qt::MatchExactly).isEmpty());
  QCOMPARE(readBytes(f.projects() + "/Il Ponte sul Fiume.epub").substr(30, 8), std::string("mimetype"));
  // A file in a folder that does not exist: said, in the window and once in a message.
  part<QLineEdit>(e, "Text1")->setText(f.projects() + "/nessuna/libro.epub");
  part<QPushButton>(e, "Command1")->click();
  QVERIFY(part<QLabel>(e, "Label1")->text().startsWith("Impossibile scrivere"));
  QVERIFY(e->closeWindow());
  QCOMPARE(snapshot(book), before);
}

QTEST_MAIN(PaperWindowsTest)
#include "paper_windows_test.moc"

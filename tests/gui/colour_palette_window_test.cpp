// The colour palette opened by Image11: a cell's notation in the field and on the
// clipboard, Esc, and the colour tool (the program folder's own, else the colour dialog).
#include <QClipboard>
#include <QColorDialog>
#include <QGuiApplication>
#include <QLineEdit>

#include "support/editor_tools.h"

using namespace pmtest;

class ColourPaletteWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void cellToClipboard();
  void colourTool();
};

void ColourPaletteWindowTest::cellToClipboard() {
  OPEN_LIBRO(1);
  auto* image11 = part<QToolButton>(main, "Image11");
  QVERIFY(image11->isEnabled());
  QTest::mouseClick(image11, Qt::LeftButton);
  pm::ColourPaletteWindow* p = main->colourPalette();
  QVERIFY(p);
  auto* text = part<QLineEdit>(p, "Text1");
  const std::pair<const char*, QString> cells[] = {
      {"Cella6_1", "#000000"}, {"Cella3_2", "#F70000"}, {"Cella4_3", "#C63800"}, {"Cella5_8", "#81007F"}};
  for (const auto& [cell, notation] : cells) {
    QTest::mouseClick(part<QPushButton>(p, cell), Qt::LeftButton);
    QCOMPARE(text->text(), notation);
  }
  shoot(main, "colour_palette");
  QTest::keyClick(p, Qt::Key_F1);
  QVERIFY(helpOpened(f, "colori.htm"));
  QTest::mouseClick(part<QPushButton>(p, "Command1"), Qt::LeftButton);
  QCOMPARE(QGuiApplication::clipboard()->text(), QString("#81007F"));
  QVERIFY(!main->colourPalette());

  // Esc closes it; closing the project manager does too.
  QTest::mouseClick(image11, Qt::LeftButton);
  QVERIFY(main->colourPalette());
  QTest::keyClick(main->colourPalette(), Qt::Key_Escape);
  QVERIFY(!main->colourPalette());
  QTest::mouseClick(image11, Qt::LeftButton);
  QVERIFY(main->closeChild(m));
  QVERIFY(!main->colourPalette());
}

void ColourPaletteWindowTest::colourTool() {
  OPEN_LIBRO(1);
  pm::ColourPaletteWindow* p = main->openColourPaletteFresh();
  QVERIFY(p);
  // No tool in the program folder: the colour dialog puts its colour in the field.
  QTest::mouseClick(part<QPushButton>(p, "Command2"), Qt::LeftButton);
  QColorDialog* dialog = p->colourDialog();
  QVERIFY(dialog && dialog->isVisible());
  QVERIFY(f.platform.calls.empty());
  dialog->setCurrentColor(QColor(0x12, 0x34, 0x05));
  dialog->accept();
  QCOMPARE(part<QLineEdit>(p, "Text1")->text(), QString("#123405"));

  // With the tool there, it is started and the palette stays as it is.
#ifdef _WIN32
  const QString tool = f.home() + "/Plugin/Colors.exe";
#else
  const QString tool = f.home() + "/Plugin/Colors";
#endif
  writeBytes(tool, "tool");
  QTest::mouseClick(part<QPushButton>(p, "Command2"), Qt::LeftButton);
  QVERIFY(recorded(f.platform, "program", tool));
  QVERIFY(main->colourPalette());
}

QTEST_MAIN(ColourPaletteWindowTest)
#include "colour_palette_window_test.moc"

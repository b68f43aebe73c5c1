// The large plain-text view on its own: line ends and encodings, selections within and
// across lines by keyboard and mouse, copying, and texts that end with or without a line end.
#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>

#include "ui/large_text_view.h"

using pm::LargeTextView;

class LargeTextViewTest : public QObject {
  Q_OBJECT
 private slots:
  void linesAndEncodings();
  void selectionsByKeyboardAndMouse();
};

void LargeTextViewTest::linesAndEncodings() {
  struct Case {
    const char* name;
    std::string bytes;
    QStringList lines;
  } cases[] = {
      {"empty", "", {""}},
      {"CR LF, last line ended", "uno\r\ndue\r\n", {"uno", "due"}},
      {"LF, last line open", "uno\n\ntre", {"uno", "", "tre"}},
      {"UTF-8", "citt\xc3\xa0\r\n", {QString::fromUtf8("citt\xc3\xa0")}},
      {"Windows-1252", "citt\xe0\r\n\x80", {QString::fromUtf8("citt\xc3\xa0"), QString::fromUtf8("\xe2\x82\xac")}},
      // A map of rooms in both encodings: each line is read by its own bytes.
      {"mixed", "citt\xc3\xa0\r\ncitt\xe0\r\n", {QString::fromUtf8("citt\xc3\xa0"), QString::fromUtf8("citt\xc3\xa0")}},
  };
  LargeTextView view;
  for (const Case& c : cases) {
    view.setText(c.bytes);
    QCOMPARE(view.lineCount(), int(c.lines.size()));
    for (int i = 0; i < int(c.lines.size()); ++i) QVERIFY2(view.line(i) == c.lines[i], c.name);
    QCOMPARE(view.bytes(), c.bytes);
    QVERIFY2(!view.text().contains('\r'), c.name);
    QVERIFY2(view.text() == c.lines.join('\n') + (c.bytes.ends_with('\n') ? "\n" : ""), c.name);
  }
}

void LargeTextViewTest::selectionsByKeyboardAndMouse() {
  LargeTextView view;
  view.resize(400, 300);
  view.show();
  QVERIFY(QTest::qWaitForWindowExposed(&view));
  view.setFocus();
  view.setText("alfa beta\r\ngamma\r\ndelta\r\n");
  view.select({0, 5}, {2, 3});
  QCOMPARE(view.selectedText(), QString("beta\ngamma\ndel"));
  view.select({2, 3}, {0, 5});  // backwards: the same text
  QCOMPARE(view.selectedText(), QString("beta\ngamma\ndel"));

  // Keyboard: Shift+arrows extend over the line end; a plain arrow drops the selection.
  view.select({0, 8}, {0, 8});
  for (int i = 0; i < 3; ++i) QTest::keyClick(&view, Qt::Key_Right, Qt::ShiftModifier);
  QCOMPARE(view.selectedText(), QString("a\ng"));
  QTest::keyClick(&view, Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), QString("a\ng"));
  QTest::keyClick(&view, Qt::Key_Down);
  QCOMPARE(view.selectedText(), QString());
  QCOMPARE(view.cursorPos(), (LargeTextView::Pos{2, 1}));
  QTest::keyClick(&view, Qt::Key_End, Qt::ControlModifier);
  QCOMPARE(view.cursorPos(), (LargeTextView::Pos{2, 5}));
  QTest::keyClick(&view, Qt::Key_A, Qt::ControlModifier);
  QCOMPARE(view.selectedText(), QString("alfa beta\ngamma\ndelta"));

  // The mouse, on a long text.
  std::string text;
  for (int i = 0; i < 500; ++i) text += "riga " + std::to_string(i) + " del testo\r\n";
  view.setText(text);
  QSignalSpy done(&view, &LargeTextView::mouseSelectionDone);

  // A drag from one line to the next, far down the text.
  const QPoint to = view.pointOf({301, 8});  // scrolls: line 301 comes on screen, 300 with it
  const QPoint from = view.pointOf({300, 5});
  QTest::mousePress(view.viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(view.viewport(), to);
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, to);
  QCOMPARE(view.selectedText(), QString("300 del testo\nriga 301"));
  QCOMPARE(done.count(), 1);

  // A double click selects the word under the pointer.
  const QPoint word = view.pointOf({42, 6});
  QTest::mouseDClick(view.viewport(), Qt::LeftButton, {}, word);
  QTest::mouseRelease(view.viewport(), Qt::LeftButton, {}, word);
  QCOMPARE(view.selectedText(), QString("42"));
  QCOMPARE(done.count(), 2);
}

QTEST_MAIN(LargeTextViewTest)
#include "large_text_view_test.moc"

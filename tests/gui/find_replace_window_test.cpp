// The find and replace window over a room editor: opened by F8 and the toolbar button
// (again F8: the same window, its fields kept), Enter in "Trova", in front after a find,
// moved off the text it found, case-blind finding, Replace one on the occurrence the author selected, Replace all as
// one history step per occurrence, the messages, and closing with the editor.
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTextBlock>
#include <QTextCursor>

#include "support/editor_tools.h"

using namespace pmtest;

namespace {

pm::FindReplaceWindow* openFind(GuiFixture& f, pm::RoomEditorWindow* e) {
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F8);
  return f.main()->findReplace();
}

// Room 1 holding `bytes` in a fresh editor, and the find window opened on it by F8.
bool openOn(GuiFixture& f, const QString& folder, const std::string& bytes, pm::RoomEditorWindow*& e,
            pm::FindReplaceWindow*& w) {
  writeBytes(folder + "/1", bytes);
  e = openEditor(f, folder, "1");
  w = e ? openFind(f, e) : nullptr;
  return w != nullptr;
}

void fill(pm::FindReplaceWindow* w, const QString& find, const QString& replacement) {
  part<QLineEdit>(w, "txtfind")->setText(find);
  part<QLineEdit>(w, "txtreplace")->setText(replacement);
}

}  // namespace

class FindReplaceWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void findAndFindNext();
  void replaceOneTheSelectedOccurrenceAndReplaceAllStepByStep();
  void openedByTheButtonAndClosedWithTheEditor();
  void movesOffTheTextItFound();
};

void FindReplaceWindowTest::findAndFindNext() {
  OPEN_LIBRO(2);
  pm::RoomEditorWindow* e = nullptr;
  pm::FindReplaceWindow* w = nullptr;
  QVERIFY(openOn(f, folder, "Il Ponte e il ponte\r\n", e, w));
  QVERIFY(part<QLineEdit>(w, "txtfind")->hasFocus());
  shoot(main, "find_replace");
  QTest::keyClick(part<QLineEdit>(w, "txtfind"), Qt::Key_F1);
  QVERIFY(helpOpened(f, "trova_sostituisci.htm"));

  // Enter in "Trova" finds; the window stays in front with the keyboard; F8 in the editor
  // brings the same window back with what was typed in it.
  fill(w, "PONTE", "");
  QTest::keyClick(part<QLineEdit>(w, "txtfind"), Qt::Key_Return);
  QCOMPARE(e->selectedText(), QString("Ponte"));
  QCOMPARE(part<QMdiArea>(main, "Client")->activeSubWindow()->widget(), w);
  QTRY_VERIFY(part<QLineEdit>(w, "txtfind")->hasFocus());
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F8);
  QCOMPARE(main->findReplace(), w);
  QCOMPARE(part<QMdiArea>(main, "Client")->activeSubWindow()->widget(), w);
  QCOMPARE(part<QLineEdit>(w, "txtfind")->text(), QString("PONTE"));
  QTest::mouseClick(part<QPushButton>(w, "cmdfind"), Qt::LeftButton);
  QCOMPARE(e->selectedText(), QString("Ponte"));
  QCOMPARE(e->selectionStart(), 3);
  QTest::mouseClick(part<QPushButton>(w, "cmdfindnext"), Qt::LeftButton);
  QCOMPARE(e->selectionStart(), 14);
  QVERIFY(f.prompts.calls.empty());
  // The end: the selection stays and the search says it has finished.
  QTest::mouseClick(part<QPushButton>(w, "cmdfindnext"), Qt::LeftButton);
  QCOMPARE(e->selectionStart(), 14);
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Operazione completata"});
  // (The other messages and the empty find text: find_replace_test.)
}

void FindReplaceWindowTest::replaceOneTheSelectedOccurrenceAndReplaceAllStepByStep() {
  OPEN_LIBRO(2);
  pm::RoomEditorWindow* e = nullptr;
  pm::FindReplaceWindow* w = nullptr;
  QVERIFY(openOn(f, folder, "uno due uno\r\n", e, w));
  fill(w, "UNO", "tre");
  // The author skips the first occurrence: the one found and selected is the one replaced
  // (where the caret or a selection that is no occurrence leads: find_replace_test).
  selectText(e, 0, 3);
  QTest::mouseClick(part<QPushButton>(w, "cmdfindnext"), Qt::LeftButton);
  QTest::mouseClick(part<QPushButton>(w, "cmdreplace"), Qt::LeftButton);
  QCOMPARE(e->text(), QString("uno due tre"));
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Operazione completata"});
  e->undo();
  QCOMPARE(e->text(), QString("uno due uno"));

  // Replace all is one history step per occurrence.
  part<QPlainTextEdit>(e, "Text1")->setPlainText("banana");
  f.prompts.calls.clear();
  fill(w, "A", "aa");
  QTest::mouseClick(part<QPushButton>(w, "cmdreplaceall"), Qt::LeftButton);
  QCOMPARE(e->text(), QString("baanaanaa"));
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Operazione completata"});
  const QString steps[] = {"baanaana", "baanana", "banana"};
  for (const QString& before : steps) {
    e->undo();
    QCOMPARE(e->text(), before);
  }
  e->redo();
  QCOMPARE(e->text(), QString("baanana"));
  // The editor saves what it shows.
  e->closeEditor();
  QCOMPARE(readBytes(folder + "/1"), std::string("baanana\r\n"));
}

void FindReplaceWindowTest::openedByTheButtonAndClosedWithTheEditor() {
  OPEN_LIBRO(2);
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  QTest::mouseClick(part<QToolButton>(e, "Trova"), Qt::LeftButton);
  QPointer<pm::FindReplaceWindow> w = main->findReplace();
  QVERIFY(w);
  QVERIFY(shown(main, w));
  QCOMPARE(main->childGeometry(w).top(), 0);  // one twip below the top
  QVERIFY(e->closeEditor());
  QTRY_VERIFY(w.isNull() || !main->findReplace());

  // "&Annulla" closes it.
  e = openEditor(f, folder, "1");
  QVERIFY(e);
  w = openFind(f, e);
  QVERIFY(w);
  QTest::mouseClick(part<QPushButton>(w, "Command1"), Qt::LeftButton);
  QVERIFY(!main->findReplace());
  QVERIFY(main->editor());
}

void FindReplaceWindowTest::movesOffTheTextItFound() {
  OPEN_LIBRO(2);
  pm::RoomEditorWindow* e = nullptr;
  pm::FindReplaceWindow* w = nullptr;
  std::string dots;
  for (int i = 0; i < 30; ++i) dots += std::string(40, '.') + "\r\n";
  QVERIFY(openOn(f, folder, dots, e, w));
  auto* area = part<QPlainTextEdit>(e, "Text1");
  const QRect frame = main->childGeometry(w);
  // Where a stretch of the text is in the work area.
  auto placeOf = [&](const QTextCursor& from, const QTextCursor& to) {
    const QRect r = area->cursorRect(from).united(area->cursorRect(to));
    return QRect(main->clientPoint(area->viewport()->mapToGlobal(r.topLeft())), r.size());
  };
  // "oro" written over three dots of one line that lie under the window.
  QTextCursor under;
  for (int p = 0; p + 3 < area->document()->characterCount() && under.isNull(); ++p) {
    QTextCursor from(area->document()), to(area->document());
    from.setPosition(p);
    to.setPosition(p + 3);
    if (from.block() == to.block() && frame.intersects(placeOf(from, to))) under = from;
  }
  QVERIFY(!under.isNull());
  under.setPosition(under.position() + 3, QTextCursor::KeepAnchor);
  under.insertText("oro");

  // The find selects it and the window moves off it, its size kept, inside the work area.
  fill(w, "ORO", "");
  QTest::keyClick(part<QLineEdit>(w, "txtfind"), Qt::Key_Return);
  QCOMPARE(e->selectedText(), QString("oro"));
  const QRect found(main->clientPoint(e->selectionRect().topLeft()), e->selectionRect().size());
  const QRect moved = main->childGeometry(w);
  QVERIFY(!moved.intersects(found));
  QCOMPARE(moved.size(), frame.size());
  QVERIFY(QRect(QPoint(0, 0), main->clientSize()).contains(moved));
  QTRY_VERIFY(part<QLineEdit>(w, "txtfind")->hasFocus());
  // Found again where it does not cover it, the window stays.
  QTest::mouseClick(part<QPushButton>(w, "cmdfind"), Qt::LeftButton);
  QCOMPARE(e->selectedText(), QString("oro"));
  QCOMPARE(main->childGeometry(w), moved);
}

QTEST_MAIN(FindReplaceWindowTest)
#include "find_replace_window_test.moc"

// The find and replace window over a room editor: opened by F8 and the toolbar button,
// case-blind finding, Replace one from the first occurrence wherever the caret is, Replace
// all as one history step per occurrence, the messages, and closing with the editor.
#include <QLineEdit>

#include "support/editor_tools.h"

using namespace pmtest;

namespace {

pm::FindReplaceWindow* openFind(GuiFixture& f, pm::RoomEditorWindow* e) {
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F8);
  return f.main()->findReplace();
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
  void replaceOneStartsFromTheFirstOccurrence();
  void replaceAllIsOneStepPerOccurrence();
  void openedByTheButtonAndClosedWithTheEditor();
};

void FindReplaceWindowTest::findAndFindNext() {
  OPEN_LIBRO(2);
  writeBytes(folder + "/1", "Il Ponte e il ponte\r\n");
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  pm::FindReplaceWindow* w = openFind(f, e);
  QVERIFY(w);
  QCOMPARE(w->windowTitle(), QString("Trova / Sostituisci..."));
  QVERIFY2(unnamedControls(w).isEmpty(), qPrintable(unnamedControls(w).join(",")));
  QVERIFY(part<QLineEdit>(w, "txtfind")->hasFocus());
  shoot(main, "find_replace");

  fill(w, "PONTE", "");
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

  f.prompts.calls.clear();
  fill(w, "fiume", "");
  QTest::mouseClick(part<QPushButton>(w, "cmdfind"), Qt::LeftButton);
  QCOMPARE(e->selectionStart(), 14);
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Impossibile trovare il testo ricercato"});
}

void FindReplaceWindowTest::replaceOneStartsFromTheFirstOccurrence() {
  OPEN_LIBRO(2);
  writeBytes(folder + "/1", "uno due uno\r\n");
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  pm::FindReplaceWindow* w = openFind(f, e);
  QVERIFY(w);
  fill(w, "UNO", "tre");
  selectText(e, 11, 0);  // the caret at the end
  QTest::mouseClick(part<QPushButton>(w, "cmdreplace"), Qt::LeftButton);
  QCOMPARE(e->text(), QString("tre due uno"));
  QCOMPARE(e->selectionStart(), 8);  // the next occurrence selected
  QCOMPARE(e->selectionLength(), 3);
  QTest::mouseClick(part<QPushButton>(w, "cmdreplace"), Qt::LeftButton);
  QCOMPARE(e->text(), QString("tre due tre"));
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Operazione completata"});
  // Nothing left to find: nothing is replaced.
  f.prompts.calls.clear();
  QTest::mouseClick(part<QPushButton>(w, "cmdreplace"), Qt::LeftButton);
  QCOMPARE(e->text(), QString("tre due tre"));
  QCOMPARE(promptTexts(f.prompts), std::vector<std::string>{"message: Impossibile trovare il testo ricercato"});
  e->undo();
  QCOMPARE(e->text(), QString("tre due uno"));
}

void FindReplaceWindowTest::replaceAllIsOneStepPerOccurrence() {
  OPEN_LIBRO(2);
  writeBytes(folder + "/1", "banana\r\n");
  pm::RoomEditorWindow* e = openEditor(f, folder, "1");
  QVERIFY(e);
  pm::FindReplaceWindow* w = openFind(f, e);
  QVERIFY(w);
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

QTEST_MAIN(FindReplaceWindowTest)
#include "find_replace_window_test.moc"

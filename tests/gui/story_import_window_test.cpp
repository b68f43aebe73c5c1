// The window "Importa una storia" through the real main window: opened from the top bar,
// the file chosen through the prompts, the new project and what to look at shown, the
// project opened; a file that is no story, or a name taken, said in the window.
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>

#include "exchange/story_import_window.h"
#include "rooms/project_manager_window.h"
#include "support/gui_fixture.h"

using namespace pmtest;

class StoryImportWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void importsAStoryAndOpensIt();
  void saysWhyAFileIsNotImported();
};

void StoryImportWindowTest::importsAStoryAndOpensIt() {
  GuiFixture f;
  const QString file = f.home() + "/gita.twee";
  writeBytes(file, ":: StoryTitle\nGita\n:: Start [mare]\nVai [[alla spiaggia->Spiaggia]] o [[Bosco]].\n"
                   ":: Spiaggia\n(set: $sole to true)Sabbia.\n");
  QTest::mouseClick(part<QToolButton>(f.main(), "ImageImporta"), Qt::LeftButton);
  pm::StoryImportWindow* w = f.main()->storyImport();
  QVERIFY(w);
  QVERIFY(shown(f.main(), w));
  QVERIFY(!part<QPushButton>(w, "Command2")->isEnabled());
  f.prompts.answer_input(file.toStdString());
  QTest::mouseClick(part<QPushButton>(w, "Command1"), Qt::LeftButton);
  QCOMPARE(f.prompts.calls.back().title, std::string("Importa una storia"));
  QVERIFY(part<QLabel>(w, "Label1")->text().contains("Creato il progetto \"Gita\": 2 Stanze"));
  const QString report = w->reportText();
  QVERIFY(report.contains("gita.twee:4: passaggio \"Start\": il collegamento [[Bosco]]"));
  QVERIFY(report.contains("gita.twee:6: passaggio \"Spiaggia\": usa macro"));
  shoot(f.main(), "story_import");

  QTest::mouseClick(part<QPushButton>(w, "Command2"), Qt::LeftButton);
  QTRY_VERIFY(f.main()->manager() && f.main()->manager()->entryCount() == 2);
  QVERIFY(!f.main()->storyImport());
  QVERIFY(!f.main()->startPage());  // as when a project is opened there
  QCOMPARE(QString::fromStdString(readBytes(f.projects() + "/Gita/1")), QString("(set: $sole to true)Sabbia.\r\n"));
}

void StoryImportWindowTest::saysWhyAFileIsNotImported() {
  GuiFixture f;
  writeBytes(f.home() + "/nota.txt", "solo testo\n");
  writeBytes(f.home() + "/libro.twee", ":: StoryTitle\nIl Ponte sul Fiume\n:: Start\nx\n");
  QVERIFY(f.main()->openStoryImportFresh());
  pm::StoryImportWindow* w = f.main()->storyImport();
  const auto before = snapshot(f.projects());
  QVERIFY(!w->importFile((f.home() + "/nota.txt").toStdString()));
  QVERIFY(w->reportText().contains("non \u00E8 una storia Twee"));
  QVERIFY(!w->importFile((f.home() + "/libro.twee").toStdString()));  // the sample book has that name
  QVERIFY(w->reportText().contains("Questo nome \u00E8 gi\u00E0 presente"));
  QVERIFY(!part<QPushButton>(w, "Command2")->isEnabled());
  QVERIFY(snapshot(f.projects()) == before);
  // Cancelled: nothing asked of the core, nothing shown.
  QVERIFY(!w->chooseAndImport());
}

QTEST_MAIN(StoryImportWindowTest)
#include "story_import_window_test.moc"

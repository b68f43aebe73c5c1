// The resources and upload windows driven from the room editor: a picture with a spaced
// name inserted by double-click, a MIDI file in sound mode, "&Stop" only in sound mode, a
// new file listed within a second, uploads of two files and of none, Res.ini, the res
// folder shown in the file manager whatever its case, and the windows closing with the editor.
#include <QImage>
#include <QLabel>
#include <QSignalSpy>
#include <QTextCursor>

#include "editor/resources_window.h"
#include "editor/room_editor_window.h"
#include "editor/upload_window.h"
#include "support/gui_fixture.h"

using namespace pmtest;
using pm::ResourcesWindow;
using pm::RoomEditorWindow;
using pm::UploadWindow;

namespace {

void writePicture(const QString& file, Qt::GlobalColor colour) {
  QDir().mkpath(QFileInfo(file).absolutePath());
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(colour);
  image.save(file);
}

// The editor on room 1 of a new book "Libro" with `res` files, loaded, its caret at the end.
RoomEditorWindow* openRoom(GuiFixture& f, QString& folder) {
  folder = makeProject(f.projects(), "Libro", descriptions(3));
  writePicture(folder + "/res/drago rosso.png", Qt::red);
  writePicture(folder + "/res/mappa.JPG", Qt::blue);
  writeBytes(folder + "/res/tema.mid", "MThd");
  writeBytes(folder + "/res/leggimi.txt", "no");
  pm::ProjectManagerWindow* m = openProject(f, folder);
  if (!m) return nullptr;
  doubleClickRoom(m, "1");
  if (!QTest::qWaitFor([&f] { return f.main()->editor() && f.main()->editor()->isLoaded(); }, 3000)) return nullptr;
  RoomEditorWindow* e = f.main()->editor();
  auto* text = part<QPlainTextEdit>(e, "Text1");
  QTextCursor c = text->textCursor();
  c.movePosition(QTextCursor::End);
  text->setTextCursor(c);
  return e;
}

QStringList listed(QListWidget* list) {
  QStringList out;
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

void doubleClickRow(QListWidget* list, int row) {
  list->setCurrentRow(row);
  const QRect r = list->visualItemRect(list->item(row));
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
}

}  // namespace

#define OPEN_ROOM()                          \
  GuiFixture f;                              \
  QString folder;                            \
  RoomEditorWindow* e = openRoom(f, folder); \
  QVERIFY(e);                                \
  pm::MainWindow* main = f.main()

class ResourcesWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void pictureAndMidiInsertedByDoubleClick();
  void newFileListedManageAndClosingWithTheEditor();
  void uploadOfTwoFilesAndOfNone();
};

void ResourcesWindowTest::pictureAndMidiInsertedByDoubleClick() {
  OPEN_ROOM();
  QTest::mouseClick(e->findChild<QToolButton*>("Immagini"), Qt::LeftButton);
  QTRY_VERIFY(main->resources());
  ResourcesWindow* r = main->resources();
  QCOMPARE(r->windowTitle(), QString("Immagini"));
  QCOMPARE(r->Modi, QString("1"));
  QVERIFY(!e->isEnabled());
  auto* list = part<QListWidget>(r, "File1");
  QCOMPARE(listed(list), (QStringList{"drago rosso.png", "mappa.JPG"}));
  QVERIFY(unnamedControls(r).isEmpty());

  // A click previews; refresh ticks go by and "&Stop" never shows in image mode.
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
  QCOMPARE(r->Posi, QString("0"));
  QVERIFY(!part<QLabel>(r, "Image1")->pixmap().isNull());
  QSignalSpy refreshes(&r->Aggiorna, &QTimer::timeout);
  QTRY_VERIFY(refreshes.count() >= 1);
  QVERIFY(!part<QPushButton>(r, "Command3")->isVisible());
  shoot(main, "resources_images");

  doubleClickRow(list, 0);
  QTRY_VERIFY(!main->resources());
  QCOMPARE(e->text(), QString("Testo 1<img src=\"res\\drago rosso.png\">"));
  QVERIFY(e->isEnabled());

  // F5 opens it again; Enter inserts the selected file in place of the selection.
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(part<QPlainTextEdit>(e, "Text1"), Qt::Key_F5);
  QTRY_VERIFY(main->resources());
  list = part<QListWidget>(main->resources(), "File1");
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
  QTest::keyClick(list, Qt::Key_Down);
  QCOMPARE(list->currentRow(), 1);
  QSignalSpy ticks(&main->resources()->Aggiorna, &QTimer::timeout);
  QTRY_VERIFY(ticks.count() >= 1);  // a refresh tick keeps the file chosen by the keys
  QCOMPARE(list->currentRow(), 1);
  QTest::keyClick(list, Qt::Key_Return);
  QTRY_VERIFY(!main->resources());
  QCOMPARE(e->text(), QString("<img src=\"res\\mappa.JPG\">"));

  // Sound mode lists the MIDI file, shows "&Stop" after its first tick and loops for ever.
  QTest::mouseClick(e->findChild<QToolButton*>("Suono"), Qt::LeftButton);
  QTRY_VERIFY(main->resources());
  r = main->resources();
  QCOMPARE(r->Modi, QString("2"));
  list = part<QListWidget>(r, "File1");
  QCOMPARE(listed(list), QStringList{"tema.mid"});
  auto* stop = part<QPushButton>(r, "Command3");
  QVERIFY(!stop->isVisible());
  QTRY_VERIFY_WITH_TIMEOUT(stop->isVisible(), 2000);  // after the first tick
  shoot(main, "resources_sounds");
  QTest::mouseClick(stop, Qt::LeftButton);
  QVERIFY(!r->Aggiorna.isActive());

  doubleClickRow(list, 0);
  QTRY_VERIFY(!main->resources());
  QCOMPARE(e->text(), QString("<img src=\"res\\mappa.JPG\"><bgsound src='res\\tema.mid' loop='-1'>"));
}

void ResourcesWindowTest::newFileListedManageAndClosingWithTheEditor() {
  OPEN_ROOM();
  main->openResourcesFresh(pm::ResourceMode::Images);
  auto* list = part<QListWidget>(main->resources(), "File1");
  QCOMPARE(list->count(), 2);
  writeBytes(folder + "/res/bosco.gif", "GIF89a");  // Qt writes no GIF: the name is what counts
  QTRY_COMPARE_WITH_TIMEOUT(listed(list), (QStringList{"bosco.gif", "drago rosso.png", "mappa.JPG"}), 1200);
  QFile::remove(folder + "/res/mappa.JPG");
  QTRY_COMPARE_WITH_TIMEOUT(listed(list), (QStringList{"bosco.gif", "drago rosso.png"}), 1200);

  // "Gestisci" shows the res folder whatever its case (a book written on Windows).
  QVERIFY(QDir(folder).rename("res", "Res"));
  main->openResourcesFresh(pm::ResourceMode::Images);
  ResourcesWindow* r = main->resources();
  QCOMPARE(part<QListWidget>(r, "File1")->count(), 2);
  QTest::mouseClick(part<QPushButton>(r, "Command2"), Qt::LeftButton);
  QVERIFY(recorded(f.platform, "folder", folder + "/Res"));
  QVERIFY(!QFileInfo(folder + "/res").exists());

  // The resources and upload windows close with the editor.
  main->openResourcesFresh(pm::ResourceMode::Sounds);
  QTest::mouseClick(part<QPushButton>(main->resources(), "Command1"), Qt::LeftButton);
  QTRY_VERIFY(main->upload());
  QVERIFY(e->closeEditor());
  QTRY_VERIFY(!main->upload() && !main->resources() && !main->editor());
}


void ResourcesWindowTest::uploadOfTwoFilesAndOfNone() {
  OPEN_ROOM();
  const QString source = f.home() + "/../Foto";
  writePicture(source + "/alba.png", Qt::yellow);
  writePicture(source + "/bosco.jpg", Qt::green);
  writeBytes(source + "/cielo.gif", "GIF89a");
  writeBytes(source + "/nota.txt", "no");
  QDir().mkpath(source + "/vecchie");
  main->openResourcesFresh(pm::ResourceMode::Images);
  ResourcesWindow* r = main->resources();

  QTest::mouseClick(part<QPushButton>(r, "Command1"), Qt::LeftButton);
  QTRY_VERIFY(main->upload() && main->upload()->isReady());
  UploadWindow* u = main->upload();
  QCOMPARE(u->windowTitle(), QString("UpLoad Immagini - Copia l'immagine nel progetto"));
  QVERIFY(!shown(main, r));
  QVERIFY(!e->isEnabled());
  QCOMPARE(u->currentFolder(), QDir::cleanPath(folder + "/res"));  // no Res.ini yet

  u->setCurrentFolder(source);
  auto* files = part<QListWidget>(u, "File1");
  QCOMPARE(listed(files), (QStringList{"alba.png", "bosco.jpg", "cielo.gif"}));
  QVERIFY(listed(part<QListWidget>(u, "Dir1")).contains("vecchie"));
  QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(files->item(0)).center());
  QTest::mouseClick(files->viewport(), Qt::LeftButton, Qt::ControlModifier, files->visualItemRect(files->item(2)).center());
  QVERIFY(!part<QLabel>(u, "Image1")->pixmap().isNull());
  shoot(main, "upload");
  writeBytes(folder + "/res/alba.png", "vecchia");  // replaced after a Yes (the rule is in resources_test)
  f.prompts.answer_question(true);

  QTest::mouseClick(part<QPushButton>(u, "Command1"), Qt::LeftButton);
  QTRY_VERIFY(!main->upload());
  QCOMPARE(readBytes(folder + "/res/alba.png"), readBytes(source + "/alba.png"));
  QCOMPARE(readBytes(folder + "/res/cielo.gif"), readBytes(source + "/cielo.gif"));
  QVERIFY(!QFileInfo(folder + "/res/bosco.jpg").exists());
  QCOMPARE(promptTexts(f.prompts).size(), size_t(1));
  QVERIFY(promptTexts(f.prompts)[0].find("Sostituire alba.png?") != std::string::npos);
  f.prompts.calls.clear();
  // Back in the resources window, which lists the new files within a second.
  QTRY_VERIFY(shown(main, r));
  QTRY_COMPARE_WITH_TIMEOUT(listed(part<QListWidget>(r, "File1")),
                            (QStringList{"alba.png", "cielo.gif", "drago rosso.png", "mappa.JPG"}), 1200);
  auto ini = pm::split_lines(readBytes(f.home() + "/Res.ini"));
  QCOMPARE(ini.size(), size_t(2));
  QCOMPARE(QString::fromStdString(ini[1]), QDir::cleanPath(source));

  // Opened again it starts where it was left; "&Carica" with nothing chosen copies nothing.
  const auto before = snapshot(folder + "/res");
  QTest::mouseClick(part<QPushButton>(r, "Command1"), Qt::LeftButton);
  QTRY_VERIFY(main->upload() && main->upload()->isReady());
  u = main->upload();
  QCOMPARE(u->currentFolder(), QDir::cleanPath(source));
  QCOMPARE(part<QListWidget>(u, "File1")->selectedItems().size(), 0);
  QTest::mouseClick(part<QPushButton>(u, "Command1"), Qt::LeftButton);
  QTRY_VERIFY(!main->upload());
  QCOMPARE(snapshot(folder + "/res"), before);
  QVERIFY(f.prompts.calls.empty());
}

QTEST_MAIN(ResourcesWindowTest)
#include "resources_window_test.moc"

// The project properties window driven from the project manager's F7: a creation file
// turned into the ten-field form, the width and double-quote rules, the folder-name field
// that renames nothing, the skip check seen in the compiled start page, and a project file
// that cannot be read, reported and left as it is.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>

#include "project/properties_window.h"
#include "support/editor_tools.h"

using namespace pmtest;
using pm::PropertiesWindow;

namespace {

// F7 in the project manager, as the author presses it; the window once loaded.
PropertiesWindow* pressF7(GuiFixture& f, pm::ProjectManagerWindow* m) {
  QTest::keyClick(part<QListWidget>(m, "List1"), Qt::Key_F7);
  if (!QTest::qWaitFor([&f] { return f.main()->properties() && f.main()->properties()->isLoaded(); }, 3000))
    return nullptr;
  return f.main()->properties();
}

QLineEdit* box(PropertiesWindow* w, int n) { return part<QLineEdit>(w, qPrintable(QString("Text%1").arg(n))); }

void closeByEsc(GuiFixture& f, PropertiesWindow* w) {
  QTest::keyClick(w, Qt::Key_Escape);
  QTRY_VERIFY(!f.main()->properties());
}

}  // namespace

class PropertiesWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void tenFieldFormEditedFieldsAndTheSkipCheck();
  void anUnreadableProjectFileIsLeftUntouched();
};

void PropertiesWindowTest::tenFieldFormEditedFieldsAndTheSkipCheck() {
  OPEN_LIBRO(2);
  QVERIFY(part<QToolButton>(f.main(), "Image7")->isEnabled());

  PropertiesWindow* w = pressF7(f, m);
  QVERIFY(w);
  QCOMPARE(box(w, 1)->text(), QString("Libro"));
  QCOMPARE(box(w, 3)->text(), QString("01/01/2025"));
  QCOMPARE(box(w, 7)->text(), QString("100%"));
  QVERIFY(!part<QCheckBox>(w, "Check1")->isChecked());
  QVERIFY(!m->isEnabled());
  QVERIFY(part<QWidget>(f.main(), "Picture3")->isVisible());
  shoot(f.main(), "properties");

  closeByEsc(f, w);
  QCOMPARE(readBytes(folder + "/Libro.dat"),
           std::string("\"Libro\",\"Libro\",\"01/01/2025\",\"Autore\",\"\",\"\",\"100%\",,,0\r\n"));
  QVERIFY(m->isEnabled());
  QVERIFY(!part<QWidget>(f.main(), "Picture3")->isVisible());
  QVERIFY(f.prompts.calls.empty());

  // Edited fields follow the width and double-quote rules.
  f.main()->openProperties();  // the toolbar button's way
  QTRY_VERIFY(f.main()->properties() && f.main()->properties()->isLoaded());
  w = f.main()->properties();
  box(w, 1)->setText("Altro Nome");
  box(w, 2)->setText("Il \"Drago\" d'oro");
  // A line break pasted into a box cannot split the project file's line.
  box(w, 4)->clear();
  QApplication::clipboard()->setText(QString("Anna") + QChar::LineSeparator + "Bianchi");
  box(w, 4)->paste();
  box(w, 7)->clear();
  closeByEsc(f, w);
  QCOMPARE(readBytes(folder + "/Libro.dat"),
           std::string("\"Altro Nome\",\"Il ''Drago'' d'oro\",\"01/01/2025\",\"Anna Bianchi\",\"\",\"\",\"100%\",,,0\r\n"));
  // The folder-name field is only data: nothing is renamed.
  QVERIFY(QFileInfo(folder).isDir());
  QVERIFY(QFileInfo(folder + "/Libro.dat").isFile());
  QVERIFY(!QFileInfo(f.projects() + "/Altro Nome").exists());
  QCOMPARE(QDir(folder).entryList(QStringList{"*.dat"}, QDir::Files), QStringList{"Libro.dat"});

  // In a book written on Windows an ASCII field edited to "Niccolò" is written in
  // Windows-1252, like the room's "città"; "ő", which it cannot hold, as a reference.
  writeBytes(folder + "/0", "Citt\xE0\r\n");
  w = pressF7(f, m);
  QVERIFY(w);
  box(w, 4)->setText(QString::fromUtf8("Niccol\xC3\xB2 Lisz\xC5\x91"));
  closeByEsc(f, w);
  QVERIFY(readBytes(folder + "/Libro.dat").find("\"Niccol\xF2 Lisz&#337;\"") != std::string::npos);
  w = pressF7(f, m);
  QVERIFY(w);
  QCOMPARE(box(w, 4)->text(), QString::fromUtf8("Niccol\xC3\xB2 Lisz&#337;"));
  QCOMPARE(box(w, 2)->text(), QString("Il ''Drago'' d'oro"));

  // The skip check makes the compiled start page jump to the first room.
  QTest::mouseClick(part<QCheckBox>(w, "Check1"), Qt::LeftButton, {}, QPoint(6, part<QCheckBox>(w, "Check1")->height() / 2));
  closeByEsc(f, w);
  QVERIFY(readBytes(folder + "/Libro.dat").ends_with(",,,1\r\n"));

  f.main()->testProject();  // the whole-project test
  QTRY_VERIFY(recorded(f.platform, "open", f.home() + "/Output/index.htm"));
  const std::string index = readBytes(f.home() + "/Output/index.htm");
  QVERIFY2(index.find("url=0.htm") != std::string::npos, index.c_str());
  QVERIFY(index.find("Continua >>") == std::string::npos);
}

void PropertiesWindowTest::anUnreadableProjectFileIsLeftUntouched() {
  OPEN_LIBRO(2);
  // The project file becomes something that cannot be read as a file.
  QFile::remove(folder + "/Libro.dat");
  QDir().mkpath(folder + "/Libro.dat/dentro");
  writeBytes(folder + "/Libro.dat/dentro/nota", "resta");

  PropertiesWindow* w = pressF7(f, m);
  QVERIFY(w);
  QCOMPARE(f.prompts.calls.size(), size_t(1));
  QVERIFY2(f.prompts.calls[0].text.rfind("Impossibile leggere il file", 0) == 0, f.prompts.calls[0].text.c_str());
  QVERIFY(box(w, 2)->text().isEmpty());
  closeByEsc(f, w);
  QCOMPARE(f.prompts.calls.size(), size_t(1));  // closing unchanged says nothing more

  // A change cannot be saved over it either: the author is told.
  w = pressF7(f, m);
  QVERIFY(w);
  box(w, 2)->setText("Nuovo titolo");
  closeByEsc(f, w);
  QVERIFY(f.prompts.calls.back().text.rfind("Le proprietà non sono state salvate", 0) == 0);
  QVERIFY(QFileInfo(folder + "/Libro.dat").isDir());
  QCOMPARE(readBytes(folder + "/Libro.dat/dentro/nota"), std::string("resta"));
  QVERIFY(m->isEnabled());
}

QTEST_MAIN(PropertiesWindowTest)
#include "properties_window_test.moc"

// The start page driven offscreen: its two panels, project creation with every check and
// message, opening by any change of the current folder (double-click, Enter, the links,
// the last-project button, the end of a creation), and the folders that are not projects.
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>

#include "project/project_file.h"
#include "project/start_page_window.h"
#include "rooms/project_manager_window.h"
#include "support/gui_fixture.h"

using namespace pmtest;
using pm::StartPageWindow;

namespace {

// The row of `name` in the folder list, once the list has loaded it.
QModelIndex rowOf(QListView* list, const QString& name) {
  QModelIndex found;
  (void)QTest::qWaitFor([&] {
    auto* model = list->model();
    for (int i = 0; i < model->rowCount(list->rootIndex()); ++i) {
      QModelIndex index = model->index(i, 0, list->rootIndex());
      if (index.data().toString() == name) found = index;
    }
    return found.isValid();
  });
  return found;
}

void createWithTitle(GuiFixture& f, const std::optional<std::string>& title) {
  f.prompts.answer_input(title);
  StartPageWindow* s = f.main()->startPage();
  part<QPushButton>(s, "Command1")->click();
  part<QToolButton>(s, "Image1")->click();
}

}  // namespace

class StartPageTest : public QObject {
  Q_OBJECT
 private slots:
  void panelsAndLinks();
  void creationChecksAndNames();
  void openingByNavigation();
  void foldersThatAreNoProjectsLastProjectAndDesktop();
};

void StartPageTest::panelsAndLinks() {
  GuiFixture f;
  StartPageWindow* s = f.main()->startPage();
  QVERIFY(s);
  auto* panels = s->findChild<QStackedWidget*>();
  auto* create = part<QPushButton>(s, "Command1");
  auto* open = part<QPushButton>(s, "Command2");
  QCOMPARE(panels->currentWidget()->objectName(), QString("Frame2"));
  QVERIFY(open->font().bold() && !create->font().bold());

  // The folder list starts at Projects with its last entry selected.
  auto* list = part<QListView>(s, "Dir1");
  QCOMPARE(s->currentFolder(), f.projects());
  QTRY_VERIFY(list->currentIndex().isValid());
  QCOMPARE(list->currentIndex().data().toString(), QString("Il Ponte sul Fiume"));
  QCOMPARE(list->currentIndex().row(), list->model()->rowCount(list->rootIndex()) - 1);
  // The drive list shows the volume that holds it.
  auto* drive = part<QComboBox>(s, "Drive1");
  QString root = drive->currentData().toString();
  QVERIFY(!root.isEmpty());
  QVERIFY(f.projects().startsWith(root));
  shoot(f.main(), "start_page_open");

  create->click();
  QCOMPARE(panels->currentWidget()->objectName(), QString("Frame1"));
  QVERIFY(create->font().bold() && !open->font().bold());
  shoot(f.main(), "start_page_create");

  const std::pair<const char*, QString> help[] = {
      {"Label2", "creare_e_aprire.htm"}, {"Image2", "creare_e_aprire.htm"}, {"Label3", "tutorial.htm"},
      {"Image3", "tutorial.htm"},        {"Label4", "index.htm"},           {"Image4", "index.htm"}};
  for (const auto& [name, page] : help) {
    QAbstractButton* b = s->findChild<QAbstractButton*>(name);
    QVERIFY2(b, name);
    b->click();
    QCOMPARE(QString::fromStdString(f.platform.calls.back().target),
             QUrl::fromLocalFile(f.home() + "/Help/" + page).toString());
  }

  // Esc closes the start page and gives the help button back its design tooltip.
  QTest::keyClick(s, Qt::Key_Escape);
  QVERIFY(!f.main()->startPage());
  QCOMPARE(part<QToolButton>(f.main(), "Image10")->toolTip(), QString("Leggi la guida al programma"));
}

void StartPageTest::creationChecksAndNames() {
  GuiFixture f;
  // Cancelled, or a title that makes no name (the titles that do not: project_creation_test).
  for (const std::optional<std::string>& title : {std::optional<std::string>(), std::optional<std::string>("")}) {
    createWithTitle(f, title);
    QCOMPARE(f.prompts.calls.back().kind, std::string("message"));
    QCOMPARE(f.prompts.calls.back().text, std::string("Inserire un titolo"));
  }
  QCOMPARE(f.prompts.calls.front().text, std::string("Titolo:"));
  QCOMPARE(f.prompts.calls.front().title, std::string("Creazione di un nuovo progetto"));
  QCOMPARE(f.prompts.calls.front().default_text, std::string());

  // A folder of that name in any case already exists.
  createWithTitle(f, "IL PONTE SUL FIUME");
  QCOMPARE(f.prompts.calls.back().text, std::string("Questo nome è già presente"));
  QVERIFY(f.main()->startPage());
  QVERIFY(!f.main()->manager());
  QCOMPARE(QDir(f.projects()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

  // The name is made from the title (the creation test covers the rules and the files); the
  // project opens with room 0 and the start page closes.
  createWithTitle(f, "intro.htm \"Il\" <ponte>");
  pm::ProjectManagerWindow* m = f.main()->manager();
  QVERIFY(m);
  QVERIFY(!f.main()->startPage());
  const QString name = "intro  Il   ponte ";
  QCOMPARE(m->Nome, name);
  QCOMPARE(m->Percorso, f.projects() + "/" + name);
  QTRY_COMPARE(m->selectedEntry(), QString(" 0 | Luogo di partenza"));
  QCOMPARE(pm::parse_project_line(readBytes(m->Percorso + "/" + name + ".dat")).title(),
           std::string("intro.htm ''Il'' <ponte>"));
}

void StartPageTest::openingByNavigation() {
  GuiFixture f;
  StartPageWindow* s = f.main()->startPage();
  QString book = makeProject(f.projects(), "Zeta", {"Luogo di partenza", "Uno"});
  auto* list = part<QListView>(s, "Dir1");

  // A double-click on a project folder opens it.
  QModelIndex zeta = rowOf(list, "Zeta");
  QVERIFY(zeta.isValid());
  QRect r = list->visualRect(zeta);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, r.center());
  QVERIFY(f.main()->manager());
  QCOMPARE(f.main()->manager()->Percorso, book);
  QCOMPARE(f.main()->manager()->Nome, QString("Zeta"));
  QVERIFY(!f.main()->startPage());
  QCOMPARE(readBytes(f.home() + "/Last.ini"), (book + "\r\n").toStdString());

  // Enter on the selected folder opens it; the up button and Backspace go up.
  QVERIFY(f.main()->closeChild(f.main()->manager()));
  s = f.main()->startPage();
  QVERIFY(s);
  list = part<QListView>(s, "Dir1");
  part<QToolButton>(s, "Up")->click();
  QCOMPARE(s->currentFolder(), f.home());
  list->setCurrentIndex(rowOf(list, "Extra"));
  QTest::keyClick(list, Qt::Key_Return);
  QCOMPARE(s->currentFolder(), f.home() + "/Extra");
  QTest::keyClick(list, Qt::Key_Backspace);
  QCOMPARE(s->currentFolder(), f.home());
  QModelIndex projects = rowOf(list, "Projects");
  list->setCurrentIndex(projects);
  QTest::keyClick(list, Qt::Key_Enter);
  QCOMPARE(s->currentFolder(), f.projects());
  QVERIFY(!f.main()->manager());
  list->setCurrentIndex(rowOf(list, "Il Ponte sul Fiume"));
  QTest::keyClick(list, Qt::Key_Return);
  QVERIFY(f.main()->manager());
  QCOMPARE(f.main()->manager()->Nome, QString("Il Ponte sul Fiume"));
}

void StartPageTest::foldersThatAreNoProjectsLastProjectAndDesktop() {
  GuiFixture f;
  StartPageWindow* s = f.main()->startPage();
  // None of these opens a project: the last-project button without Last.ini, the Projects
  // folder itself, a folder with a .dat but no Room/0, a missing folder.
  part<QPushButton>(s, "Command3")->click();
  QCOMPARE(s->currentFolder(), f.projects());
  s->setCurrentFolder(f.projects());
  QString half = f.projects() + "/Mezzo";
  writeBytes(half + "/Mezzo.dat", "\"Mezzo\"\r\n");
  QDir().mkpath(half + "/Room");
  s->setCurrentFolder(half);
  QCOMPARE(s->currentFolder(), half);
  s->setCurrentFolder(f.projects() + "/Nessuna");
  QCOMPARE(s->currentFolder(), half);
  QVERIFY(!f.main()->manager() && f.main()->startPage());
  QVERIFY(!QFile::exists(f.home() + "/Last.ini"));

  // A project ending with a blank (a title that ended with a forbidden character) comes
  // back through Last.ini whole.
  QString book = makeProject(f.projects(), "Storia ", {"Luogo di partenza"});
  s->setCurrentFolder(book);
  QVERIFY(f.main()->manager());
  QVERIFY(f.main()->closeChild(f.main()->manager()));
  s = f.main()->startPage();
  part<QPushButton>(s, "Command3")->click();
  QVERIFY(f.main()->manager());
  QCOMPARE(f.main()->manager()->Percorso, book);
  QVERIFY(f.main()->closeChild(f.main()->manager()));

  // The Desktop link goes to the desktop folder; a project there opens.
  QTemporaryDir desktop;
  f.platform.desktop = desktop.path().toStdString();
  s = f.main()->startPage();
  part<QPushButton>(s, "Label8")->click();
  QCOMPARE(s->currentFolder(), desktop.path());
  part<QPushButton>(s, "Label7")->click();
  QCOMPARE(s->currentFolder(), f.projects());
  makeProject(desktop.path(), "Sul Desktop", {"Luogo di partenza"});
  f.platform.desktop = (desktop.path() + "/Sul Desktop").toStdString();
  part<QPushButton>(s, "Label8")->click();
  QVERIFY(f.main()->manager());
  QCOMPARE(f.main()->manager()->Nome, QString("Sul Desktop"));
}

QTEST_MAIN(StartPageTest)
#include "start_page_test.moc"

// The story import window (see story_import_window.h).
#include "exchange/story_import_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "project/book_encoding.h"
#include "project/help_pages.h"
#include "project/project_creation.h"
#include "ui/accessibility.h"
#include "ui/manager_requests.h"
#include "ui/qt_paths.h"

namespace pm {

namespace {

const PlacementRule kPlacement{9000, 5400, true, Centring::Third};
constexpr const char* kIni = "Importa.ini";
constexpr const char* kCaption = "Importa una storia";
constexpr const char* kFilter = "Storie (*.twee *.tw *.html *.htm);;Tutti i file (*)";

}  // namespace

StoryImportWindow::StoryImportWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "StoryImport", kCaption, help::kStories, kPlacement, kIni) {
  summary_ = new QLabel(
      "Scegli un file Twee 3 (.twee, .tw) o una storia HTML pubblicata: diventa un nuovo progetto nella "
      "cartella Progetti, con il passaggio iniziale come Stanza 0.",
      this);
  summary_->setObjectName("Label1");
  summary_->setWordWrap(true);
  exposeChangingLabel(summary_, "Esito dell'importazione");

  report_ = new QPlainTextEdit(this);
  report_->setObjectName("Text1");
  report_->setReadOnly(true);
  report_->setAccessibleName("Resoconto dell'importazione");

  chooseButton_ = new QPushButton("&Scegli il file...", this);
  chooseButton_->setObjectName("Command1");
  openButton_ = new QPushButton("&Apri il progetto", this);
  openButton_->setObjectName("Command2");
  openButton_->setEnabled(false);
  openButton_->setToolTip("Apre il progetto appena creato (prima importa una storia)");
  closeButton_ = new QPushButton("Chiudi", this);
  closeButton_->setObjectName("Command3");
  for (QPushButton* b : {chooseButton_, openButton_, closeButton_}) b->setAccessibleName(b->text().remove('&'));

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(chooseButton_);
  buttons->addWidget(openButton_);
  buttons->addStretch(1);
  buttons->addWidget(closeButton_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(summary_);
  column->addWidget(report_, 1);
  column->addLayout(buttons);

  connect(chooseButton_, &QPushButton::clicked, this, [this] { chooseAndImport(); });
  connect(openButton_, &QPushButton::clicked, this, &StoryImportWindow::openImported);
  connect(closeButton_, &QPushButton::clicked, this, [this] { closeWindow(); });
  chooseButton_->setDefault(true);
}

bool StoryImportWindow::chooseAndImport() {
  auto file = context().prompts->choose_file(kCaption, kFilter);
  if (!file || file->empty()) return false;
  return importFile(*file);
}

bool StoryImportWindow::importFile(const std::string& file) {
  const stdfs::path projects = context().home.projects();
  std::error_code ec;
  stdfs::create_directory(projects, ec);  // a program folder without Projects gets one
  made_ = import_story_file(path_from_text(file), projects, context().home.home());
  openButton_->setEnabled(made_.status.ok());
  if (!made_.status.ok()) {
    QString why = fromUtf8(made_.status.message());
    if (made_.status.kind() == StatusKind::NameExists)
      why += ": " + fromPath(resolve(projects, made_.name)) + ". Rinomina o sposta il progetto che c'\u00E8 gi\u00E0.";
    summary_->setText("Storia non importata.");
    report_->setPlainText(why);
    return false;
  }
  const Project project(made_.folder, made_.name);
  const size_t rooms = project.room_count();
  summary_->setText(QString("Creato il progetto \"%1\": %2 Stanze, codifica %3.")
                        .arg(fromNameBytes(made_.name))
                        .arg(rooms)
                        .arg(fromUtf8(encoding_name(made_.encoding))));
  QString text = fromPath(made_.folder) + "\n";
  if (made_.report.empty()) text += "\nNiente da segnalare: ogni collegamento porta a una Stanza.";
  else text += "\nDa controllare:\n";
  for (const auto& line : made_.report) text += fromUtf8(line) + "\n";
  report_->setPlainText(text);
  openButton_->setFocus();
  return true;
}

void StoryImportWindow::openImported() {
  if (!made_.status.ok()) return;
  auto ref = check_project_folder(made_.folder);
  ManagerRequests* manager = ref ? owner()->openManagerFresh() : nullptr;
  if (!manager) {
    tell("Il progetto non si pu\u00F2 aprire: " + path_text(made_.folder), MessageIcon::Warning);
    return;
  }
  (void)context().home.write_last_project(path_text(ref->folder));
  manager->Percorso = fromPath(ref->folder);
  manager->Nome = fromNameBytes(ref->name);
  emit projectOpened();
  closeWindow();
}

QString StoryImportWindow::reportText() const { return report_->toPlainText(); }

}  // namespace pm

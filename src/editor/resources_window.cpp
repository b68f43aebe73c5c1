// The resources window (see resources_window.h).
#include "editor/resources_window.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "project/help_pages.h"
#include "project/project.h"
#include "ui/editor_requests.h"
#include "ui/qt_paths.h"
#include "ui/qt_preview.h"

namespace pm {

namespace {
const PlacementRule kPlacement{7800, 5400, false, Centring::Third};
}  // namespace

ResourcesWindow::ResourcesWindow(WindowOwner* windowOwner, ResourceMode mode)
    : ChildWindow(windowOwner, "Immagini", "Immagini", help::kResources, kPlacement), mode_(mode) {
  Modi = mode == ResourceMode::Sounds ? "2" : "1";

  fileList_ = new QListWidget(this);
  fileList_->setObjectName("File1");
  fileList_->setAccessibleName(mode == ResourceMode::Sounds ? "Suoni della cartella res" : "Immagini della cartella res");
  fileList_->setSelectionMode(QAbstractItemView::SingleSelection);
  fileList_->installEventFilter(this);
  // A click, or the arrow keys, choose the file: the refresh keeps that choice.
  connect(fileList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { clickFile(fileList_->row(item)); });
  connect(fileList_, &QListWidget::currentRowChanged, this, &ResourcesWindow::clickFile);
  connect(fileList_, &QListWidget::itemDoubleClicked, this, [this] { insertSelected(); });

  preview_ = newPreviewBox(this);
  if (mode == ResourceMode::Sounds) preview_->setText("Nessuna anteprima per i suoni");

  uploadButton_ = new QPushButton("&UpLoad Immagine", this);
  uploadButton_->setObjectName("Command1");
  manageButton_ = new QPushButton("&Gestisci risorse", this);
  manageButton_->setObjectName("Command2");
  stopButton_ = new QPushButton("&Stop", this);
  stopButton_->setObjectName("Command3");
  stopButton_->hide();  // shown by the first refresh in sound mode
  for (QPushButton* b : {uploadButton_, manageButton_, stopButton_}) {
    b->setAccessibleName(b->text().remove('&'));
    b->setAutoDefault(false);
  }
  connect(uploadButton_, &QPushButton::clicked, this, &ResourcesWindow::upload);
  connect(manageButton_, &QPushButton::clicked, this, &ResourcesWindow::manageFolder);
  connect(stopButton_, &QPushButton::clicked, this, [this] { Aggiorna.stop(); });

  auto* hint = new QLabel("Doppio clic o Invio: inserisce il file nella Stanza", this);
  hint->setObjectName("Label1");
  hint->setStyleSheet("color: #3b4b5a;");
  auto* top = new QHBoxLayout;
  top->addWidget(fileList_, 1);
  top->addWidget(preview_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(uploadButton_);
  buttons->addWidget(manageButton_);
  buttons->addStretch(1);
  buttons->addWidget(stopButton_);
  auto* column = new QVBoxLayout(this);
  column->addLayout(top, 1);
  column->addWidget(hint);
  column->addLayout(buttons);

  Aggiorna.setInterval(1000);
  connect(&Aggiorna, &QTimer::timeout, this, &ResourcesWindow::refresh);

  // While the window is open the editor takes no input.
  if (EditorRequests* e = owner()->editor()) owner()->setChildEnabled(e->widget(), false);
}

void ResourcesWindow::load() {
  readFolder();
  Aggiorna.start();
  fileList_->setFocus();
}

// Reads the folder into the list; the rows are only rebuilt when the names changed, so the
// list keeps its place and the selection between ticks.
void ResourcesWindow::readFolder() {
  std::vector<std::string> names =
      list_matching_files(editor_res_folder(owner()->editor()), resource_patterns(mode_));
  if (names == names_) return;
  names_ = std::move(names);
  const QSignalBlocker quiet(fileList_);  // the refresh puts the chosen row back itself
  fileList_->clear();
  for (const auto& n : names_) fileList_->addItem(fromNameBytes(n));
}

void ResourcesWindow::refresh() {
  readFolder();
  bool ok = false;
  const int row = Posi.toInt(&ok);
  if (ok && row >= 0 && row < fileList_->count()) {
    fileList_->setCurrentRow(row);
    // The preview follows the stored position; a file replaced under the same name is
    // shown anew too.
    if (mode_ == ResourceMode::Images) showPreview(names_[size_t(row)]);
  }
  if (mode_ == ResourceMode::Sounds) stopButton_->show();
}

void ResourcesWindow::clickFile(int row) {
  if (row < 0 || row >= fileList_->count()) return;
  if (!Aggiorna.isActive()) Aggiorna.start();
  Posi = QString::number(row);
  fileList_->setCurrentRow(row);
  if (mode_ == ResourceMode::Images) showPreview(names_[size_t(row)]);
}

void ResourcesWindow::showPreview(const std::string& name) {
  showPicture(preview_, fromPath(editor_res_folder(owner()->editor()) / name));
}

void ResourcesWindow::insertSelected() {
  const int row = fileList_->currentRow();
  if (row < 0 || row >= int(names_.size())) return;
  Aggiorna.stop();
  if (EditorRequests* e = owner()->editor()) e->replaceSelection(fromNameBytes(resource_tag(mode_, names_[size_t(row)])));
  closeWindow();
}

void ResourcesWindow::upload() {
  Aggiorna.stop();
  owner()->openUpload();  // first, so that the upload comes from this window
  owner()->showChild(this, false);
}

void ResourcesWindow::manageFolder() {
  const stdfs::path res = editor_res_folder(owner()->editor());
  std::error_code ec;
  stdfs::create_directories(res, ec);
  if (const Status shown = context().platform->show_folder(path_text(res)); !shown.ok())
    tell(shown.message(), MessageIcon::Warning);
}

bool ResourcesWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == fileList_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      insertSelected();
      return true;
    }
    if (commonKey(key)) return true;
  }
  return ChildWindow::eventFilter(watched, event);
}

void ResourcesWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    insertSelected();
    return;
  }
  ChildWindow::keyPressEvent(event);
}

bool ResourcesWindow::onClose() {
  Aggiorna.stop();
  if (EditorRequests* e = owner()->editor()) owner()->setChildEnabled(e->widget(), true);
  return true;
}

}  // namespace pm

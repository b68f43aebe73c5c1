// The upload window (see upload_window.h).
#include "editor/upload_window.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/resources.h"
#include "project/help_pages.h"
#include "project/project.h"
#include "base/prompts.h"
#include "ui/accessibility.h"
#include "ui/editor_requests.h"
#include "ui/one_shot_timer.h"
#include "ui/qt_drives.h"
#include "ui/qt_paths.h"
#include "ui/qt_preview.h"

namespace pm {

namespace {
const std::string kMessageTitle(kUploadTitle);
const PlacementRule kPlacement{9600, 6000, false, Centring::Third};
const QString kParent = "..";
}  // namespace

UploadWindow::UploadWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "UpLoad", "UpLoad Immagini - Copia l'immagine nel progetto", help::kUpload,
                  kPlacement) {
  driveList_ = new QComboBox(this);
  driveList_->setObjectName("Drive1");
  driveList_->setAccessibleName("Unità");
  connect(driveList_, &QComboBox::activated, this,
          [this](int i) { setCurrentFolder(driveList_->itemData(i).toString()); });

  folderLabel_ = new QLabel(this);
  folderLabel_->setObjectName("Label1");
  folderLabel_->setStyleSheet("color: #1d2a36; font-weight: 600;");
  folderLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  exposeChangingLabel(folderLabel_, "Cartella corrente");

  folderList_ = new QListWidget(this);
  folderList_->setObjectName("Dir1");
  folderList_->setAccessibleName("Cartelle");
  folderList_->installEventFilter(this);
  connect(folderList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    setCurrentFolder(item->data(Qt::UserRole).toString());
  });

  fileList_ = new QListWidget(this);
  fileList_->setObjectName("File1");
  fileList_->setAccessibleName("Immagini da caricare");
  fileList_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  fileList_->installEventFilter(this);
  connect(fileList_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { showPreview(item->text()); });
  connect(fileList_, &QListWidget::itemDoubleClicked, this, [this] { uploadSelected(); });

  preview_ = newPreviewBox(this);

  uploadButton_ = new QPushButton("&Carica", this);
  uploadButton_->setObjectName("Command1");
  uploadButton_->setAccessibleName("Carica");
  uploadButton_->setToolTip("Copia le immagini scelte nella cartella res del progetto");
  connect(uploadButton_, &QPushButton::clicked, this, &UploadWindow::uploadSelected);

  auto* grid = new QGridLayout;
  grid->addWidget(driveList_, 0, 0);
  grid->addWidget(folderLabel_, 0, 1, 1, 2);
  int column = 0;
  for (QWidget* w : {static_cast<QWidget*>(folderList_), static_cast<QWidget*>(fileList_), static_cast<QWidget*>(preview_)}) {
    auto* heading = new QLabel(w == preview_ ? w->accessibleDescription() : w->accessibleName(), this);
    heading->setObjectName(QString("Heading%1").arg(column + 1));
    heading->setStyleSheet("color: #3b4b5a;");
    grid->addWidget(heading, 1, column);
    grid->addWidget(w, 2, column++);
  }
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(2, 1);
  auto* hint = new QLabel("Clic, Maiusc+clic e Ctrl+clic scelgono più immagini", this);
  hint->setObjectName("Label2");
  hint->setStyleSheet("color: #3b4b5a;");
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(hint, 1);
  bottom->addWidget(uploadButton_);
  auto* rows = new QVBoxLayout(this);
  rows->addLayout(grid, 1);
  rows->addLayout(bottom);

  startOnce(restore_, 1, this, [this] { restoreLastPlace(); });
}

void UploadWindow::load() {
  fillDriveList(driveList_);
  setCurrentFolder(fromPath(editor_res_folder(owner()->editor())));
  restore_.start();
}

void UploadWindow::restoreLastPlace() {
  const auto last = context().home.read_res_ini();
  const QString drive = fromNameBytes(last[0]), folder = fromNameBytes(last[1]);
  const int d = drive.isEmpty() ? -1 : driveList_->findText(drive);
  if (d >= 0) {
    driveList_->setCurrentIndex(d);
    setCurrentFolder(driveList_->itemData(d).toString());
  }
  // A folder that is gone is ignored.
  if (!folder.isEmpty() && QFileInfo(folder).isDir()) setCurrentFolder(folder);
  ready_ = true;
}

void UploadWindow::setCurrentFolder(const QString& folder) {
  const QDir dir(folder);
  folder_ = QDir::cleanPath(dir.absolutePath());
  folderLabel_->setText(QDir::toNativeSeparators(folder_));
  selectDriveOf(driveList_, folder_);
  folderList_->clear();
  if (!dir.isRoot() && dir.exists()) {
    auto* up = new QListWidgetItem(kParent, folderList_);
    up->setData(Qt::UserRole, QFileInfo(folder_).path());
  }
  for (const QString& name : dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
    auto* item = new QListWidgetItem(name, folderList_);
    item->setData(Qt::UserRole, dir.absoluteFilePath(name));
  }
  fileList_->clear();
  for (const auto& name : list_matching_files(toPath(folder_), kUploadPatterns)) fileList_->addItem(fromNameBytes(name));
  preview_->clear();
  preview_->setAccessibleName({});
}

void UploadWindow::showPreview(const QString& name) {
  showPicture(preview_, QDir(folder_).filePath(name));
}

void UploadWindow::uploadSelected() {
  std::vector<std::string> names;
  for (int i = 0; i < fileList_->count(); ++i)
    if (fileList_->item(i)->isSelected()) names.push_back(toNameBytes(fileList_->item(i)->text()));
  const Status s = upload_files(toPath(folder_), names, editor_res_folder(owner()->editor()), *context().prompts);
  if (!s.ok()) tell(s.message(), MessageIcon::Warning, kMessageTitle);
  closeWindow();
}

bool UploadWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (watched == fileList_) uploadSelected();
      if (watched == folderList_ && folderList_->currentItem())
        setCurrentFolder(folderList_->currentItem()->data(Qt::UserRole).toString());
      return true;
    }
  }
  return ChildWindow::eventFilter(watched, event);
}

bool UploadWindow::onClose() {
  restore_.stop();
  const Status s = context().home.write_res_ini(toNameBytes(driveList_->currentText()), toNameBytes(folder_));
  if (!s.ok()) tell(s.message(), MessageIcon::Warning, kMessageTitle);
  return true;
}

}  // namespace pm

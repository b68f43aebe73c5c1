// The window "Versioni precedenti" (see versions_window.h).
#include "editor/versions_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/editor_file.h"
#include "editor/line_diff.h"
#include "project/help_pages.h"
#include "base/text.h"
#include "ui/accessibility.h"
#include "ui/editor_requests.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"
#include "ui/shown_text.h"

namespace pm {

namespace {
const PlacementRule kPlacement{9600, 6600, true, Centring::Third};
}  // namespace

VersionsWindow::VersionsWindow(WindowOwner* windowOwner, QString folder, QString name)
    : ChildWindow(windowOwner, "Versions", "Versioni precedenti", help::kVersions, kPlacement, "Versioni.ini"),
      folder_(std::move(folder)),
      name_(std::move(name)) {
  heading_ = new QLabel(this);
  heading_->setObjectName("Label1");
  exposeChangingLabel(heading_, "File delle versioni");
  versionList_ = new QListWidget(this);
  versionList_->setObjectName("List1");
  versionList_->setAccessibleName("Versioni precedenti");
  versionList_->setFont(typewriterFont(10));
  differences_ = new QPlainTextEdit(this);
  differences_->setObjectName("Text1");
  differences_->setAccessibleName("Differenze dal testo attuale");
  differences_->setReadOnly(true);
  differences_->setFont(typewriterFont(10));
  differences_->setLineWrapMode(QPlainTextEdit::NoWrap);
  restoreButton_ = new QPushButton("Ripristina", this);
  restoreButton_->setObjectName("Command1");
  restoreButton_->setEnabled(false);
  closeButton_ = new QPushButton("Chiudi", this);
  closeButton_->setObjectName("Command2");
  for (QPushButton* b : {restoreButton_, closeButton_}) b->setAccessibleName(b->text());

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(restoreButton_);
  buttons->addWidget(closeButton_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(heading_);
  column->addWidget(versionList_, 1);
  column->addWidget(differences_, 2);
  column->addLayout(buttons);

  connect(versionList_, &QListWidget::currentRowChanged, this, &VersionsWindow::showVersion);
  connect(restoreButton_, &QPushButton::clicked, this, [this] { restoreSelected(); });
  connect(closeButton_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

stdfs::path VersionsWindow::file() const { return resolve(toPath(folder_), toNameBytes(name_)); }

std::string VersionsWindow::currentText() const {
  if (EditorRequests* e = owner()->editor(); e && e->Percorso == folder_ && e->Nome == name_)
    return e->text().toStdString();
  Result<LoadedText> loaded = load_editor_file(toPath(folder_), toNameBytes(name_));
  return loaded.ok() ? loaded->display() : std::string();
}

void VersionsWindow::load() {
  const std::string name = toNameBytes(name_);
  const bool room = editor_file_kind(name) == EditorFileKind::Room;
  list_ = list_versions(toPath(folder_), file());
  setShownText(heading_, (room ? "Stanza " : "File ") + name_ + ": " + QString::number(list_.versions.size()) +
                             (list_.versions.size() == 1 ? " versione" : " versioni"));
  versionList_->clear();
  for (const auto& v : list_.versions)
    versionList_->addItem(QString::number(v.number) + "  " + fromUtf8(local_time_text(v.time)) + "  " +
                          QString::number(qulonglong(v.size)) + " byte  " + fromUtf8(std::string(reason_text(v.reason))));
  if (!list_.damaged.empty()) tell(error_list_message("Alcune versioni sono danneggiate:", list_.damaged), MessageIcon::Warning);
  if (list_.versions.empty()) differences_->setPlainText("Nessuna versione precedente.");
  else versionList_->setCurrentRow(0);
}

void VersionsWindow::showVersion(int row) {
  restoreButton_->setEnabled(row >= 0 && row < int(list_.versions.size()));
  if (!restoreButton_->isEnabled()) return;
  Result<std::string> bytes = version_bytes(toPath(folder_), file(), list_.versions[size_t(row)].number);
  if (!bytes.ok()) {
    differences_->setPlainText(fromUtf8(bytes.status().message()));
    restoreButton_->setEnabled(false);
    return;
  }
  const std::string diff = line_differences(currentText(), LoadedText(*bytes).display());
  differences_->setPlainText(diff.empty() ? QString("Uguale al testo attuale.") : fromUtf8(diff));
}

bool VersionsWindow::restoreSelected() {
  const int row = versionList_->currentRow();
  if (row < 0 || row >= int(list_.versions.size())) return false;
  const int number = list_.versions[size_t(row)].number;
  EditorRequests* e = owner()->editor();
  const bool open = e && e->Percorso == folder_ && e->Nome == name_;
  Result<std::string> bytes = version_bytes(toPath(folder_), file(), number);
  if (!bytes.ok()) {
    tell(bytes.status().message(), MessageIcon::Critical);
    return false;
  }
  if (Status s = save_book_file(toPath(folder_), file(), *bytes); !s.ok()) {
    tell(s.message(), MessageIcon::Critical);
    return false;
  }
  // The open editor shows the restored text as one step it can undo.
  if (open) {
    e->selectRange(0, e->text().size());
    e->replaceSelection(fromUtf8(LoadedText(*bytes).display()));
  }
  load();
  return true;
}

}  // namespace pm

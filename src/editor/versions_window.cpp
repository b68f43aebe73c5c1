// The window "Versioni precedenti" (see versions_window.h).
#include "editor/versions_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "editor/editor_file.h"
#include "editor/line_diff.h"
#include "project/help_pages.h"
#include "base/text.h"
#include "ui/editor_requests.h"
#include "ui/qt_paths.h"
#include "ui/restore_panel.h"
#include "ui/shown_text.h"

namespace pm {

namespace {
const PlacementRule kPlacement{9600, 6600, true, Centring::Third};
}  // namespace

VersionsWindow::VersionsWindow(WindowOwner* windowOwner, QString folder, QString name)
    : ChildWindow(windowOwner, "Versions", "Versioni precedenti", help::kVersions, kPlacement, "Versioni.ini"),
      folder_(std::move(folder)),
      name_(std::move(name)) {
  const RestorePanel p = buildRestorePanel(this, "File delle versioni", "Versioni precedenti",
                                           "Differenze dal testo attuale", 2);
  heading_ = p.heading;
  versionList_ = p.list;
  differences_ = p.text;
  differences_->setLineWrapMode(QPlainTextEdit::NoWrap);
  restoreButton_ = p.restore;
  closeButton_ = p.close;

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

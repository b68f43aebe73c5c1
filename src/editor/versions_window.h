// The window "Versioni precedenti": the versions the book's history keeps of one file (a
// room's text, the global code, the style sheet), newest first with date, time, size and
// why each was kept; the differences of the chosen one from the current text (the open
// editor's text when it shows that file, else the file on disk); and "Ripristina", which
// brings the version back through the book's save, so that what it replaces is itself kept
// and the restore can be undone. Opened from the editor and from the project manager.
#pragma once

#include <QString>

#include "project/book_history.h"
#include "ui/child_window.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace pm {

class VersionsWindow : public ChildWindow {
  Q_OBJECT
 public:
  // `folder`: the project folder; `name`: the file in it ("3", "Global.cod", "adv.css").
  VersionsWindow(WindowOwner* owner, QString folder, QString name);

  // Lists the versions (damaged entries said once, and skipped).
  void load();
  // Shows the differences of the version at `row` from the current text.
  void showVersion(int row);
  // Brings the selected version back; false when nothing was restored.
  bool restoreSelected();

  const VersionList& versions() const { return list_; }

 private:
  std::string currentText() const;  // as the editor shows it: lines joined with "\n"
  stdfs::path file() const;

  QString folder_, name_;
  VersionList list_;
  QLabel* heading_ = nullptr;
  QListWidget* versionList_ = nullptr;
  QPlainTextEdit* differences_ = nullptr;
  QPushButton* restoreButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace pm

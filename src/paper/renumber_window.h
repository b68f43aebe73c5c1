// The window "Rinumera le Stanze": writes the open book renumbered as a new project (its
// folder typed by the author), densely or shuffled by a seed, with rooms that keep their
// numbers and the phrases after which a number names a room (renumber.h). The open book
// is only read.
#pragma once

#include "ui/child_window.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace pm {

class RenumberWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit RenumberWindow(WindowOwner* owner);

  // Fills the new folder's name from the open project.
  void load();
  // Renumbers into the folder typed; the outcome in the status line (and a message when
  // it failed). True when the new project was written.
  bool renumber();

 private:
  QLineEdit* folderEdit_ = nullptr;
  QCheckBox* shuffleCheck_ = nullptr;
  QLineEdit* seedEdit_ = nullptr;
  QLineEdit* pinEdit_ = nullptr;
  QPlainTextEdit* phraseEdit_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* renumberButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace pm

// The window "Esporta il libro": the open book as an EPUB 3, a PDF (A5 or A4) or an ODT
// document in a file the author names, with a progress bar while the rooms are read, and
// the list, room by room, of what paper cannot carry (paper_book.h).
#pragma once

#include "ui/child_window.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace pm {

class ExportWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit ExportWindow(WindowOwner* owner);

  // Fills the file's name from the open project.
  void load();
  // Exports into the file named; the outcome in the status line (and a message when it
  // failed). True when the file was written.
  bool exportBook();

 private:
  void suggestFile();  // the file's name follows the format

  QComboBox* formatBox_ = nullptr;
  QComboBox* pageBox_ = nullptr;
  QLineEdit* fileEdit_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QListWidget* lossList_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* exportButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace pm

// The window "Importa una storia": the author picks a Twee file or a published HTML story
// (through the Prompts seam), the story becomes a new project in the Projects folder, and
// the window shows what was made and what the author should look at (links to passages that
// do not exist, macros and variables kept as written). "Apri il progetto" opens it.
#pragma once

#include <QString>

#include "exchange/story_import.h"
#include "ui/child_window.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace pm {

class StoryImportWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit StoryImportWindow(WindowOwner* owner);

  // Asks for the file and imports it; false when cancelled or refused (the report says why).
  bool chooseAndImport();
  // Imports `file` into the Projects folder and shows the outcome.
  bool importFile(const std::string& file);
  // Opens the project made last in the project manager.
  void openImported();

  QString reportText() const;

 signals:
  // The imported project is open in the project manager (the start page then closes, as
  // when a project is opened there).
  void projectOpened();

 private:
  QLabel* summary_ = nullptr;
  QPlainTextEdit* report_ = nullptr;
  QPushButton* chooseButton_ = nullptr;
  QPushButton* openButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
  ImportResult made_;
};

}  // namespace pm

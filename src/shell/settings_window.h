// The settings window ("Impostazioni Generali"): the two text files that every
// distribution carries (Extra/Help.txt and Extra/ReadMe.txt), opened in the text editor,
// and what the books' history keeps (on or off, versions per file, space per book), saved
// in the program folder's Versioni.ini as soon as it changes.
// It opens only after every other child window has closed, and while it is open the
// manage-projects button and the project toolbar are disabled.
#pragma once

#include "ui/child_window.h"

class QCheckBox;
class QSpinBox;

namespace pm {

class SettingsWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit SettingsWindow(WindowOwner* owner);

  void openUserHelp();  // "File Aiuto Utente"
  void openReadMe();    // "File ReadMe"
  void saveHistorySettings();

 protected:
  bool onClose() override;

 private:
  void openExtraFile(const char* name);

  QCheckBox* historyOn_ = nullptr;
  QSpinBox* perFile_ = nullptr;
  QSpinBox* perBook_ = nullptr;
};

}  // namespace pm

// The start page ("Gestione Progetti"): creates a new project with its first room and
// opens a project by navigating to its folder. Every change of the current folder checks
// whether the folder is a project; a project opens in the project manager and the start
// page closes.
#pragma once

#include <QString>

#include "ui/child_window.h"

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListView;
class QPushButton;
class QStackedWidget;

namespace pm {

class StartPageWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit StartPageWindow(WindowOwner* owner);
  ~StartPageWindow() override;

  // Called by the main window once the window is in its sub-window: the help button's
  // tooltip, the Projects folder with its last entry selected.
  void load();

  QString currentFolder() const { return current_; }
  // Makes `folder` the folder list's current folder and opens it when it is a project.
  // A folder that does not exist changes nothing.
  void setCurrentFolder(const QString& folder);

  void showCreatePanel();  // "&Crea Progetto"
  void showOpenPanel();    // "&Apri Progetto"
  void createProject();    // "Nuovo Progetto" or its picture
  void enterSelected();    // Enter or a double-click in the folder list
  void goUp();             // the folder above (its button, or Backspace in the list)
  void goToProjects();     // "Progetti"
  void goToDesktop();      // "Desktop"
  void openLastProject();  // "&L'ultimo progetto caricato"

 protected:
  bool onClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* buildCreatePanel();
  QWidget* buildOpenPanel();
  void selectLastEntry();
  bool openIfProject(const QString& folder);

  QString current_;
  bool selectLastPending_ = false;
  bool closed_ = false;
  QPushButton* createButton_ = nullptr;  // "Command1": "&Crea Progetto"
  QPushButton* openButton_ = nullptr;    // "Command2": "&Apri Progetto"
  QStackedWidget* panels_ = nullptr;
  QWidget* createPanel_ = nullptr;
  QWidget* openPanel_ = nullptr;
  QComboBox* driveList_ = nullptr;  // "Drive1"
  QListView* folderList_ = nullptr;  // "Dir1"
  QFileSystemModel* model_ = nullptr;
  QLabel* path_ = nullptr;
};

}  // namespace pm

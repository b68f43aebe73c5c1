// The resources window ("Immagini"): the pictures (mode "1") or background sounds (mode
// "2") of the project's res folder, a preview of the clicked picture, and the tag of the
// chosen file put into the room editor's selection by a double-click or Enter. The list
// is read again every second, so files added meanwhile show up. The room editor takes no
// input while the window is open.
#pragma once

#include <QString>
#include <QTimer>
#include <string>
#include <vector>

#include "editor/resources.h"
#include "ui/child_window.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace pm {

class ResourcesWindow : public ChildWindow {
  Q_OBJECT
 public:
  ResourcesWindow(WindowOwner* owner, ResourceMode mode);

  QString Modi;    // "1" pictures, "2" sounds
  QString Posi;    // index of the last clicked file
  QTimer Aggiorna;  // every second while running: reads the folder again

  // Called by the owner once the window is in its sub-window: the list.
  void load();

  // A click on row `row`, and what a double-click or Enter does with the selected file.
  void clickFile(int row);
  void insertSelected();
  void upload();         // "&UpLoad Immagine"
  void manageFolder();   // "&Gestisci risorse"

 protected:
  bool onClose() override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void refresh();
  void readFolder();
  void showPreview(const std::string& name);

  ResourceMode mode_;
  QListWidget* fileList_ = nullptr;     // "File1"
  QLabel* preview_ = nullptr;           // "Image1"
  QPushButton* uploadButton_ = nullptr; // "Command1"
  QPushButton* manageButton_ = nullptr; // "Command2"
  QPushButton* stopButton_ = nullptr;   // "Command3"
  std::vector<std::string> names_;      // the listed names, as bytes
};

}  // namespace pm

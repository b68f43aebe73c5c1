// The upload window ("UpLoad Immagini - Copia l'immagine nel progetto"): a drive list (the
// mounted volumes), the folders of the chosen place and its pictures with a preview;
// "&Carica" (also Enter or a double-click on a file) copies every selected picture into
// the project's res folder and closes. The last drive and folder are kept in Res.ini.
#pragma once

#include <QString>
#include <QTimer>

#include "ui/child_window.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace pm {

class UploadWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit UploadWindow(WindowOwner* owner);

  // Called by the owner once the window is in its sub-window: the res folder shown, then (on a one-shot timer) the drive and folder of Res.ini.
  void load();
  bool isReady() const { return ready_; }

  QString currentFolder() const { return folder_; }
  void setCurrentFolder(const QString& folder);
  // Copies the selected files into res and closes the window.
  void uploadSelected();

 protected:
  bool onClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void restoreLastPlace();
  void showPreview(const QString& name);

  QComboBox* driveList_ = nullptr;   // "Drive1"
  QLabel* folderLabel_ = nullptr;    // the current folder's path
  QListWidget* folderList_ = nullptr;  // "Dir1"
  QListWidget* fileList_ = nullptr;  // "File1"
  QLabel* preview_ = nullptr;        // "Image1"
  QPushButton* uploadButton_ = nullptr;  // "Command1"
  QTimer restore_;  // one tick after opening: the place of Res.ini
  QString folder_;
  bool ready_ = false;
};

}  // namespace pm

// The settings window ("Impostazioni Generali"): the two text files that every
// distribution carries (Extra/Help.txt and Extra/ReadMe.txt), opened in the text editor.
// It opens only after every other child window has closed, and while it is open the
// manage-projects button and the project toolbar are disabled.
#pragma once

#include <QWidget>

namespace pm {

class MainWindow;

class SettingsWindow : public QWidget {
  Q_OBJECT
 public:
  explicit SettingsWindow(MainWindow* main, QWidget* parent = nullptr);

  // Called by the main window once the window is in its sub-window: placement.
  void load();

  void openUserHelp();  // "File Aiuto Utente"
  void openReadMe();    // "File ReadMe"

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void openExtraFile(const char* name);

  MainWindow* main_;
};

}  // namespace pm

// The compile dialog ("Compilazione di un progetto"): three ways of building the open
// project. The installer build runs here; the build without installer asks the project
// manager's Compila2 timer (the compile then runs in a host room editor), and the
// single-file build asks the main window's UnicoFile timer. The dialog stays open after
// a build; while it is open the project toolbar and the project manager are disabled.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QRadioButton;

namespace pm {

class MainWindow;

class CompileDialog : public QWidget {
  Q_OBJECT
 public:
  explicit CompileDialog(MainWindow* main, QWidget* parent = nullptr);
  ~CompileDialog() override;

  QRadioButton* Option1 = nullptr;  // installer build (selected when the dialog opens)
  QRadioButton* Option2 = nullptr;  // build without installer
  QRadioButton* Option3 = nullptr;  // single file
  QPushButton* Command1 = nullptr;  // "Avvia compilatore"

  // Called by the main window once the dialog is in its sub-window: placement and the
  // disabled toolbar and project manager.
  void load();
  // What "Avvia compilatore" does.
  void start();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  MainWindow* main_;
  QLabel* captions_[3] = {};
};

}  // namespace pm

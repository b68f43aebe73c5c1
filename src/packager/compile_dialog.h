// The compile dialog ("Compilazione di un progetto"): three ways of building the open
// project. The installer build runs here; the build without installer asks the project
// manager's Compila2 timer (the compile then runs in a host room editor), and the
// single-file build asks the main window's UnicoFile timer. Where the installer compiler
// cannot run, the first option is disabled (its tooltip says why) and the second is
// chosen. The dialog stays open after a build; while it is open the project toolbar and
// the project manager are disabled.
#pragma once

#include "ui/child_window.h"

class QLabel;
class QPushButton;
class QRadioButton;

namespace pm {

class CompileDialog : public ChildWindow {
  Q_OBJECT
 public:
  explicit CompileDialog(WindowOwner* owner);
  ~CompileDialog() override;

  // Called by the owner once the dialog is in its sub-window: the disabled toolbar
  // and project manager.
  void load();
  // What "Avvia compilatore" does.
  void start();

 protected:
  bool onClose() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The installer build of the open project, its outcome shown through the seams.
  void buildInstaller();
  void offerInstallerIfItCanRun();

  QRadioButton* installerOption_ = nullptr;   // "Option1": installer build
  QRadioButton* siteOption_ = nullptr;        // "Option2": build without installer
  QRadioButton* singleFileOption_ = nullptr;  // "Option3": single file
  QPushButton* startButton_ = nullptr;        // "Command1": "Avvia compilatore"
  QLabel* captions_[3] = {};
};

}  // namespace pm

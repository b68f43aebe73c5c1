// A main window on a temporary program folder (a copy of app/) with scripted prompts and a
// recording platform, for the window tests; helpers to make projects and to find widgets.
#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <string>
#include <vector>

#include "shell/app_context.h"
#include "shell/main_window.h"

class QWidget;

namespace pmtest {

class GuiFixture {
 public:
  // `show` false leaves the main window hidden (its children then are not visible).
  explicit GuiFixture(bool show = true);
  ~GuiFixture();

  QString home() const { return dir_.path() + "/home"; }
  QString projects() const { return home() + "/Projects"; }
  pm::MainWindow* main() const { return main_.get(); }
  pm::AppContext context();

  pm::ScriptedPrompts prompts;
  pm::RecordingPlatform platform;

 private:
  QTemporaryDir dir_;
  std::unique_ptr<pm::MainWindow> main_;
};

// Writes a project `name` in `parent` with rooms 0..n-1 described by `descriptions` (the
// bytes of each description file's line) and texts "Testo N".
QString makeProject(const QString& parent, const QString& name, const std::vector<std::string>& descriptions);

std::string readBytes(const QString& file);
void writeBytes(const QString& file, const std::string& bytes);

// The kinds of the recorded prompt calls, and their texts.
std::vector<std::string> promptTexts(const pm::ScriptedPrompts& p);

// The object names of the controls under `w` (buttons, check boxes, combo boxes, lists)
// that have no accessible name.
QStringList unnamedControls(QWidget* w);

// Saves a picture of `w` as <name>.png in the folder named by PAGIMOND_SCREENSHOTS, when set.
void shoot(QWidget* w, const char* name);

}  // namespace pmtest

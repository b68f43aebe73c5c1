// A main window on a temporary program folder (a copy of app/) with scripted prompts and a
// recording platform, for the window tests; helpers to make projects and to find widgets. Header only: it is
// compiled into the window tests that include it and nowhere else.
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "project/files.h"
#include "project/project.h"
#include "project/project_file.h"
#include "shell/app_context.h"
#include "shell/main_window.h"
#include "shell/qt_paths.h"

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
inline QString makeProject(const QString& parent, const QString& name, const std::vector<std::string>& descriptions);

inline std::string readBytes(const QString& file);
inline void writeBytes(const QString& file, const std::string& bytes);

// The kinds of the recorded prompt calls, and their texts.
inline std::vector<std::string> promptTexts(const pm::ScriptedPrompts& p);

// The object names of the controls under `w` (buttons, check boxes, combo boxes, lists)
// that have no accessible name.
inline QStringList unnamedControls(QWidget* w);

// Saves a picture of `w` as <name>.png in the folder named by PAGIMOND_SCREENSHOTS, when set.
inline void shoot(QWidget* w, const char* name);


// ---- definitions ----


inline GuiFixture::GuiFixture(bool show) {
  pm::copy_folder_contents(pm::stdfs::path(PAGIMOND_SOURCE_DIR) / "app", pm::toPath(home()));
  QDir().mkpath(projects());
  QDir().mkpath(home() + "/Output");
  main_ = std::make_unique<pm::MainWindow>(context());
  if (show) {
    main_->resize(1200, 800);
    main_->show();
    if (!QTest::qWaitForWindowExposed(main_.get())) qWarning("main window not exposed");
  }
}

inline GuiFixture::~GuiFixture() { main_.reset(); }

inline pm::AppContext GuiFixture::context() { return pm::AppContext{pm::ProgramFolder(pm::toPath(home())), &prompts, &platform}; }

inline QString makeProject(const QString& parent, const QString& name, const std::vector<std::string>& descriptions) {
  QString folder = parent + "/" + name;
  QDir().mkpath(folder + "/Room");
  QDir().mkpath(folder + "/res");
  pm::Project p(pm::toPath(folder), name.toStdString());
  pm::ProjectFields f;
  f.f = {name.toStdString(), name.toStdString(), "01/01/2025", "Autore", "", "", "100%", "1", "Pagimond 2.00", ""};
  p.write_creation_fields(f);
  for (size_t i = 0; i < descriptions.size(); ++i) {
    std::string n = std::to_string(i);
    pm::write_file_atomic(p.description_file(n), descriptions[i] + "\r\n");
    p.write_text(n, "Testo " + n);
  }
  return folder;
}

inline std::string readBytes(const QString& file) { return pm::read_file_or_empty(pm::toPath(file)); }

inline void writeBytes(const QString& file, const std::string& bytes) {
  QDir().mkpath(QFileInfo(file).absolutePath());
  QFile f(file);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(bytes.data(), qint64(bytes.size()));
}

inline std::vector<std::string> promptTexts(const pm::ScriptedPrompts& p) {
  std::vector<std::string> out;
  for (const auto& c : p.calls) out.push_back(c.kind + ": " + c.text);
  return out;
}

inline QStringList unnamedControls(QWidget* w) {
  QStringList out;
  for (QWidget* c : w->findChildren<QWidget*>()) {
    bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QComboBox*>(c) ||
                   qobject_cast<QAbstractItemView*>(c);
    if (control && c->accessibleName().isEmpty()) out << c->objectName();
  }
  return out;
}

inline void shoot(QWidget* w, const char* name) {
  QByteArray folder = qgetenv("PAGIMOND_SCREENSHOTS");
  if (folder.isEmpty() || !w) return;
  QTest::qWait(50);
  w->grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

}  // namespace pmtest

// A main window on a temporary program folder (a copy of app/) with scripted prompts and a
// recording platform, for the window tests; helpers to make and open projects, drive the room
// list and check files. Header only: compiled into the window tests that include it.
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
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QWidget>
#include <cmath>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/files.h"
#include "project/project.h"
#include "project/project_file.h"
#include "base/text.h"
#include "shell/main_window.h"
#include "ui/app_context.h"
#include "ui/qt_paths.h"
#include "support/named_part.h"
#include "support/recording_platform.h"
#include "support/scripted_prompts.h"

namespace pmtest {

// The control named `name` of window `w`, found by its object name as assistive
// technology and automation find it. On the main window the search stays in its two
// toolbars, since the child windows below it reuse some of the same names.
template <class T>
T* part(QObject* w, const char* name) {
  if (auto* main = qobject_cast<pm::MainWindow*>(w)) {
    for (const char* bar : {"Picture1", "Picture2"}) {
      auto* b = main->findChild<QWidget*>(bar);
      if (!b) continue;
      if (qstrcmp(bar, name) == 0) return qobject_cast<T*>(b);
      if (T* c = b->findChild<T*>(name)) return c;
    }
  }
  return named<T>(w, name);
}

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

// Writes a project `name` in `parent` with rooms 0..n-1 described by `descriptions` (the
// bytes of each description file's line) and texts "Testo N".
inline QString makeProject(const QString& parent, const QString& name, const std::vector<std::string>& descriptions) {
  QString folder = parent + "/" + name;
  QDir().mkpath(folder + "/Room");
  QDir().mkpath(folder + "/res");
  pm::Project p(pm::toPath(folder), name.toStdString());
  pm::ProjectFields f;
  f.f = {name.toStdString(), name.toStdString(), "01/01/2025", "Autore", "", "", "100%", "1", "Pagimond 2.00", ""};
  (void)p.write_creation_fields(f);
  for (size_t i = 0; i < descriptions.size(); ++i) {
    std::string n = std::to_string(i);
    (void)pm::write_file_atomic(p.description_file(n), descriptions[i] + "\r\n");
    (void)p.write_text(n, "Testo " + n);
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

// The kinds of the recorded prompt calls, and their texts.
inline std::vector<std::string> promptTexts(const pm::ScriptedPrompts& p) {
  std::vector<std::string> out;
  for (const auto& c : p.calls) out.push_back(c.kind + ": " + c.text);
  return out;
}

// The object names of the controls under `w` (buttons, check boxes, combo boxes, lists)
// that have no accessible name.
inline QStringList unnamedControls(QWidget* w) {
  QStringList out;
  for (QWidget* c : w->findChildren<QWidget*>()) {
    bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QComboBox*>(c) ||
                   qobject_cast<QAbstractItemView*>(c);
    if (control && c->accessibleName().isEmpty()) out << c->objectName();
  }
  return out;
}

// Saves a picture of `w` as <name>.png in the folder named by PAGIMOND_SCREENSHOTS, when set.
inline void shoot(QWidget* w, const char* name) {
  QByteArray folder = qgetenv("PAGIMOND_SCREENSHOTS");
  if (folder.isEmpty() || !w) return;
  QTest::qWait(50);
  w->grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

// "Luogo di partenza" then "Stanza 1".."Stanza n-1".
inline std::vector<std::string> descriptions(int n) {
  std::vector<std::string> d = {"Luogo di partenza"};
  for (int i = 1; i < n; ++i) d.push_back("Stanza " + std::to_string(i));
  return d;
}

// Opens `folder` through the start page and waits for the manager's room list.
inline pm::ProjectManagerWindow* openProject(GuiFixture& f, const QString& folder) {
  f.main()->startPage()->setCurrentFolder(folder);
  pm::ProjectManagerWindow* m = f.main()->manager();
  if (m && !QTest::qWaitFor([m] { return m->entryCount() > 0; }, 3000)) qWarning("the room list was not built");
  return m;
}

// The room list's row of room `number` (-1 when absent); selecting it; double-clicking it.
inline int rowOf(pm::ProjectManagerWindow* m, const std::string& number) {
  auto numbers = m->roomNumbers();
  for (size_t i = 0; i < numbers.size(); ++i)
    if (numbers[i] == number) return int(i);
  return -1;
}

inline void selectRoom(pm::ProjectManagerWindow* m, const std::string& number) { part<QListWidget>(m, "List1")->setCurrentRow(rowOf(m, number)); }

inline void doubleClickRoom(pm::ProjectManagerWindow* m, const std::string& number) {
  selectRoom(m, number);
  QRect r = part<QListWidget>(m, "List1")->visualItemRect(part<QListWidget>(m, "List1")->currentItem());
  QTest::mouseClick(part<QListWidget>(m, "List1")->viewport(), Qt::LeftButton, {}, r.center());
  QTest::mouseDClick(part<QListWidget>(m, "List1")->viewport(), Qt::LeftButton, {}, r.center());
}

// Whether child `w` of the main window is placed and visible.
inline bool shown(pm::MainWindow* main, QWidget* w) {
  return w && main->childGeometry(w).isValid() && w->parentWidget()->isVisible();
}

// Whether the platform recorded a `kind` call ("open", "folder") on `target`.
inline bool recorded(const pm::RecordingPlatform& p, const std::string& kind, const QString& target) {
  for (const auto& c : p.calls)
    if (c.kind == kind && QDir::cleanPath(QString::fromStdString(c.target)) == QDir::cleanPath(target)) return true;
  return false;
}

// Every file under `folder`, with its bytes.
inline std::map<std::string, std::string> snapshot(const QString& folder) {
  std::map<std::string, std::string> out;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder.toStdString()))
    if (entry.is_regular_file()) out[entry.path().string()] = pm::read_file_or_empty(entry.path());
  return out;
}

// Whether placement file `ini` holds top, left, width and height of `pixels`, in twips.
inline bool placementSaved(pm::MainWindow* main, const QString& ini, const QRect& px) {
  const double tppX = 1440.0 / main->logicalDpiX(), tppY = 1440.0 / main->logicalDpiY();
  auto lines = pm::split_lines(readBytes(ini));
  return lines.size() == 4 && std::stol(lines[0]) == std::lround(px.top() * tppY) &&
         std::stol(lines[1]) == std::lround(px.left() * tppX) && std::stol(lines[2]) == std::lround(px.width() * tppX) &&
         std::stol(lines[3]) == std::lround(px.height() * tppY);
}

}  // namespace pmtest

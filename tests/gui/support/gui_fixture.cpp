// The window tests' fixture (see gui_fixture.h).
#include "support/gui_fixture.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTest>
#include <QWidget>

#include "project/files.h"
#include "project/project.h"
#include "project/project_file.h"
#include "shell/qt_paths.h"

namespace pmtest {

GuiFixture::GuiFixture(bool show) {
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

GuiFixture::~GuiFixture() { main_.reset(); }

pm::AppContext GuiFixture::context() { return pm::AppContext{pm::ProgramFolder(pm::toPath(home())), &prompts, &platform}; }

QString makeProject(const QString& parent, const QString& name, const std::vector<std::string>& descriptions) {
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

std::string readBytes(const QString& file) { return pm::read_file_or_empty(pm::toPath(file)); }

void writeBytes(const QString& file, const std::string& bytes) {
  QDir().mkpath(QFileInfo(file).absolutePath());
  QFile f(file);
  f.open(QIODevice::WriteOnly | QIODevice::Truncate);
  f.write(bytes.data(), qint64(bytes.size()));
}

std::vector<std::string> promptTexts(const pm::ScriptedPrompts& p) {
  std::vector<std::string> out;
  for (const auto& c : p.calls) out.push_back(c.kind + ": " + c.text);
  return out;
}

QStringList unnamedControls(QWidget* w) {
  QStringList out;
  for (QWidget* c : w->findChildren<QWidget*>()) {
    bool control = qobject_cast<QAbstractButton*>(c) || qobject_cast<QComboBox*>(c) ||
                   qobject_cast<QAbstractItemView*>(c);
    if (control && c->accessibleName().isEmpty()) out << c->objectName();
  }
  return out;
}

void shoot(QWidget* w, const char* name) {
  QByteArray folder = qgetenv("PAGIMOND_SCREENSHOTS");
  if (folder.isEmpty() || !w) return;
  QTest::qWait(50);
  w->grab().save(QString::fromLocal8Bit(folder) + "/" + name + ".png");
}

}  // namespace pmtest

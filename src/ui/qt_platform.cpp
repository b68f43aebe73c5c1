// The desktop's own services for the Platform seam (see qt_platform.h).
#include "ui/qt_platform.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace pm {

static QUrl toUrl(const std::string& s) {
  QString text = QString::fromStdString(s);
  if (text.contains("://") || text.startsWith("mailto:")) return QUrl(text);
  return QUrl::fromLocalFile(text);
}

Status QtPlatform::open_document(const std::string& path_or_url) {
  return QDesktopServices::openUrl(toUrl(path_or_url)) ? Status() : browser_not_started(path_or_url);
}

Status QtPlatform::show_folder(const std::string& folder) {
  return QDesktopServices::openUrl(toUrl(folder)) ? Status() : file_manager_not_started(folder);
}

void QtPlatform::open_text_file(const std::string& file) {
#if defined(_WIN32)
  QProcess::startDetached("notepad.exe", {QString::fromStdString(file)});
#else
  QDesktopServices::openUrl(toUrl(file));
#endif
}

void QtPlatform::start_program(const std::string& program, const std::vector<std::string>& args) {
  QStringList list;
  for (const auto& a : args) list << QString::fromStdString(a);
  QProcess::startDetached(QString::fromStdString(program), list);
}

std::string QtPlatform::desktop_folder() {
  return QStandardPaths::writableLocation(QStandardPaths::DesktopLocation).toStdString();
}

}  // namespace pm

// Registro: the reader's dice and adventure log. `--home DIR` (or PAGIMOND_HOME) keeps
// Dati.txt in DIR instead of beside the program.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "project/program_folder.h"
#include "registro_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Dadolario"));

  std::vector<std::string> args;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i)
    args.push_back(arguments[i].toStdString());
  const pm::HomeChoice home =
      pm::choose_home(args, std::getenv("PAGIMOND_HOME"), pathFromQString(QApplication::applicationDirPath()));
  if (!home.status.ok()) {
    std::fprintf(stderr, "Registro: %s\n", home.status.message().c_str());
    return 2;
  }
  std::error_code ec;
  if (!std::filesystem::is_directory(home.folder, ec)) {
    std::fprintf(stderr, "Registro: the folder %s does not exist\n", qStringFromPath(home.folder).toLocal8Bit().constData());
    return 2;
  }

  RegistroWindow window(home.folder);
  window.show();
  return app.exec();
}

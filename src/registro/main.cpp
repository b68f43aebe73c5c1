// Registro: the reader's dice and adventure log. `--home DIR` (or PAGIMOND_HOME) keeps
// Dati.txt in DIR instead of beside the program; an installed, read-only Registro keeps it
// in the per-user program folder.
#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "home_folder.h"
#include "project/program_folder.h"
#include "registro_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Dadolario"));

  std::vector<std::string> args;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i)
    args.push_back(arguments[i].toStdString());
  // Without --home or PAGIMOND_HOME the folder is left empty here and chosen by the core:
  // the installed one, or its per-user copy when that is read-only.
  registro::HomeChoice home = registro::choose_home(args, std::getenv("PAGIMOND_HOME"), {});
  if (!home.error.empty()) {
    std::fprintf(stderr, "Registro: %s\n", home.error.c_str());
    return 2;
  }
  const pm::ProgramFolderChoice chosen = pm::choose_program_folder(
      home.folder.empty() ? std::nullopt : std::optional(home.folder), argv[0]);
  if (!chosen.warning.empty()) std::fprintf(stderr, "Registro: %s\n", chosen.warning.c_str());
  home.folder = chosen.folder;
  std::error_code ec;
  if (!std::filesystem::is_directory(home.folder, ec)) {
    std::fprintf(stderr, "Registro: the folder %s does not exist\n", qStringFromPath(home.folder).toLocal8Bit().constData());
    return 2;
  }

  RegistroWindow window(home.folder);
  window.show();
  return app.exec();
}

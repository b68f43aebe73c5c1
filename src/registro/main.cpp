// Registro: the reader's dice and adventure log. `--home DIR` (or PAGIMOND_HOME) keeps
// Dati.txt in DIR instead of beside the program; an installed, read-only Registro keeps it
// in the per-user program folder.
#include <QApplication>

#include "ui/command_line.h"
#include "ui/qt_translations.h"
#include "registro_window.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Dadolario"));
  pm::loadItalianQtTranslations(app);

  const auto folder = pm::programFolderFromCommandLine("Registro", argv[0]);
  if (!folder) return 2;

  RegistroWindow window(*folder);
  window.show();
  return app.exec();
}

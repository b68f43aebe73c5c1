// Pagimond, the authoring tool: the splash, then the main window on the program folder
// (--home DIR, or PAGIMOND_HOME, or the installed one or its per-user copy); closing the main window
// shows the splash again and the program ends two seconds later.
#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "shell/app_context.h"
#include "shell/main_window.h"
#include "shell/qt_platform.h"
#include "shell/qt_prompts.h"
#include "shell/splash_window.h"

namespace {

std::optional<std::string> homeOption(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--home") == 0 && i + 1 < argc) return std::string(argv[i + 1]);
    if (std::strncmp(argv[i], "--home=", 7) == 0) return std::string(argv[i] + 7);
  }
  return std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pagimond");
  QApplication::setApplicationVersion(PAGIMOND_VERSION);
  // The program ends through the splash, not when its last window closes.
  QApplication::setQuitOnLastWindowClosed(false);

  pm::QtPrompts prompts;
  pm::QtPlatform platform;
  const pm::ProgramFolderChoice home = pm::choose_program_folder(pm::named_program_folder(homeOption(argc, argv)), argv[0]);
  if (!home.warning.empty()) std::fprintf(stderr, "Pagimond: %s\n", home.warning.c_str());
  pm::AppContext context{pm::ProgramFolder(home.folder), &prompts, &platform};

  QPointer<pm::MainWindow> main;
  auto* splash = new pm::SplashWindow;
  QObject::connect(splash, &pm::SplashWindow::mainWindowWanted, [&] {
    main = new pm::MainWindow(context);
    main->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(main, &pm::MainWindow::closed, [] {
      auto* farewell = new pm::SplashWindow;
      farewell->Esci = "1";
      QObject::connect(farewell, &pm::SplashWindow::exitWanted, [] { QApplication::quit(); });
      farewell->showTopmost();
    });
    main->showMaximized();
  });
  splash->showTopmost();
  return app.exec();
}

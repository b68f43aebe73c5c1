// Pagimond, the authoring tool: the splash, then the main window on the program folder
// (the program's own folder, or --home DIR, or PAGIMOND_HOME); closing the main window
// shows the splash again and the program ends two seconds later.
#include <QApplication>
#include <QPointer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "ui/app_context.h"
#include "shell/main_window.h"
#include "ui/qt_platform.h"
#include "ui/qt_prompts.h"
#include "shell/splash_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pagimond");
  QApplication::setApplicationVersion(PAGIMOND_VERSION);
  // The program ends through the splash, not when its last window closes.
  QApplication::setQuitOnLastWindowClosed(false);

  std::vector<std::string> args;
  const QStringList arguments = QApplication::arguments();
  for (qsizetype i = 1; i < arguments.size(); ++i) args.push_back(arguments[i].toStdString());
  const pm::HomeChoice home = pm::choose_home(args, std::getenv("PAGIMOND_HOME"), pm::program_file_folder(argv[0]));
  if (!home.status.ok()) {
    std::fprintf(stderr, "Pagimond: %s\n", home.status.message().c_str());
    return 2;
  }

  pm::QtPrompts prompts;
  pm::QtPlatform platform;
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

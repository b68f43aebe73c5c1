// Pagimond, the authoring tool: the splash, then the main window on the program folder
// (--home DIR, or PAGIMOND_HOME, or the installed one or its per-user copy); closing the main window
// shows the splash again and the program ends two seconds later.
#include <QApplication>
#include <QPointer>

#include "base/version.h"
#include "ui/app_context.h"
#include "ui/command_line.h"
#include "shell/main_window.h"
#include "ui/qt_platform.h"
#include "ui/qt_prompts.h"
#include "ui/qt_translations.h"
#include "shell/splash_window.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pagimond");
  QApplication::setApplicationVersion(QString::fromUtf8(pm::version_text()));
  pm::loadItalianQtTranslations(app);
  // The program ends through the splash, not when its last window closes.
  QApplication::setQuitOnLastWindowClosed(false);

  const auto folder = pm::programFolderFromCommandLine("Pagimond", argv[0]);
  if (!folder) return 2;

  pm::QtPrompts prompts;
  pm::QtPlatform platform;
  pm::AppContext context{pm::ProgramFolder(*folder), &prompts, &platform};

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

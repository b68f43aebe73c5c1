// The splash window: shown topmost for two seconds when the tool starts, then it asks for
// the main window and closes; shown again when the main window has closed, with the exit
// field set, and then it ends the program two seconds later.
#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>

namespace pm {

class SplashWindow : public QWidget {
  Q_OBJECT
 public:
  SplashWindow();

  QString Esci;  // "1": the tool is closing
  QTimer Timer1;  // 2000 ms, started when the window loads

  // Places the window (centred on the screen), raises it above every window and starts
  // Timer1.
  void showTopmost();

 signals:
  void mainWindowWanted();  // the start: open the main window
  void exitWanted();        // the end: quit the program

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void onTimer();
};

}  // namespace pm

// The splash window (see splash_window.h).
#include "shell/splash_window.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include "base/version.h"
#include "ui/qt_icons.h"
#include "ui/qt_measure.h"
#include "ui/one_shot_timer.h"

namespace pm {

SplashWindow::SplashWindow() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName("Splash");
  setWindowTitle("Pagimond");
  setAttribute(Qt::WA_DeleteOnClose);
  setAccessibleName("Pagimond");
  resize(twipsToPxX(this, 6600), twipsToPxY(this, 3300));
  auto* name = new QLabel("Pagimond", this);
  name->setObjectName("Label1");
  name->setFont(heavyFont(26));
  name->setAlignment(Qt::AlignCenter);
  name->setStyleSheet("color: #263545; background: transparent;");
  const int pic = height() * 2 / 5, quill = pic * 2 / 3;
  name->setGeometry(rect().adjusted(width() / 12 + pic, 0, -(width() / 12 + quill), -height() / 8));
  startOnce(Timer1, 2000, this, [this] { onTimer(); });
}

void SplashWindow::showTopmost() {
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
  show();
  raise();
  activateWindow();
  Timer1.start();
}

void SplashWindow::onTimer() {
  if (Esci == "1") {
    emit exitWanted();
    return;
  }
  emit mainWindowWanted();
  close();
}

void SplashWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, height());
  sky.setColorAt(0, QColor(0xfb, 0xf6, 0xec));
  sky.setColorAt(1, QColor(0xee, 0xe1, 0xc8));
  p.fillRect(rect(), sky);
  p.setPen(QPen(QColor(0x26, 0x35, 0x45), 2));
  p.drawRect(rect().adjusted(1, 1, -2, -2));

  const int pic = height() * 2 / 5;
  p.drawPixmap(width() / 12, (height() - pic) / 2, iconPixmap(IconKind::Logo, pic, devicePixelRatioF()));
  const int quill = pic * 2 / 3;
  p.drawPixmap(width() - width() / 12 - quill, (height() - quill) / 2,
               iconPixmap(IconKind::Quill, quill, devicePixelRatioF()));

  QRect text = rect().adjusted(width() / 12 + pic, 0, -(width() / 12 + quill), -height() / 8);
  QFont sub = font();
  sub.setPointSize(9);
  p.setFont(sub);
  p.setPen(QColor(0xa8, 0x5d, 0x16));
  p.drawText(text.adjusted(0, height() / 3, 0, height() / 8), Qt::AlignCenter, QString::fromUtf8(version_text()));
}

}  // namespace pm

// Twips and fonts (see qt_measure.h).
#include "ui/qt_measure.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace pm {

static double dpi(const QWidget* w, bool horizontal) {
  int d = 0;
  if (w) d = horizontal ? w->logicalDpiX() : w->logicalDpiY();
  if (d <= 0 && QGuiApplication::primaryScreen()) {
    QScreen* s = QGuiApplication::primaryScreen();
    d = int(std::lround(horizontal ? s->logicalDotsPerInchX() : s->logicalDotsPerInchY()));
  }
  return d > 0 ? d : 96;
}

double twipsPerPixelX(const QWidget* w) { return 1440.0 / dpi(w, true); }
double twipsPerPixelY(const QWidget* w) { return 1440.0 / dpi(w, false); }

int twipsToPxX(const QWidget* w, long twips) { return int(std::lround(twips / twipsPerPixelX(w))); }
int twipsToPxY(const QWidget* w, long twips) { return int(std::lround(twips / twipsPerPixelY(w))); }
long pxToTwipsX(const QWidget* w, int px) { return std::lround(px * twipsPerPixelX(w)); }
long pxToTwipsY(const QWidget* w, int px) { return std::lround(px * twipsPerPixelY(w)); }

QRect twipsRect(const QWidget* w, long left, long top, long width, long height) {
  return QRect(twipsToPxX(w, left), twipsToPxY(w, top), twipsToPxX(w, width), twipsToPxY(w, height));
}

QFont namedFont(const QString& family, const QFont& fallback) {
  if (QFontDatabase::families().contains(family, Qt::CaseInsensitive)) {
    QFont f(family);
    if (fallback.pointSizeF() > 0) f.setPointSizeF(fallback.pointSizeF());
    return f;
  }
  return fallback;
}

QFont typewriterFont(double points) {
  QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  if (points > 0) fixed.setPointSizeF(points);
  QFont f = namedFont("Lucida Sans Typewriter", fixed);
  f.setStyleHint(QFont::TypeWriter);
  return f;
}

QFont heavyFont(int points) {
  QFont fallback = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  fallback.setPointSize(points);
  fallback.setWeight(QFont::Black);
  QFont f = namedFont("Arial Black", fallback);
  f.setPointSize(points);
  return f;
}

}  // namespace pm

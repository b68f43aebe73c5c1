// Twips (1/1440 inch), the unit of the tool's window placements and layouts, converted
// with the screen's real resolution; and the tool's fonts with their fallbacks.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace pm {

// Twips per pixel of the screen `w` is on (1440 / logical dots per inch).
double twipsPerPixelX(const QWidget* w);
double twipsPerPixelY(const QWidget* w);

int twipsToPxX(const QWidget* w, long twips);
int twipsToPxY(const QWidget* w, long twips);
long pxToTwipsX(const QWidget* w, int px);
long pxToTwipsY(const QWidget* w, int px);
// A rectangle given as left, top, width, height in twips.
QRect twipsRect(const QWidget* w, long left, long top, long width, long height);

// The named font when the system has it, otherwise `fallback`.
QFont namedFont(const QString& family, const QFont& fallback);
// "Lucida Sans Typewriter", falling back to the system's fixed-width font.
QFont typewriterFont(double points = 0);
// "Arial Black", falling back to the system font in its heaviest weight.
QFont heavyFont(int points);

}  // namespace pm

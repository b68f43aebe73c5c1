// What assistive technology (screen readers, desktop automation) reads where Qt's own
// accessible interfaces fall short: combo boxes named by their name rather than their value,
// pictures that only repeat the link beside them kept out of the way, labels whose text
// changes read by that text, scroll bars named, the menus a window opens found among its
// children while they are open, and the tool's custom-painted views (installed by their own
// files through registerAccessibleView).
#pragma once

#include <QString>

class QAccessibleInterface;
class QLabel;
class QObject;
class QWidget;

namespace pm {

// Installs the tool's accessible interfaces into Qt, once; later calls do nothing. The base
// of every child window, Registro's window and the custom views call it, so every program
// and every test that builds a window has them.
void installAccessibility();

// A custom view's interface: `make` is asked for every object whose class (or a base) is
// `className` and gives its interface, or nullptr to leave it to Qt.
using AccessibleMaker = QAccessibleInterface* (*)(QObject* object);
void registerAccessibleView(const char* className, AccessibleMaker make);

// `picture` does what the control beside it does and shows it as a picture: the mouse may
// use it, the keyboard does not stop on it, and assistive technology reads only the control.
void makeDecorativeTwin(QWidget* picture);

// A label whose text changes: assistive technology reads the text it shows, and `what` (the
// fixed name of what it shows) as its description.
void exposeChangingLabel(QLabel* label, const QString& what);

}  // namespace pm

// The tiled background of the tool's windows: the program folder's bg.jpg drawn unscaled
// in rows and columns from the top-left corner until the area is covered.
#pragma once

#include <QPixmap>
#include <QRect>

class QPainter;
class QWidget;

namespace pm {

struct AppContext;

// bg.jpg of the program folder, loaded once per path; a null pixmap when it cannot be read.
QPixmap tiledBackground(const AppContext& context);

// Draws `tile` over `area` of `painter`; a null tile draws nothing.
void paintTiled(QPainter& painter, const QRect& area, const QPixmap& tile);

// The whole paint of a window that shows only the background: tiles `w`'s rectangle.
void paintTiledBackground(QWidget* w, const AppContext& context);

}  // namespace pm

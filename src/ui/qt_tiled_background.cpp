// The tiled window background (see qt_tiled_background.h).
#include "ui/qt_tiled_background.h"

#include <QPainter>
#include <QPixmapCache>
#include <QWidget>

#include "ui/app_context.h"
#include "ui/qt_paths.h"

namespace pm {

QPixmap tiledBackground(const AppContext& context) {
  QString file = fromPath(context.home.file("bg.jpg"));
  QPixmap pm;
  if (QPixmapCache::find("pm-tile:" + file, &pm)) return pm;
  if (pm.load(file)) QPixmapCache::insert("pm-tile:" + file, pm);
  return pm;
}

void paintTiled(QPainter& painter, const QRect& area, const QPixmap& tile) {
  if (tile.isNull()) return;
  const int w = tile.width(), h = tile.height();
  if (w <= 0 || h <= 0) return;
  for (int top = 0; top < area.bottom() + 1; top += h)
    for (int left = 0; left < area.right() + 1; left += w) painter.drawPixmap(left, top, tile);
}

void paintTiledBackground(QWidget* w, const AppContext& context) {
  QPainter painter(w);
  paintTiled(painter, w->rect(), tiledBackground(context));
}

}  // namespace pm

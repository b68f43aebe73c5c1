// The shared icon drawing primitives (see qt_icon_drawing.h).
#include "ui/qt_icon_drawing.h"

#include <QPainterPath>
#include <QPolygonF>

namespace pm::icon_drawing {

void ink(QPainter& p, qreal width) { p.setPen(QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)); }
void accent(QPainter& p, qreal width) { p.setPen(QPen(kAccent, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)); }

void page(QPainter& p, qreal l, qreal t, qreal r, qreal b, const QColor& fill) {
  QPainterPath path;
  path.moveTo(l, t);
  path.lineTo(r - 6, t);
  path.lineTo(r, t + 6);
  path.lineTo(r, b);
  path.lineTo(l, b);
  path.closeSubpath();
  ink(p);
  p.setBrush(fill);
  p.drawPath(path);
  p.setBrush(Qt::NoBrush);
  p.drawPolyline(QPolygonF({QPointF(r - 6, t), QPointF(r - 6, t + 6), QPointF(r, t + 6)}));
}

void textLines(QPainter& p, qreal l, qreal r, qreal top, int count, qreal step, bool shortLast) {
  ink(p, 1.6);
  for (int i = 0; i < count; ++i) {
    const qreal end = shortLast && i == count - 1 ? (l + r) / 2 : r;
    p.drawLine(QPointF(l, top + i * step), QPointF(end, top + i * step));
  }
}

void folder(QPainter& p) {
  ink(p);
  p.setBrush(kSoft);
  QPainterPath path;
  path.moveTo(3, 8);
  path.lineTo(12, 8);
  path.lineTo(15, 11);
  path.lineTo(29, 11);
  path.lineTo(29, 27);
  path.lineTo(3, 27);
  path.closeSubpath();
  p.drawPath(path);
}

void playMark(QPainter& p, QPointF a, QPointF b, QPointF c, qreal width) {
  accent(p, width);
  p.setBrush(kAccent);
  p.drawPolygon(QPolygonF({a, b, c}));
}

void accentDot(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(Qt::NoPen);
  p.setBrush(kAccent);
  p.drawEllipse(centre, radius, radius);
}

void plusBadge(QPainter& p) {
  accentDot(p, QPointF(24, 24), 6.5);
  p.setPen(QPen(kPaper, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(24, 20.5), QPointF(24, 27.5));
  p.drawLine(QPointF(20.5, 24), QPointF(27.5, 24));
}

void livePage(QPainter& p) {
  ink(p);
  p.setBrush(kPaper);
  p.drawRoundedRect(QRectF(3, 5, 26, 22), 2.5, 2.5);
  p.setBrush(kSoft);
  p.drawRoundedRect(QRectF(3, 5, 26, 6), 2.5, 2.5);
  accentDot(p, QPointF(7, 8), 1.2);
  // The reload arrow: most of a circle, its head at the open end.
  accent(p, 2.2);
  p.setBrush(Qt::NoBrush);
  const QRectF round(10.5, 13.5, 11, 11);
  p.drawArc(round, 60 * 16, 270 * 16);
  p.drawPolyline(QPolygonF({QPointF(18.6, 11.8), QPointF(19.2, 15.2), QPointF(15.8, 15.8)}));
}

QPixmap render(const Drawing& draw, int size, qreal ratio) {
  QPixmap pm(QSize(int(size * ratio), int(size * ratio)));
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size * ratio / 32.0, size * ratio / 32.0);
  draw(p);
  p.end();
  pm.setDevicePixelRatio(ratio);
  return pm;
}

QIcon renderIcon(const Drawing& draw, std::initializer_list<int> sizes) {
  QIcon icon;
  for (int s : sizes) {
    icon.addPixmap(render(draw, s, 1.0));
    icon.addPixmap(render(draw, s, 2.0));
  }
  return icon;
}

}  // namespace pm::icon_drawing

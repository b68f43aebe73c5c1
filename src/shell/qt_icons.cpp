// The tool's line icons (see qt_icons.h). Every picture is drawn on a 32 x 32 grid with
// round 2-unit strokes in ink and one accent colour, then scaled by the painter.
#include "shell/qt_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace pm {

namespace {

const QColor kInk(0x26, 0x35, 0x45);
const QColor kAccent(0xd9, 0x82, 0x2b);
const QColor kSoft(0xf7, 0xe0, 0xc2);
const QColor kPaper(0xff, 0xff, 0xff);

struct Pen {
  QPainter& p;
  void ink(qreal w = 2.0) { p.setPen(QPen(kInk, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)); }
  void accent(qreal w = 2.0) { p.setPen(QPen(kAccent, w, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin)); }
  void fill(const QColor& c) { p.setBrush(c); }
  void noFill() { p.setBrush(Qt::NoBrush); }
};

// A page with a folded top-right corner.
void page(QPainter& p, qreal l, qreal t, qreal r, qreal b, const QColor& fill = kPaper) {
  Pen pen{p};
  QPainterPath path;
  path.moveTo(l, t);
  path.lineTo(r - 6, t);
  path.lineTo(r, t + 6);
  path.lineTo(r, b);
  path.lineTo(l, b);
  path.closeSubpath();
  pen.ink();
  pen.fill(fill);
  p.drawPath(path);
  pen.noFill();
  p.drawPolyline(QPolygonF({QPointF(r - 6, t), QPointF(r - 6, t + 6), QPointF(r, t + 6)}));
}

void textLines(QPainter& p, qreal l, qreal r, qreal top, int count, qreal step = 4) {
  Pen{p}.ink(1.6);
  for (int i = 0; i < count; ++i) p.drawLine(QPointF(l, top + i * step), QPointF(i == count - 1 ? (l + r) / 2 : r, top + i * step));
}

// The round accent badge with a plus, bottom right.
void plusBadge(QPainter& p) {
  Pen pen{p};
  p.setPen(Qt::NoPen);
  pen.fill(kAccent);
  p.drawEllipse(QPointF(24, 24), 6.5, 6.5);
  p.setPen(QPen(kPaper, 2.2, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(QPointF(24, 20.5), QPointF(24, 27.5));
  p.drawLine(QPointF(20.5, 24), QPointF(27.5, 24));
}

void pencil(QPainter& p, QPointF tip, qreal len) {
  Pen pen{p};
  p.save();
  p.translate(tip);
  p.rotate(-45);
  QPainterPath body;
  body.moveTo(0, 0);
  body.lineTo(4, -2.5);
  body.lineTo(len, -2.5);
  body.lineTo(len, 2.5);
  body.lineTo(4, 2.5);
  body.closeSubpath();
  pen.ink();
  pen.fill(kSoft);
  p.drawPath(body);
  p.drawLine(QPointF(4, -2.5), QPointF(4, 2.5));
  pen.fill(kAccent);
  p.drawRect(QRectF(len - 3, -2.5, 3, 5));
  p.restore();
}

void draw(QPainter& p, IconKind kind) {
  Pen pen{p};
  switch (kind) {
    case IconKind::NewRoom: {
      pen.ink();
      pen.fill(kSoft);
      p.drawRect(QRectF(6, 4, 14, 24));
      pen.fill(kPaper);
      QPainterPath door;
      door.moveTo(6, 4);
      door.lineTo(15, 7);
      door.lineTo(15, 30);
      door.lineTo(6, 28);
      door.closeSubpath();
      p.drawPath(door);
      pen.fill(kInk);
      p.drawEllipse(QPointF(12.5, 17), 0.8, 0.8);
      plusBadge(p);
      break;
    }
    case IconKind::OpenEditor:
      page(p, 5, 3, 22, 29);
      textLines(p, 9, 18, 12, 4);
      pencil(p, QPointF(16, 27), 17);
      break;
    case IconKind::Description: {
      QPainterPath tag;
      tag.moveTo(3, 8);
      tag.lineTo(20, 8);
      tag.lineTo(29, 16);
      tag.lineTo(20, 24);
      tag.lineTo(3, 24);
      tag.closeSubpath();
      pen.ink();
      pen.fill(kSoft);
      p.drawPath(tag);
      pen.fill(kPaper);
      p.drawEllipse(QPointF(21, 16), 1.8, 1.8);
      pen.ink(1.6);
      p.drawLine(QPointF(7, 13.5), QPointF(16, 13.5));
      p.drawLine(QPointF(7, 18.5), QPointF(13, 18.5));
      break;
    }
    case IconKind::StyleSheet:
      page(p, 4, 3, 24, 29);
      pen.ink(2.2);
      p.drawPolyline(QPolygonF({QPointF(8, 20), QPointF(12, 9), QPointF(16, 20)}));
      p.drawLine(QPointF(9.5, 16), QPointF(14.5, 16));
      pen.accent(3);
      p.drawLine(QPointF(8, 24.5), QPointF(20, 24.5));
      p.setPen(Qt::NoPen);
      pen.fill(kAccent);
      p.drawEllipse(QPointF(25, 12), 4.5, 4.5);
      pen.ink(1.6);
      pen.noFill();
      p.drawEllipse(QPointF(25, 12), 4.5, 4.5);
      break;
    case IconKind::GlobalCode:
      pen.ink();
      pen.fill(kPaper);
      p.drawRoundedRect(QRectF(3, 5, 26, 22), 3, 3);
      pen.fill(kSoft);
      p.drawRect(QRectF(3, 5, 26, 5));
      pen.accent(2.2);
      p.drawPolyline(QPolygonF({QPointF(11, 14), QPointF(7, 18), QPointF(11, 22)}));
      p.drawPolyline(QPolygonF({QPointF(21, 14), QPointF(25, 18), QPointF(21, 22)}));
      pen.ink(2);
      p.drawLine(QPointF(18, 13.5), QPointF(14, 22.5));
      break;
    case IconKind::Properties:
      pen.ink();
      pen.fill(kPaper);
      p.drawRoundedRect(QRectF(3, 7, 26, 19), 3, 3);
      pen.fill(kSoft);
      p.drawEllipse(QPointF(11, 14), 3, 3);
      p.drawChord(QRectF(5.5, 18, 11, 8), 0, 180 * 16);
      textLines(p, 18, 26, 13, 3);
      break;
    case IconKind::Test:
      pen.ink();
      pen.fill(kPaper);
      p.drawEllipse(QPointF(16, 16), 12, 12);
      p.setPen(QPen(kAccent, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      pen.fill(kAccent);
      p.drawPolygon(QPolygonF({QPointF(13, 10), QPointF(22, 16), QPointF(13, 22)}));
      break;
    case IconKind::Distribute:
      pen.ink();
      pen.fill(kSoft);
      p.drawPolygon(QPolygonF({QPointF(4, 15), QPointF(16, 19), QPointF(28, 15), QPointF(28, 26), QPointF(16, 30),
                               QPointF(4, 26)}));
      p.drawLine(QPointF(16, 19), QPointF(16, 30));
      pen.accent(2.4);
      p.drawLine(QPointF(16, 14), QPointF(16, 2.5));
      p.drawPolyline(QPolygonF({QPointF(11.5, 7), QPointF(16, 2.5), QPointF(20.5, 7)}));
      break;
    case IconKind::Map: {
      pen.ink();
      pen.fill(kPaper);
      QPolygonF map({QPointF(3, 7), QPointF(11, 4), QPointF(21, 7), QPointF(29, 4), QPointF(29, 25), QPointF(21, 28),
                     QPointF(11, 25), QPointF(3, 28)});
      p.drawPolygon(map);
      p.drawLine(QPointF(11, 4), QPointF(11, 25));
      p.drawLine(QPointF(21, 7), QPointF(21, 28));
      QPen dots(kAccent, 1.8, Qt::DotLine, Qt::RoundCap);
      p.setPen(dots);
      pen.noFill();
      QPainterPath trail;
      trail.moveTo(6, 23);
      trail.cubicTo(10, 14, 18, 22, 22, 13);
      p.drawPath(trail);
      pen.accent(2);
      p.drawLine(QPointF(23, 9), QPointF(27, 13));
      p.drawLine(QPointF(27, 9), QPointF(23, 13));
      break;
    }
    case IconKind::SingleFile:
      page(p, 5, 3, 25, 29);
      textLines(p, 9, 21, 10, 2);
      p.setPen(QPen(kAccent, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      pen.fill(kAccent);
      p.drawPolygon(QPolygonF({QPointF(12, 17), QPointF(20, 21.5), QPointF(12, 26)}));
      break;
    case IconKind::Colours: {
      p.save();
      p.translate(16, 16);
      p.rotate(45);
      pen.ink();
      pen.fill(kPaper);
      p.drawRoundedRect(QRectF(-3, -6, 6, 16), 2, 2);
      pen.fill(kInk);
      p.drawRoundedRect(QRectF(-4.5, -14, 9, 8), 3, 3);
      p.drawLine(QPointF(-5, -6), QPointF(5, -6));
      pen.fill(kAccent);
      p.setPen(Qt::NoPen);
      p.drawRect(QRectF(-1.8, 2, 3.6, 7));
      pen.ink();
      p.drawLine(QPointF(0, 10), QPointF(0, 14));
      p.restore();
      p.setPen(Qt::NoPen);
      pen.fill(kAccent);
      p.drawEllipse(QPointF(6, 27), 2.6, 2.6);
      break;
    }
    case IconKind::ResourceFolder: {
      pen.ink();
      pen.fill(kSoft);
      QPainterPath folder;
      folder.moveTo(3, 8);
      folder.lineTo(12, 8);
      folder.lineTo(15, 11);
      folder.lineTo(29, 11);
      folder.lineTo(29, 27);
      folder.lineTo(3, 27);
      folder.closeSubpath();
      p.drawPath(folder);
      pen.fill(kPaper);
      p.drawRect(QRectF(9, 14, 14, 10));
      pen.ink(1.6);
      pen.fill(kAccent);
      p.drawPolygon(QPolygonF({QPointF(10, 23), QPointF(14.5, 18), QPointF(17, 20.5), QPointF(19, 19), QPointF(22, 23)}));
      p.drawEllipse(QPointF(19.5, 16.5), 1.2, 1.2);
      break;
    }
    case IconKind::ManageProjects:
      pen.ink();
      pen.fill(kPaper);
      p.drawRect(QRectF(4, 6, 7, 22));
      pen.fill(kSoft);
      p.drawRect(QRectF(11, 4, 7, 24));
      p.save();
      p.translate(21, 9);
      p.rotate(14);
      pen.fill(kAccent);
      p.drawRect(QRectF(0, 0, 6, 19));
      p.restore();
      pen.ink(1.5);
      p.drawLine(QPointF(4, 10), QPointF(11, 10));
      p.drawLine(QPointF(11, 8), QPointF(18, 8));
      p.drawLine(QPointF(3, 28.5), QPointF(29, 28.5));
      break;
    case IconKind::Help:
    case IconKind::Lifebuoy:
      if (kind == IconKind::Help) {
        pen.ink();
        pen.fill(kPaper);
        p.drawEllipse(QPointF(16, 16), 12, 12);
        pen.accent(2.6);
        pen.noFill();
        QPainterPath q;
        q.moveTo(11.5, 12.5);
        q.cubicTo(11.5, 6.5, 20.5, 6.5, 20.5, 12);
        q.cubicTo(20.5, 15.5, 16, 15.5, 16, 19.5);
        p.drawPath(q);
        p.setPen(Qt::NoPen);
        pen.fill(kAccent);
        p.drawEllipse(QPointF(16, 23.8), 1.7, 1.7);
      } else {
        pen.ink();
        pen.fill(kPaper);
        p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
        pen.fill(Qt::white);
        p.setPen(QPen(kAccent, 5.5, Qt::SolidLine, Qt::FlatCap));
        pen.noFill();
        for (int a = 0; a < 4; ++a) p.drawArc(QRectF(6.5, 6.5, 19, 19), (a * 90 + 20) * 16, 50 * 16);
        pen.ink();
        p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
        p.drawEllipse(QPointF(16, 16), 6.5, 6.5);
      }
      break;
    case IconKind::Settings: {
      QPainterPath gear;
      const int teeth = 8;
      for (int i = 0; i < teeth * 2; ++i) {
        qreal a0 = (i * M_PI) / teeth - M_PI / (teeth * 2.4);
        qreal a1 = (i * M_PI) / teeth + M_PI / (teeth * 2.4);
        qreal r = (i % 2 == 0) ? 13 : 10;
        QPointF p0(16 + r * std::cos(a0), 16 + r * std::sin(a0));
        QPointF p1(16 + r * std::cos(a1), 16 + r * std::sin(a1));
        if (i == 0) gear.moveTo(p0); else gear.lineTo(p0);
        gear.lineTo(p1);
      }
      gear.closeSubpath();
      pen.ink();
      pen.fill(kSoft);
      p.drawPath(gear);
      pen.fill(kPaper);
      p.drawEllipse(QPointF(16, 16), 4.5, 4.5);
      break;
    }
    case IconKind::Logo:
    case IconKind::NewProject: {
      pen.ink();
      pen.fill(kPaper);
      QPainterPath left, right;
      left.moveTo(16, 9);
      left.cubicTo(12, 6, 7, 6, 3, 8);
      left.lineTo(3, 26);
      left.cubicTo(7, 24, 12, 24, 16, 27);
      left.closeSubpath();
      right.moveTo(16, 9);
      right.cubicTo(20, 6, 25, 6, 29, 8);
      right.lineTo(29, 26);
      right.cubicTo(25, 24, 20, 24, 16, 27);
      right.closeSubpath();
      p.drawPath(left);
      pen.fill(kSoft);
      p.drawPath(right);
      p.drawLine(QPointF(16, 9), QPointF(16, 27));
      if (kind == IconKind::Logo) {
        pen.accent(2.2);
        p.drawLine(QPointF(20, 13), QPointF(26, 12));
        p.drawLine(QPointF(20, 17), QPointF(26, 16));
        pen.ink(1.6);
        p.drawLine(QPointF(6, 13), QPointF(12, 14));
        p.drawLine(QPointF(6, 17), QPointF(12, 18));
      } else {
        plusBadge(p);
      }
      break;
    }
    case IconKind::FirstSteps: {
      auto foot = [&](qreal x, qreal y, qreal angle) {
        p.save();
        p.translate(x, y);
        p.rotate(angle);
        pen.ink(2);
        pen.fill(kSoft);
        p.drawEllipse(QRectF(-4.5, -8, 9, 13));
        pen.fill(kAccent);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(-3.5, 6.5, 7, 5));
        p.restore();
      };
      foot(10, 17, -12);
      foot(22, 10, 12);
      break;
    }
    case IconKind::VideoGuide:
      pen.ink();
      pen.fill(kPaper);
      p.drawRoundedRect(QRectF(3, 6, 26, 18), 2.5, 2.5);
      p.drawLine(QPointF(11, 28), QPointF(21, 28));
      p.drawLine(QPointF(16, 24), QPointF(16, 28));
      p.setPen(QPen(kAccent, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      pen.fill(kAccent);
      p.drawPolygon(QPolygonF({QPointF(13, 10.5), QPointF(20.5, 15), QPointF(13, 19.5)}));
      break;
    case IconKind::FolderUp: {
      pen.ink();
      pen.fill(kSoft);
      QPainterPath folder;
      folder.moveTo(3, 8);
      folder.lineTo(12, 8);
      folder.lineTo(15, 11);
      folder.lineTo(29, 11);
      folder.lineTo(29, 27);
      folder.lineTo(3, 27);
      folder.closeSubpath();
      p.drawPath(folder);
      pen.accent(2.6);
      p.drawLine(QPointF(16, 24), QPointF(16, 14.5));
      p.drawPolyline(QPolygonF({QPointF(11.5, 19), QPointF(16, 14.5), QPointF(20.5, 19)}));
      break;
    }
    case IconKind::TextFile:
      page(p, 6, 3, 26, 29);
      textLines(p, 10, 22, 11, 4);
      break;
    case IconKind::Quill: {
      pen.ink();
      pen.fill(kSoft);
      QPainterPath feather;
      feather.moveTo(6, 27);
      feather.cubicTo(8, 16, 16, 6, 28, 3);
      feather.cubicTo(26, 12, 18, 22, 8, 24);
      feather.closeSubpath();
      p.drawPath(feather);
      pen.accent(1.8);
      p.drawLine(QPointF(6, 27), QPointF(20, 12));
      pen.ink(2);
      p.drawLine(QPointF(3, 30), QPointF(7, 26));
      break;
    }
  }
}

}  // namespace

QPixmap iconPixmap(IconKind kind, int size, qreal ratio) {
  QPixmap pm(QSize(int(size * ratio), int(size * ratio)));
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size * ratio / 32.0, size * ratio / 32.0);
  draw(p, kind);
  p.end();
  pm.setDevicePixelRatio(ratio);
  return pm;
}

QIcon icon(IconKind kind) {
  QIcon i;
  for (int s : {16, 24, 32, 48, 64, 96}) {
    i.addPixmap(iconPixmap(kind, s, 1.0));
    i.addPixmap(iconPixmap(kind, s, 2.0));
  }
  return i;
}

}  // namespace pm

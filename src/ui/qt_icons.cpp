// The tool's line icons (see qt_icons.h). Every picture is drawn on a 32 x 32 grid with
// round 2-unit strokes in ink and one accent colour, then scaled by the painter.
#include "ui/qt_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <cmath>

#include "ui/qt_icon_drawing.h"

namespace pm {

namespace {

using namespace icon_drawing;

void pencil(QPainter& p, QPointF tip, qreal len) {
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
  ink(p);
  p.setBrush(kSoft);
  p.drawPath(body);
  p.drawLine(QPointF(4, -2.5), QPointF(4, 2.5));
  p.setBrush(kAccent);
  p.drawRect(QRectF(len - 3, -2.5, 3, 5));
  p.restore();
}

void draw(QPainter& p, IconKind kind) {
  switch (kind) {
    case IconKind::NewRoom: {
      ink(p);
      p.setBrush(kSoft);
      p.drawRect(QRectF(6, 4, 14, 24));
      p.setBrush(kPaper);
      QPainterPath door;
      door.moveTo(6, 4);
      door.lineTo(15, 7);
      door.lineTo(15, 30);
      door.lineTo(6, 28);
      door.closeSubpath();
      p.drawPath(door);
      p.setBrush(kInk);
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
      ink(p);
      p.setBrush(kSoft);
      p.drawPath(tag);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(21, 16), 1.8, 1.8);
      ink(p, 1.6);
      p.drawLine(QPointF(7, 13.5), QPointF(16, 13.5));
      p.drawLine(QPointF(7, 18.5), QPointF(13, 18.5));
      break;
    }
    case IconKind::StyleSheet:
      page(p, 4, 3, 24, 29);
      ink(p, 2.2);
      p.drawPolyline(QPolygonF({QPointF(8, 20), QPointF(12, 9), QPointF(16, 20)}));
      p.drawLine(QPointF(9.5, 16), QPointF(14.5, 16));
      accent(p, 3);
      p.drawLine(QPointF(8, 24.5), QPointF(20, 24.5));
      accentDot(p, QPointF(25, 12), 4.5);
      ink(p, 1.6);
      p.setBrush(Qt::NoBrush);
      p.drawEllipse(QPointF(25, 12), 4.5, 4.5);
      break;
    case IconKind::GlobalCode:
      ink(p);
      p.setBrush(kPaper);
      p.drawRoundedRect(QRectF(3, 5, 26, 22), 3, 3);
      p.setBrush(kSoft);
      p.drawRect(QRectF(3, 5, 26, 5));
      accent(p, 2.2);
      p.drawPolyline(QPolygonF({QPointF(11, 14), QPointF(7, 18), QPointF(11, 22)}));
      p.drawPolyline(QPolygonF({QPointF(21, 14), QPointF(25, 18), QPointF(21, 22)}));
      ink(p, 2);
      p.drawLine(QPointF(18, 13.5), QPointF(14, 22.5));
      break;
    case IconKind::Properties:
      ink(p);
      p.setBrush(kPaper);
      p.drawRoundedRect(QRectF(3, 7, 26, 19), 3, 3);
      p.setBrush(kSoft);
      p.drawEllipse(QPointF(11, 14), 3, 3);
      p.drawChord(QRectF(5.5, 18, 11, 8), 0, 180 * 16);
      textLines(p, 18, 26, 13, 3);
      break;
    case IconKind::Test:
      ink(p);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(16, 16), 12, 12);
      playMark(p, QPointF(13, 10), QPointF(22, 16), QPointF(13, 22), 2);
      break;
    case IconKind::Distribute:
      ink(p);
      p.setBrush(kSoft);
      p.drawPolygon(QPolygonF({QPointF(4, 15), QPointF(16, 19), QPointF(28, 15), QPointF(28, 26), QPointF(16, 30),
                               QPointF(4, 26)}));
      p.drawLine(QPointF(16, 19), QPointF(16, 30));
      accent(p, 2.4);
      p.drawLine(QPointF(16, 14), QPointF(16, 2.5));
      p.drawPolyline(QPolygonF({QPointF(11.5, 7), QPointF(16, 2.5), QPointF(20.5, 7)}));
      break;
    case IconKind::Map: {
      ink(p);
      p.setBrush(kPaper);
      QPolygonF map({QPointF(3, 7), QPointF(11, 4), QPointF(21, 7), QPointF(29, 4), QPointF(29, 25), QPointF(21, 28),
                     QPointF(11, 25), QPointF(3, 28)});
      p.drawPolygon(map);
      p.drawLine(QPointF(11, 4), QPointF(11, 25));
      p.drawLine(QPointF(21, 7), QPointF(21, 28));
      QPen dots(kAccent, 1.8, Qt::DotLine, Qt::RoundCap);
      p.setPen(dots);
      p.setBrush(Qt::NoBrush);
      QPainterPath trail;
      trail.moveTo(6, 23);
      trail.cubicTo(10, 14, 18, 22, 22, 13);
      p.drawPath(trail);
      accent(p, 2);
      p.drawLine(QPointF(23, 9), QPointF(27, 13));
      p.drawLine(QPointF(27, 9), QPointF(23, 13));
      break;
    }
    case IconKind::SingleFile:
      page(p, 5, 3, 25, 29);
      textLines(p, 9, 21, 10, 2);
      playMark(p, QPointF(12, 17), QPointF(20, 21.5), QPointF(12, 26), 1.5);
      break;
    case IconKind::Colours: {
      p.save();
      p.translate(16, 16);
      p.rotate(45);
      ink(p);
      p.setBrush(kPaper);
      p.drawRoundedRect(QRectF(-3, -6, 6, 16), 2, 2);
      p.setBrush(kInk);
      p.drawRoundedRect(QRectF(-4.5, -14, 9, 8), 3, 3);
      p.drawLine(QPointF(-5, -6), QPointF(5, -6));
      p.setBrush(kAccent);
      p.setPen(Qt::NoPen);
      p.drawRect(QRectF(-1.8, 2, 3.6, 7));
      ink(p);
      p.drawLine(QPointF(0, 10), QPointF(0, 14));
      p.restore();
      accentDot(p, QPointF(6, 27), 2.6);
      break;
    }
    case IconKind::ResourceFolder: {
      folder(p);
      p.setBrush(kPaper);
      p.drawRect(QRectF(9, 14, 14, 10));
      ink(p, 1.6);
      p.setBrush(kAccent);
      p.drawPolygon(QPolygonF({QPointF(10, 23), QPointF(14.5, 18), QPointF(17, 20.5), QPointF(19, 19), QPointF(22, 23)}));
      p.drawEllipse(QPointF(19.5, 16.5), 1.2, 1.2);
      break;
    }
    case IconKind::ManageProjects:
      ink(p);
      p.setBrush(kPaper);
      p.drawRect(QRectF(4, 6, 7, 22));
      p.setBrush(kSoft);
      p.drawRect(QRectF(11, 4, 7, 24));
      p.save();
      p.translate(21, 9);
      p.rotate(14);
      p.setBrush(kAccent);
      p.drawRect(QRectF(0, 0, 6, 19));
      p.restore();
      ink(p, 1.5);
      p.drawLine(QPointF(4, 10), QPointF(11, 10));
      p.drawLine(QPointF(11, 8), QPointF(18, 8));
      p.drawLine(QPointF(3, 28.5), QPointF(29, 28.5));
      break;
    case IconKind::Help: {
      ink(p);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(16, 16), 12, 12);
      accent(p, 2.6);
      p.setBrush(Qt::NoBrush);
      QPainterPath q;
      q.moveTo(11.5, 12.5);
      q.cubicTo(11.5, 6.5, 20.5, 6.5, 20.5, 12);
      q.cubicTo(20.5, 15.5, 16, 15.5, 16, 19.5);
      p.drawPath(q);
      accentDot(p, QPointF(16, 23.8), 1.7);
      break;
    }
    case IconKind::Lifebuoy:
      ink(p);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
      p.setPen(QPen(kAccent, 5.5, Qt::SolidLine, Qt::FlatCap));
      p.setBrush(Qt::NoBrush);
      for (int a = 0; a < 4; ++a) p.drawArc(QRectF(6.5, 6.5, 19, 19), (a * 90 + 20) * 16, 50 * 16);
      ink(p);
      p.drawEllipse(QPointF(16, 16), 12.5, 12.5);
      p.drawEllipse(QPointF(16, 16), 6.5, 6.5);
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
      ink(p);
      p.setBrush(kSoft);
      p.drawPath(gear);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(16, 16), 4.5, 4.5);
      break;
    }
    case IconKind::Logo:
    case IconKind::NewProject: {
      ink(p);
      p.setBrush(kPaper);
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
      p.setBrush(kSoft);
      p.drawPath(right);
      p.drawLine(QPointF(16, 9), QPointF(16, 27));
      if (kind == IconKind::Logo) {
        accent(p, 2.2);
        p.drawLine(QPointF(20, 13), QPointF(26, 12));
        p.drawLine(QPointF(20, 17), QPointF(26, 16));
        ink(p, 1.6);
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
        ink(p, 2);
        p.setBrush(kSoft);
        p.drawEllipse(QRectF(-4.5, -8, 9, 13));
        p.setBrush(kAccent);
        p.setPen(Qt::NoPen);
        p.drawEllipse(QRectF(-3.5, 6.5, 7, 5));
        p.restore();
      };
      foot(10, 17, -12);
      foot(22, 10, 12);
      break;
    }
    case IconKind::VideoGuide:
      ink(p);
      p.setBrush(kPaper);
      p.drawRoundedRect(QRectF(3, 6, 26, 18), 2.5, 2.5);
      p.drawLine(QPointF(11, 28), QPointF(21, 28));
      p.drawLine(QPointF(16, 24), QPointF(16, 28));
      playMark(p, QPointF(13, 10.5), QPointF(20.5, 15), QPointF(13, 19.5), 1.5);
      break;
    case IconKind::FolderUp: {
      folder(p);
      accent(p, 2.6);
      p.drawLine(QPointF(16, 24), QPointF(16, 14.5));
      p.drawPolyline(QPolygonF({QPointF(11.5, 19), QPointF(16, 14.5), QPointF(20.5, 19)}));
      break;
    }
    case IconKind::TextFile:
      page(p, 6, 3, 26, 29);
      textLines(p, 10, 22, 11, 4);
      break;
    case IconKind::Quill: {
      ink(p);
      p.setBrush(kSoft);
      QPainterPath feather;
      feather.moveTo(6, 27);
      feather.cubicTo(8, 16, 16, 6, 28, 3);
      feather.cubicTo(26, 12, 18, 22, 8, 24);
      feather.closeSubpath();
      p.drawPath(feather);
      accent(p, 1.8);
      p.drawLine(QPointF(6, 27), QPointF(20, 12));
      ink(p, 2);
      p.drawLine(QPointF(3, 30), QPointF(7, 26));
      break;
    }
    case IconKind::BookCheck:
      page(p, 5, 3, 23, 29);
      textLines(p, 9, 19, 10, 3);
      ink(p);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(22, 22), 7, 7);
      accent(p, 2.4);
      p.drawPolyline(QPolygonF({QPointF(18.5, 22), QPointF(21, 24.5), QPointF(25.5, 19.5)}));
      break;
    case IconKind::LivePreview:
      livePage(p);
      break;
    case IconKind::GraphMap: {
      ink(p, 1.8);
      p.drawLine(QPointF(16, 9), QPointF(8, 22));
      p.drawLine(QPointF(16, 9), QPointF(24, 22));
      accent(p, 1.8);
      p.drawLine(QPointF(12, 26), QPointF(20, 26));
      p.drawPolyline(QPolygonF({QPointF(17.5, 23.5), QPointF(20, 26), QPointF(17.5, 28.5)}));
      ink(p);
      p.setBrush(kSoft);
      p.drawRoundedRect(QRectF(11, 3, 10, 7), 2, 2);
      p.setBrush(kPaper);
      p.drawRoundedRect(QRectF(3, 22, 9, 7), 2, 2);
      p.drawRoundedRect(QRectF(20, 22, 9, 7), 2, 2);
      break;
    }
  }
}

}  // namespace

QPixmap iconPixmap(IconKind kind, int size, qreal ratio) {
  return render([kind](QPainter& p) { draw(p, kind); }, size, ratio);
}

QIcon icon(IconKind kind) {
  return renderIcon([kind](QPainter& p) { draw(p, kind); }, {16, 24, 32, 48, 64, 96});
}

QToolButton* pictureButton(QWidget* parent, const char* name, const QIcon& icon, const QString& tip,
                           QSize iconSize) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setIcon(icon);
  b->setIconSize(iconSize);
  b->setAutoRaise(true);
  b->setCursor(Qt::PointingHandCursor);
  b->setToolTip(tip);
  b->setAccessibleName(tip);
  return b;
}

}  // namespace pm

// The room editor's toolbar pictures (see qt_editor_icons.h).
#include "ui/qt_editor_icons.h"

#include "ui/qt_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QToolButton>

#include "ui/qt_icon_drawing.h"
#include "ui/qt_measure.h"

namespace pm {

namespace {

using namespace icon_drawing;

// A curved arrow from right to left (undo) or mirrored (redo).
void turnArrow(QPainter& p, bool mirrored) {
  p.save();
  if (mirrored) {
    p.translate(32, 0);
    p.scale(-1, 1);
  }
  QPainterPath arc;
  arc.moveTo(9, 13);
  arc.lineTo(20, 13);
  arc.cubicTo(30, 13, 30, 27, 20, 27);
  arc.lineTo(12, 27);
  ink(p, 2.4);
  p.setBrush(Qt::NoBrush);
  p.drawPath(arc);
  accent(p, 2.4);
  p.drawPolyline(QPolygonF({QPointF(14, 7), QPointF(8, 13), QPointF(14, 19)}));
  p.restore();
}

void draw(QPainter& p, EditorIcon kind) {
  p.setBrush(Qt::NoBrush);
  switch (kind) {
    case EditorIcon::Link:
      ink(p, 2.4);
      p.drawRoundedRect(QRectF(3, 11, 15, 10), 5, 5);
      accent(p, 2.4);
      p.drawRoundedRect(QRectF(14, 11, 15, 10), 5, 5);
      break;
    case EditorIcon::Timer:
      ink(p);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(16, 18), 11, 11);
      p.drawLine(QPointF(13, 3.5), QPointF(19, 3.5));
      p.drawLine(QPointF(16, 3.5), QPointF(16, 7));
      accent(p, 2.4);
      p.drawLine(QPointF(16, 18), QPointF(16, 11));
      p.drawLine(QPointF(16, 18), QPointF(21, 21));
      break;
    case EditorIcon::BackLink:
      ink(p);
      p.setBrush(kSoft);
      p.drawRect(QRectF(15, 5, 13, 22));
      accent(p, 2.6);
      p.drawLine(QPointF(22, 16), QPointF(5, 16));
      p.drawPolyline(QPolygonF({QPointF(10, 10.5), QPointF(4.5, 16), QPointF(10, 21.5)}));
      break;
    case EditorIcon::Images:
      ink(p);
      p.setBrush(kPaper);
      p.drawRect(QRectF(3, 6, 26, 20));
      p.setBrush(kSoft);
      p.drawPolygon(QPolygonF({QPointF(4, 25), QPointF(12, 15), QPointF(18, 21), QPointF(22, 17), QPointF(28, 25)}));
      accent(p);
      p.setBrush(kAccent);
      p.drawEllipse(QPointF(22, 11.5), 2.2, 2.2);
      break;
    case EditorIcon::Script:
      ink(p, 2.4);
      p.drawPolyline(QPolygonF({QPointF(11, 5), QPointF(7, 5), QPointF(7, 14), QPointF(3.5, 16), QPointF(7, 18),
                                QPointF(7, 27), QPointF(11, 27)}));
      p.drawPolyline(QPolygonF({QPointF(21, 5), QPointF(25, 5), QPointF(25, 14), QPointF(28.5, 16), QPointF(25, 18),
                                QPointF(25, 27), QPointF(21, 27)}));
      accent(p, 2.4);
      p.drawLine(QPointF(13, 20), QPointF(19, 12));
      break;
    case EditorIcon::Test:
      ink(p);
      p.setBrush(kPaper);
      p.drawRect(QRectF(4, 4, 18, 24));
      textLines(p, 8, 18, 10, 4);
      playMark(p, QPointF(18, 17), QPointF(29, 23.5), QPointF(18, 30), 2);
      break;
    case EditorIcon::LivePreview:
      livePage(p);
      break;
    case EditorIcon::Undo:
      turnArrow(p, false);
      break;
    case EditorIcon::Redo:
      turnArrow(p, true);
      break;
    case EditorIcon::Find:
      ink(p, 2.4);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(13, 13), 8.5, 8.5);
      accent(p, 3.4);
      p.drawLine(QPointF(19.5, 19.5), QPointF(28, 28));
      break;
    case EditorIcon::CloseNoSave:
      ink(p);
      p.setBrush(kPaper);
      p.drawRect(QRectF(4, 4, 20, 24));
      textLines(p, 8, 20, 10, 3, 4, false);
      accent(p, 2.8);
      p.drawLine(QPointF(17, 19), QPointF(28, 30));
      p.drawLine(QPointF(28, 19), QPointF(17, 30));
      break;
    case EditorIcon::Sound:
      ink(p, 2.2);
      p.drawLine(QPointF(13, 24), QPointF(13, 6));
      p.drawLine(QPointF(13, 6), QPointF(25, 3.5));
      p.drawLine(QPointF(25, 3.5), QPointF(25, 21));
      accent(p);
      p.setBrush(kAccent);
      p.drawEllipse(QPointF(9.5, 24.5), 4, 3.2);
      p.drawEllipse(QPointF(21.5, 21.5), 4, 3.2);
      break;
    case EditorIcon::Print:
      ink(p);
      p.setBrush(kPaper);
      p.drawRect(QRectF(9, 3, 14, 10));
      p.setBrush(kSoft);
      p.drawRoundedRect(QRectF(3, 12, 26, 11), 2, 2);
      p.setBrush(kPaper);
      p.drawRect(QRectF(9, 19, 14, 10));
      accent(p, 2);
      p.drawLine(QPointF(12, 23), QPointF(20, 23));
      p.drawLine(QPointF(12, 26), QPointF(18, 26));
      break;
    case EditorIcon::Rebuild: {
      ink(p, 2.4);
      p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 270 * 16);
      accent(p, 2.4);
      p.drawPolyline(QPolygonF({QPointF(19, 3.5), QPointF(22.5, 8), QPointF(17, 10.5)}));
      break;
    }
    case EditorIcon::Close:
      ink(p);
      p.setBrush(kPaper);
      p.drawEllipse(QPointF(16, 16), 12, 12);
      accent(p, 3);
      p.drawLine(QPointF(11, 11), QPointF(21, 21));
      p.drawLine(QPointF(21, 11), QPointF(11, 21));
      break;
  }
}

}  // namespace

QIcon editorIcon(EditorIcon kind) {
  return renderIcon([kind](QPainter& p) { draw(p, kind); }, {16, 24, 32, 48});
}

QToolButton* editorButton(QWidget* parent, const char* name, EditorIcon kind, const QString& tip) {
  auto* b = pictureButton(parent, name, editorIcon(kind), tip, QSize(twipsToPxX(parent, 400), twipsToPxY(parent, 400)));
  b->setFocusPolicy(Qt::NoFocus);
  return b;
}

}  // namespace pm

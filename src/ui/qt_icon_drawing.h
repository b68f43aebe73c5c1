// The drawing primitives behind every picture the tool draws for itself: the palette, the
// pens, the shapes several pictures share, and the rendering of a drawing made on a
// 32 x 32 grid at any size. Used by qt_icons (main window, start page, settings, splash)
// and qt_editor_icons (the room editor's toolbar), so both sets keep one style.
#pragma once

#include <QColor>
#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QPointF>
#include <functional>
#include <initializer_list>

namespace pm::icon_drawing {

inline const QColor kInk(0x26, 0x35, 0x45);
inline const QColor kAccent(0xd9, 0x82, 0x2b);
inline const QColor kSoft(0xf7, 0xe0, 0xc2);
inline const QColor kPaper(0xff, 0xff, 0xff);

// Round-capped, round-joined strokes in ink or in the accent colour.
void ink(QPainter& p, qreal width = 2.0);
void accent(QPainter& p, qreal width = 2.0);

// A page with a folded top-right corner.
void page(QPainter& p, qreal l, qreal t, qreal r, qreal b, const QColor& fill = kPaper);
// `count` lines of text from `top`, `step` apart; the last one half as long when `shortLast`.
void textLines(QPainter& p, qreal l, qreal r, qreal top, int count, qreal step = 4, bool shortLast = true);
// A folder with its tab, filled soft.
void folder(QPainter& p);
// A solid accent triangle (a "play" mark), outlined with an accent pen of `width`.
void playMark(QPainter& p, QPointF a, QPointF b, QPointF c, qreal width);
// A solid accent dot without outline.
void accentDot(QPainter& p, QPointF centre, qreal radius);
// The round accent badge with a plus, bottom right.
void plusBadge(QPainter& p);
// A browser's window with a page that reloads by itself (the live preview).
void livePage(QPainter& p);

using Drawing = std::function<void(QPainter&)>;

// The drawing at `size` pixels (device-independent), drawn sharp for the screen's `ratio`.
QPixmap render(const Drawing& draw, int size, qreal ratio);
// An icon holding the drawing at each of `sizes` and their double sizes.
QIcon renderIcon(const Drawing& draw, std::initializer_list<int> sizes);

}  // namespace pm::icon_drawing

// The text area with the block caret (see block_caret_edit.h).
#include "ui/block_caret_edit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <algorithm>

namespace pm {

BlockCaretEdit::BlockCaretEdit(QWidget* parent, int caretWidth, int caretHeight)
    : QPlainTextEdit(parent), width_(caretWidth), height_(caretHeight) {
  setCursorWidth(0);
  const int flash = QApplication::cursorFlashTime();
  blink_.setInterval(flash > 0 ? flash / 2 : 0);
  connect(&blink_, &QTimer::timeout, this, [this] {
    on_ = !on_;
    viewport()->update(caretRect().adjusted(-1, -1, 1, 1));
  });
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { restartBlink(); });
}

QRect BlockCaretEdit::caretRect() const {
  const QRect line = cursorRect();
  const int h = height_ > 0 ? height_ : std::max(1, font().pointSize() + 5);
  return QRect(line.left(), line.bottom() + 1 - h, width_, h);
}

void BlockCaretEdit::paintEvent(QPaintEvent* event) {
  QPlainTextEdit::paintEvent(event);
  if (!on_ || !hasFocus()) return;
  QPainter p(viewport());
  p.fillRect(caretRect(), palette().text());
}

void BlockCaretEdit::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  restartBlink();
}

void BlockCaretEdit::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  blink_.stop();
  on_ = false;
  viewport()->update(shown_.adjusted(-1, -1, 1, 1));
}

void BlockCaretEdit::scrollContentsBy(int dx, int dy) {
  QPlainTextEdit::scrollContentsBy(dx, dy);
  shown_ = caretRect();
}

void BlockCaretEdit::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && (event->modifiers() & Qt::ShiftModifier) && !isReadOnly()) {
    // Qt would insert a line separator inside the line; the file knows only real lines.
    insertPlainText("\n");
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void BlockCaretEdit::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return QPlainTextEdit::insertFromMimeData(source);
  QString text = source->text();
  text.replace(QChar::LineSeparator, '\n').replace(QChar::ParagraphSeparator, '\n');
  insertPlainText(text);
}

void BlockCaretEdit::restartBlink() {
  viewport()->update(shown_.adjusted(-1, -1, 1, 1));
  on_ = true;
  shown_ = caretRect();
  viewport()->update(shown_.adjusted(-1, -1, 1, 1));
  if (blink_.interval() > 0 && hasFocus()) blink_.start();
}

}  // namespace pm

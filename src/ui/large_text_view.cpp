// The large plain-text view (see large_text_view.h).
#include "ui/large_text_view.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextLayout>
#include <cstring>

#include "ui/accessible_text_view.h"

namespace pm {

struct LargeTextView::Shown {
  int line = 0;
  int top = 0;  // in viewport pixels
  std::unique_ptr<QTextLayout> layout;
};

namespace {
constexpr int kMargin = 4;
constexpr int kCaretWidth = 3;

bool isWordChar(QChar c) { return c.isLetterOrNumber() || c == '_'; }
}  // namespace

LargeTextView::LargeTextView(QWidget* parent) : QAbstractScrollArea(parent) {
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  setText({});
  installAccessibleTextView();
}

LargeTextView::~LargeTextView() = default;

void LargeTextView::setText(std::string bytes) {
  bytes_ = std::move(bytes);
  encoding_ = detect_encoding(bytes_);
  starts_.clear();
  starts_.push_back(0);
  const char* data = bytes_.data();
  const size_t size = bytes_.size();
  for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', size_t(data + size - p))));) {
    ++p;
    if (p < data + size) starts_.push_back(size_t(p - data));
  }
  anchor_ = cursor_ = Pos{};
  ++revision_;
  shownValid_ = false;
  updateScrollBar();
  verticalScrollBar()->setValue(0);
  viewport()->update();
  announceTextChanged(this);
}

QString LargeTextView::line(int i) const {
  if (i < 0 || i >= lineCount()) return {};
  const size_t begin = starts_[size_t(i)];
  size_t end = size_t(i) + 1 < starts_.size() ? starts_[size_t(i) + 1] : bytes_.size();
  if (end > begin && bytes_[end - 1] == '\n') --end;
  if (end > begin && bytes_[end - 1] == '\r') --end;
  const std::string_view bytes(bytes_.data() + begin, end - begin);
  // Each line by its own bytes: a map of rooms in either encoding reads right throughout.
  if (encoding_ == TextEncoding::Utf8 || is_valid_utf8(bytes)) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
  return QString::fromStdString(decode_to_utf8(bytes, TextEncoding::Windows1252));
}

QString LargeTextView::text() const {
  QString all = QString::fromStdString(encoding_ == TextEncoding::Utf8 ? bytes_ : decode_lines_for_display(bytes_));
  all.remove(QChar('\r'));
  return all;
}

QString LargeTextView::selectedText() const {
  const Pos a = std::min(anchor_, cursor_), b = std::max(anchor_, cursor_);
  if (a == b) return {};
  if (a.line == b.line) return line(a.line).mid(a.column, b.column - a.column);
  QString out = line(a.line).mid(a.column);
  for (int i = a.line + 1; i < b.line; ++i) out += '\n' + line(i);
  out += '\n' + line(b.line).left(b.column);
  return out;
}

void LargeTextView::select(Pos anchor, Pos cursor) {
  anchor_ = anchor;
  moveCursor(cursor, true);
}

void LargeTextView::updateScrollBar() {
  const int lineHeight = qMax(1, fontMetrics().lineSpacing());
  const int page = qMax(1, viewport()->height() / lineHeight);
  verticalScrollBar()->setRange(0, qMax(0, lineCount() - 1));
  verticalScrollBar()->setPageStep(page);
  verticalScrollBar()->setSingleStep(1);
}

void LargeTextView::layoutShown() {
  if (shownValid_) return;
  shown_.clear();
  const int width = qMax(10, viewport()->width() - 2 * kMargin);
  QTextOption option;
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  int top = kMargin;
  for (int i = verticalScrollBar()->value(); i < lineCount() && top < viewport()->height(); ++i) {
    Shown s;
    s.line = i;
    s.top = top;
    s.layout = std::make_unique<QTextLayout>(line(i), font());
    s.layout->setTextOption(option);
    s.layout->setCacheEnabled(true);
    s.layout->beginLayout();
    qreal y = 0;
    for (QTextLine l = s.layout->createLine(); l.isValid(); l = s.layout->createLine()) {
      l.setLineWidth(width);
      l.setPosition(QPointF(0, y));
      y += l.height();
    }
    s.layout->endLayout();
    top += qMax(int(std::ceil(y)), fontMetrics().lineSpacing());
    shown_.push_back(std::move(s));
  }
  shownValid_ = true;
}

void LargeTextView::paintEvent(QPaintEvent*) {
  layoutShown();
  QPainter p(viewport());
  const Pos a = std::min(anchor_, cursor_), b = std::max(anchor_, cursor_);
  QTextLayout::FormatRange selected;
  selected.format.setBackground(palette().highlight());
  selected.format.setForeground(palette().highlightedText());
  for (const Shown& s : shown_) {
    QList<QTextLayout::FormatRange> ranges;
    if (a != b && s.line >= a.line && s.line <= b.line) {
      const int from = s.line == a.line ? a.column : 0;
      const int to = s.line == b.line ? b.column : int(s.layout->text().size()) + 1;
      selected.start = from;
      selected.length = to - from;
      ranges << selected;
    }
    s.layout->draw(&p, QPointF(kMargin, s.top), ranges);
    if (hasFocus() && s.line == cursor_.line) {
      // The tool's caret: a solid block standing on the bottom of the line.
      QTextLine l = s.layout->lineForTextPosition(qMin(cursor_.column, int(s.layout->text().size())));
      if (!l.isValid()) l = s.layout->lineAt(0);
      if (l.isValid()) {
        const int height = font().pointSize() + 5;
        const qreal x = kMargin + l.cursorToX(cursor_.column);
        const qreal bottom = s.top + l.y() + l.height();
        p.fillRect(QRectF(x, bottom - height, kCaretWidth, height), palette().text());
      }
    }
  }
}

void LargeTextView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  shownValid_ = false;
  updateScrollBar();
}

void LargeTextView::scrollContentsBy(int, int) {
  shownValid_ = false;
  viewport()->update();
}

QRect LargeTextView::characterRect(Pos p) {
  layoutShown();
  for (const Shown& s : shown_) {
    if (s.line != p.line) continue;
    QTextLine l = s.layout->lineForTextPosition(p.column);
    if (!l.isValid()) return QRect(kMargin, s.top, kCaretWidth, fontMetrics().height());
    const qreal left = l.cursorToX(p.column), right = l.cursorToX(p.column + 1);
    return QRect(kMargin + int(left), s.top + int(l.y()), qMax(1, int(right - left)), int(l.height()));
  }
  return {};
}

LargeTextView::Pos LargeTextView::hit(QPoint point) {
  layoutShown();
  if (shown_.empty()) return {};
  const Shown* s = &shown_.front();
  for (const Shown& candidate : shown_)
    if (point.y() >= candidate.top) s = &candidate;
  QTextLayout* layout = s->layout.get();
  const qreal y = point.y() - s->top;
  QTextLine found = layout->lineAt(0);
  for (int i = 0; i < layout->lineCount(); ++i)
    if (y >= layout->lineAt(i).y()) found = layout->lineAt(i);
  if (!found.isValid()) return {s->line, 0};
  return {s->line, found.xToCursor(point.x() - kMargin)};
}

void LargeTextView::moveCursor(Pos p, bool keepAnchor) {
  p.line = qBound(0, p.line, lineCount() - 1);
  p.column = qBound(0, p.column, int(line(p.line).size()));
  cursor_ = p;
  if (!keepAnchor) anchor_ = p;
  ensureVisible(p.line);
  viewport()->update();
  announceTextCursor(this);
}

void LargeTextView::ensureVisible(int i) {
  QScrollBar* bar = verticalScrollBar();
  if (i < bar->value()) {
    bar->setValue(i);
    return;
  }
  layoutShown();
  // The last line that fits whole on screen.
  int lastWhole = bar->value();
  for (const Shown& s : shown_)
    if (s.top + s.layout->boundingRect().height() <= viewport()->height()) lastWhole = s.line;
  if (i > lastWhole) bar->setValue(bar->value() + (i - lastWhole));
}

QPoint LargeTextView::pointOf(Pos p) {
  ensureVisible(p.line);
  shownValid_ = false;
  layoutShown();
  for (const Shown& s : shown_) {
    if (s.line != p.line) continue;
    QTextLine l = s.layout->lineForTextPosition(p.column);
    if (!l.isValid()) return {kMargin, s.top + 1};
    return QPoint(kMargin + int(l.cursorToX(p.column)), s.top + int(l.y() + l.height() / 2));
  }
  return {};
}

void LargeTextView::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QAbstractScrollArea::mousePressEvent(event);
  dragging_ = true;
  moveCursor(hit(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
}

void LargeTextView::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint at = event->position().toPoint();
  if (at.y() < 0 && verticalScrollBar()->value() > 0) verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
  if (at.y() > viewport()->height()) verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
  moveCursor(hit(at), true);
}

void LargeTextView::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !dragging_) return QAbstractScrollArea::mouseReleaseEvent(event);
  dragging_ = false;
  emit mouseSelectionDone();
}

void LargeTextView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  const Pos p = hit(event->position().toPoint());
  const QString text = line(p.line);
  int begin = p.column, end = p.column;
  while (begin > 0 && isWordChar(text[begin - 1])) --begin;
  while (end < text.size() && isWordChar(text[end])) ++end;
  anchor_ = {p.line, begin};
  moveCursor({p.line, end}, true);
}

void LargeTextView::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(selectedText());
    return;
  }
  if (event->matches(QKeySequence::SelectAll)) {
    anchor_ = {};
    moveCursor({lineCount() - 1, int(line(lineCount() - 1).size())}, true);
    return;
  }
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool control = event->modifiers() & Qt::ControlModifier;
  Pos p = cursor_;
  const int page = verticalScrollBar()->pageStep();
  switch (event->key()) {
    case Qt::Key_Left:
      p = p.column > 0 ? Pos{p.line, p.column - 1} : p.line > 0 ? Pos{p.line - 1, int(line(p.line - 1).size())} : p;
      break;
    case Qt::Key_Right:
      p = p.column < int(line(p.line).size()) ? Pos{p.line, p.column + 1} : p.line + 1 < lineCount() ? Pos{p.line + 1, 0} : p;
      break;
    case Qt::Key_Up: p.line -= 1; break;
    case Qt::Key_Down: p.line += 1; break;
    case Qt::Key_PageUp: p.line -= page; break;
    case Qt::Key_PageDown: p.line += page; break;
    case Qt::Key_Home: p = control ? Pos{} : Pos{p.line, 0}; break;
    case Qt::Key_End:
      p = control ? Pos{lineCount() - 1, int(line(lineCount() - 1).size())} : Pos{p.line, int(line(p.line).size())};
      break;
    default:
      event->ignore();  // F-keys, Esc and the rest belong to the window
      return;
  }
  moveCursor(p, shift);
}

void LargeTextView::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  viewport()->update();
}

void LargeTextView::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  viewport()->update();
}

}  // namespace pm

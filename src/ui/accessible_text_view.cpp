// The large text view's accessible text interface (see accessible_text_view.h).
#include "ui/accessible_text_view.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

#include "ui/accessibility.h"
#include "ui/large_text_view.h"

namespace pm {

namespace {

class AccessibleTextView : public QAccessibleWidget, public QAccessibleTextInterface {
 public:
  explicit AccessibleTextView(LargeTextView* view) : QAccessibleWidget(view, QAccessible::EditableText) {}

  LargeTextView* view() const { return static_cast<LargeTextView*>(widget()); }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.readOnly = true;
    s.multiLine = true;
    s.selectableText = true;
    s.focusable = true;
    return s;
  }

  // The offset of place `p`, and the place of `offset`.
  int offsetOf(LargeTextView::Pos p) const {
    index();
    if (p.line < 0 || p.line >= int(starts_.size())) return 0;
    return starts_[size_t(p.line)] + std::min(p.column, lineLength(p.line));
  }
  LargeTextView::Pos posOf(int offset) const {
    index();
    offset = std::clamp(offset, 0, characterCount());
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    const int line = int(after - starts_.begin()) - 1;
    return {line, offset - starts_[size_t(line)]};
  }

  // QAccessibleTextInterface
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    if (selectionIndex != 0 || selectionCount() == 0) return;
    const int a = offsetOf(view()->anchorPos()), c = offsetOf(view()->cursorPos());
    *startOffset = std::min(a, c);
    *endOffset = std::max(a, c);
  }
  int selectionCount() const override { return view()->anchorPos() != view()->cursorPos() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override { setSelection(0, startOffset, endOffset); }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex == 0) view()->select(view()->cursorPos(), view()->cursorPos());
  }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex == 0) view()->select(posOf(startOffset), posOf(endOffset));
  }
  int cursorPosition() const override { return offsetOf(view()->cursorPos()); }
  void setCursorPosition(int position) override { view()->select(posOf(position), posOf(position)); }

  QString text(int startOffset, int endOffset) const override {
    index();
    startOffset = std::clamp(startOffset, 0, characterCount());
    endOffset = std::clamp(endOffset, startOffset, characterCount());
    const LargeTextView::Pos a = posOf(startOffset), b = posOf(endOffset);
    if (a.line == b.line) return view()->line(a.line).mid(a.column, b.column - a.column);
    QString out = view()->line(a.line).mid(a.column);
    for (int i = a.line + 1; i < b.line; ++i) out += QLatin1Char('\n') + view()->line(i);
    return out + QLatin1Char('\n') + view()->line(b.line).left(b.column);
  }

  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
    index();
    const int count = characterCount();
    *start = *end = -1;
    if (offset < 0 || offset > count) return {};
    if (boundary == QAccessible::NoBoundary) {
      *start = 0;
      *end = count;
      return text(0, count);
    }
    if (offset == count && offset > 0) --offset;  // at the end: the last piece
    const LargeTextView::Pos p = posOf(offset);
    const int lineStart = starts_[size_t(p.line)];
    const QString line = view()->line(p.line);
    if (boundary == QAccessible::LineBoundary || boundary == QAccessible::ParagraphBoundary) {
      // A line with its line end, as a text area gives it.
      *start = lineStart;
      *end = std::min(count, lineStart + int(line.size()) + 1);
      return text(*start, *end);
    }
    if (boundary == QAccessible::CharBoundary || p.column >= line.size()) {
      *start = offset;
      *end = std::min(count, offset + 1);
      return text(*start, *end);
    }
    // Words and sentences: found within the line.
    const QTextBoundaryFinder::BoundaryType type =
        boundary == QAccessible::WordBoundary ? QTextBoundaryFinder::Word : QTextBoundaryFinder::Sentence;
    QTextBoundaryFinder finder(type, line);
    finder.setPosition(p.column);
    if (!finder.isAtBoundary()) finder.toPreviousBoundary();
    const int from = std::max(0, int(finder.position()));
    finder.setPosition(p.column);
    int to = int(finder.toNextBoundary());
    if (to < 0) to = int(line.size());
    *start = lineStart + from;
    *end = lineStart + to;
    return line.mid(from, to - from);
  }
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
    int s = 0, e = 0;
    textAtOffset(offset, boundary, &s, &e);
    if (s <= 0) {
      *start = *end = -1;
      return {};
    }
    return textAtOffset(s - 1, boundary, start, end);
  }
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
    int s = 0, e = 0;
    textAtOffset(offset, boundary, &s, &e);
    if (e < 0 || e >= characterCount()) {
      *start = *end = -1;
      return {};
    }
    return textAtOffset(e, boundary, start, end);
  }

  int characterCount() const override {
    index();
    const int last = int(starts_.size()) - 1;
    return starts_[size_t(last)] + lineLength(last);
  }
  QRect characterRect(int offset) const override {
    const QRect r = view()->characterRect(posOf(offset));
    if (r.isNull()) return {};
    return QRect(view()->viewport()->mapToGlobal(r.topLeft()), r.size());
  }
  int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = view()->viewport()->mapFromGlobal(point);
    if (!view()->viewport()->rect().contains(local)) return -1;
    return offsetOf(view()->posAt(local));
  }
  void scrollToSubstring(int startIndex, int) override { view()->pointOf(posOf(startIndex)); }
  QString attributes(int offset, int* startOffset, int* endOffset) const override {
    *startOffset = 0;
    *endOffset = characterCount();
    (void)offset;
    return {};
  }

 private:
  int lineLength(int line) const { return lengths_[size_t(line)]; }

  // Where each line starts among the offsets, rebuilt when the view's text was replaced.
  void index() const {
    if (indexed_ && revision_ == view()->revision()) return;
    // A text that ends with a line end has an empty last line after it, as in a text area.
    const std::string& bytes = view()->bytes();
    const int lines = std::max(1, view()->lineCount()) + (!bytes.empty() && bytes.back() == '\n' ? 1 : 0);
    starts_.assign(size_t(lines), 0);
    lengths_.assign(size_t(lines), 0);
    int offset = 0;
    for (int i = 0; i < lines; ++i) {
      starts_[size_t(i)] = offset;
      lengths_[size_t(i)] = int(view()->line(i).size());
      offset += lengths_[size_t(i)] + 1;
    }
    revision_ = view()->revision();
    indexed_ = true;
  }

  mutable std::vector<int> starts_, lengths_;
  mutable quint64 revision_ = 0;
  mutable bool indexed_ = false;
};

QAccessibleInterface* make(QObject* object) { return new AccessibleTextView(static_cast<LargeTextView*>(object)); }

AccessibleTextView* accessibleOf(LargeTextView* view) {
  return dynamic_cast<AccessibleTextView*>(QAccessible::queryAccessibleInterface(view));
}

}  // namespace

void installAccessibleTextView() {
  static const bool installed = [] {
    registerAccessibleView("pm::LargeTextView", make);
    return true;
  }();
  (void)installed;
}

void announceTextCursor(LargeTextView* view) {
  if (!QAccessible::isActive()) return;
  AccessibleTextView* a = accessibleOf(view);
  if (!a) return;
  int start = 0, end = 0;
  a->selection(0, &start, &end);
  QAccessibleTextSelectionEvent selection(view, start, end);
  selection.setCursorPosition(a->cursorPosition());
  QAccessible::updateAccessibility(&selection);
  QAccessibleTextCursorEvent cursor(view, a->cursorPosition());
  QAccessible::updateAccessibility(&cursor);
}

void announceTextChanged(LargeTextView* view) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent changed(view, QAccessible::TextUpdated);
  QAccessible::updateAccessibility(&changed);
}

}  // namespace pm

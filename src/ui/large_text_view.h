// A read-only view of a large plain text held as bytes (UTF-8 or Windows-1252, lines ended by
// LF or CR LF). Only an index of the line starts is built when the text is set; the lines on
// screen are decoded and wrapped when they are painted, so a text of many megabytes shows at
// once and scrolls at the same speed anywhere. The scroll bar counts lines, as Qt's plain
// text area does. Selection with the mouse (drag, double click on a word) and the keyboard,
// Ctrl+C and Ctrl+A; the tool's block caret (3 px wide, font points + 5 high) at the cursor
// while the view has the focus. Keys it does not use go on to the parent window.
#pragma once

#include <QAbstractScrollArea>
#include <memory>
#include <string>
#include <vector>

#include "base/text_codec.h"

class QTextLayout;

namespace pm {

class LargeTextView : public QAbstractScrollArea {
  Q_OBJECT
 public:
  explicit LargeTextView(QWidget* parent = nullptr);
  ~LargeTextView() override;

  // A place in the text: a line and a character (UTF-16 unit) of it.
  struct Pos {
    int line = 0;
    int column = 0;
    auto operator<=>(const Pos&) const = default;
  };

  void setText(std::string bytes);
  void clear() { setText({}); }
  const std::string& bytes() const { return bytes_; }
  int lineCount() const { return int(starts_.size()); }
  // Line `i` decoded, without its line end.
  QString line(int i) const;
  // The whole text decoded, lines joined by '\n' (for copying and checking; not for display).
  QString text() const;

  QString selectedText() const;
  void select(Pos anchor, Pos cursor);
  Pos cursorPos() const { return cursor_; }
  Pos anchorPos() const { return anchor_; }
  // The place under `point` of the viewport, and the box of the character at `p` in the
  // viewport (empty when its line is not on screen); for assistive technology.
  Pos posAt(QPoint point) { return hit(point); }
  QRect characterRect(Pos p);
  // Grows by one each time the text is set.
  quint64 revision() const { return revision_; }
  // Scrolls so that `p` is on screen, and gives its point in the viewport.
  QPoint pointOf(Pos p);

 signals:
  // The mouse button was let go after a press in the text (the selection may be empty).
  void mouseSelectionDone();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  struct Shown;  // a line on screen: its layout and top
  void layoutShown();
  void updateScrollBar();
  Pos hit(QPoint point);
  void moveCursor(Pos p, bool keepAnchor);
  void ensureVisible(int line);

  std::string bytes_;
  TextEncoding encoding_ = TextEncoding::Utf8;  // Utf8 when the whole text is; else each line is decoded by its own bytes
  std::vector<size_t> starts_;  // where each line starts in bytes_
  std::vector<Shown> shown_;
  bool shownValid_ = false;
  Pos anchor_, cursor_;
  bool dragging_ = false;
  quint64 revision_ = 0;
};

}  // namespace pm

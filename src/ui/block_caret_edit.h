// A plain-text area with the tool's block caret: a solid block standing on the bottom of
// its line, blinking at the system's rate. Its width is fixed; its height is fixed too, or
// follows the font (its size in points + 5 pixels) when no height is given. Qt's own caret
// (as tall as the line) is switched off.
// Every text area that saves to a file uses it: a line break typed with Shift+Enter or
// pasted as U+2028/U+2029 becomes a real line, so the file gets CR LF rather than the
// separator's bytes.
#pragma once

#include <QPlainTextEdit>
#include <QTimer>

namespace pm {

class BlockCaretEdit : public QPlainTextEdit {
 public:
  explicit BlockCaretEdit(QWidget* parent, int caretWidth = 3, int caretHeight = 0);

  // Where the caret is drawn, in viewport coordinates.
  QRect caretRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void keyPressEvent(QKeyEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  void restartBlink();

  int width_;
  int height_;
  QTimer blink_;
  bool on_ = false;
  QRect shown_;
};

}  // namespace pm

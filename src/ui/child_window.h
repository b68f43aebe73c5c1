// The base of every child window of the tool: it knows its owner (and through it the
// seams and the other windows), opens its help page on F1 and closes on Esc, places
// itself by its placement rule on its first show (from its .ini file in the program
// folder when it has one) and writes that file when it closes, paints the tiled background, and tells its owner by `closed()` once its close
// handling has accepted the close, however the close was asked for. It also remembers
// where it was opened from (the window and the control that had the keyboard), so that
// its owner can hand the keyboard back there when it closes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <optional>
#include <string>
#include <string_view>

#include "base/placement.h"
#include "base/prompts.h"
#include "ui/window_owner.h"

namespace pm {

class ChildWindow : public QWidget {
  Q_OBJECT
 public:
  // `placement`: the rule the window is placed by on its first show (none for a window
  // that places itself); `placementFile`: the .ini file that remembers where it was, read
  // when it is placed and written when it closes (none for a window that does not remember).
  ChildWindow(WindowOwner* owner, const char* objectName, const QString& caption, std::string_view helpPage,
              std::optional<PlacementRule> placement, std::string_view placementFile = {});

  WindowOwner* owner() const { return owner_; }
  AppContext& context() const { return owner_->context(); }

  // Closes the window through its owner, running its close handling. False when the
  // window refused to close.
  bool closeWindow() { return owner_->closeChild(this); }

  // Where the window was opened from: the child window that was in front then and the
  // control that had the keyboard focus (a control of that window, or of the owner's
  // toolbars). Either may be gone by the time this window closes.
  void setOpenedFrom(ChildWindow* window, QWidget* control) {
    openedFrom_ = window;
    openedFromControl_ = control;
  }
  ChildWindow* openedFrom() const { return openedFrom_; }
  QWidget* openedFromControl() const { return openedFromControl_; }
  // Whether the keyboard focus was in this window when its close began.
  bool hadFocusAtClose() const { return hadFocusAtClose_; }

  // Places the window by its rule again, as on its first show (for the owner, once its own
  // client area has its final size).
  void place();

 signals:
  // The close handling has accepted the close; the window is about to go.
  void closed();

 protected:
  // The window's own close handling; false keeps the window open.
  virtual bool onClose() { return true; }

  void setHelpPage(std::string_view page) { helpPage_ = std::string(page); }
  // Enables or disables the project toolbar and the project manager, which a window that
  // works on the project keeps out of reach while it is open.
  void setProjectControlsEnabled(bool enabled);
  // A message box through the prompts seam, titled "Pagimond" unless the window has a title
  // of its own for its messages.
  void tell(const std::string& text, MessageIcon icon, const std::string& title = "Pagimond") const;
  // F1 opens the help page, Esc closes the window; true when `key` was one of them.
  bool commonKey(int key);

  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void closeEvent(QCloseEvent* event) final;

 private:
  // Writes the window's frame geometry to its placement file.
  void savePlacement();

  WindowOwner* owner_;
  std::string helpPage_;
  QPointer<ChildWindow> openedFrom_;
  QPointer<QWidget> openedFromControl_;
  bool hadFocusAtClose_ = false;
  std::optional<PlacementRule> placement_;
  std::string placementFile_;
  bool placed_ = false;  // placed on its first show; only a placed window writes its .ini
};

}  // namespace pm

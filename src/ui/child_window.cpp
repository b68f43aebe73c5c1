// The child-window base (see child_window.h).
#include "ui/child_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>

#include "ui/accessibility.h"
#include "ui/manager_requests.h"
#include "ui/qt_measure.h"
#include "ui/qt_tiled_background.h"

namespace pm {

ChildWindow::ChildWindow(WindowOwner* owner, const char* objectName, const QString& caption,
                         std::string_view helpPage, std::optional<PlacementRule> placement,
                         std::string_view placementFile)
    : owner_(owner), helpPage_(helpPage), placement_(placement), placementFile_(placementFile) {
  installAccessibility();
  setObjectName(objectName);
  setWindowTitle(caption);
}

bool ChildWindow::commonKey(int key) {
  if (key == Qt::Key_F1)
    owner_->openHelp(helpPage_);
  else if (key == Qt::Key_Escape)
    closeWindow();
  else
    return false;
  return true;
}

void ChildWindow::tell(const std::string& text, MessageIcon icon, const std::string& title) const {
  context().prompts->message(text, title, icon);
}

void ChildWindow::setProjectControlsEnabled(bool enabled) {
  owner_->setProjectToolbarEnabled(enabled);
  if (ManagerRequests* m = owner_->manager()) owner_->setChildEnabled(m->widget(), enabled);
}

void ChildWindow::keyPressEvent(QKeyEvent* event) {
  if (commonKey(event->key()))
    event->accept();
  else
    QWidget::keyPressEvent(event);
}

void ChildWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (placed_ || !placement_) return;
  placed_ = true;
  place();
}

// From the placement file when the rule remembers, otherwise centred with the rule's size.
void ChildWindow::place() {
  if (!placement_) return;
  const QSize client = owner_->clientSize();
  Placement stored;
  if (!placementFile_.empty()) stored = context().home.read_placement(placementFile_);
  const WindowRect r =
      place_window(stored, *placement_, pxToTwipsX(this, client.width()), pxToTwipsY(this, client.height()));
  owner_->placeChild(this, twipsRect(this, r.left, r.top, r.width, r.height));
}

void ChildWindow::savePlacement() {
  const QRect r = owner_->childGeometry(this);
  if (!r.isValid()) return;
  // A placement is a convenience: when it cannot be written the old file stays and the
  // window opens where it opened last time, so the close goes on without a message.
  (void)context().home.write_placement(placementFile_, pxToTwipsY(this, r.top()), pxToTwipsX(this, r.left()),
                                       pxToTwipsX(this, r.width()), pxToTwipsY(this, r.height()));
}

void ChildWindow::paintEvent(QPaintEvent*) { paintTiledBackground(this, context()); }

void ChildWindow::closeEvent(QCloseEvent* event) {
  // Taken before the close handling, which may show or hide other windows.
  QWidget* focus = QApplication::focusWidget();
  hadFocusAtClose_ = focus && (focus == this || isAncestorOf(focus));
  if (!onClose()) {
    event->ignore();
    return;
  }
  if (placed_ && !placementFile_.empty()) savePlacement();
  event->accept();
  emit closed();
}

}  // namespace pm

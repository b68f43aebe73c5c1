// The list interface of a view's drawn items (see accessible_items.h).
#include "ui/accessible_items.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QWidget>
#include <map>

#include "ui/accessibility.h"

namespace pm {

namespace {

class ItemsView;

// One drawn item: a list item of its view, with no object of its own.
class Item : public QAccessibleInterface, public QAccessibleActionInterface {
 public:
  Item(ItemsView* view, int index) : view_(view), index_(index) {}

  bool isValid() const override;
  QObject* object() const override { return nullptr; }
  QWindow* window() const override;
  QAccessibleInterface* focusChild() const override { return nullptr; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }
  QAccessibleInterface* parent() const override;
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QString text(QAccessible::Text t) const override;
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override;
  QAccessible::Role role() const override { return QAccessible::ListItem; }
  QAccessible::State state() const override;
  void* interface_cast(QAccessible::InterfaceType t) override {
    return t == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
  }

  QStringList actionNames() const override { return {pressAction(), setFocusAction()}; }
  void doAction(const QString& action) override;
  QStringList keyBindingsForAction(const QString&) const override { return {}; }

 private:
  ItemsView* view_;
  int index_;
};

class ItemsView : public QAccessibleWidget {
 public:
  explicit ItemsView(QWidget* w) : QAccessibleWidget(w, QAccessible::List) {}
  ~ItemsView() override { clear(); }

  AccessibleItems* items() const { return dynamic_cast<AccessibleItems*>(widget()); }
  QWidget* host() const { return widget(); }

  int childCount() const override { return items() ? items()->accessibleItemCount() : 0; }
  QAccessibleInterface* child(int index) const override {
    if (index < 0 || index >= childCount()) return nullptr;
    auto found = children_.find(index);
    if (found != children_.end()) return QAccessible::accessibleInterface(found->second);
    auto* item = new Item(const_cast<ItemsView*>(this), index);
    children_[index] = QAccessible::registerAccessibleInterface(item);
    return item;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    for (const auto& [index, id] : children_)
      if (QAccessible::accessibleInterface(id) == child) return index;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const QPoint local = widget()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < childCount(); ++i)
      if (items()->accessibleItemRect(i).contains(local)) return child(i);
    return nullptr;
  }
  QAccessibleInterface* focusChild() const override {
    const int current = items() ? items()->currentAccessibleItem() : -1;
    return widget()->hasFocus() && current >= 0 ? child(current) : nullptr;
  }

  void clear() {
    for (const auto& [index, id] : children_) QAccessible::deleteAccessibleInterface(id);
    children_.clear();
  }

 private:
  mutable std::map<int, QAccessible::Id> children_;
};

bool Item::isValid() const { return view_->isValid() && index_ < view_->childCount(); }
QWindow* Item::window() const { return view_->window(); }
QAccessibleInterface* Item::parent() const { return view_; }

QString Item::text(QAccessible::Text t) const {
  AccessibleItems* items = view_->items();
  if (!items || !isValid()) return {};
  if (t == QAccessible::Name) return items->accessibleItemName(index_);
  if (t == QAccessible::Description) return items->accessibleItemDescription(index_);
  return {};
}

QRect Item::rect() const {
  AccessibleItems* items = view_->items();
  if (!items || !isValid()) return {};
  const QRect r = items->accessibleItemRect(index_);
  return r.isEmpty() ? QRect() : QRect(view_->host()->mapToGlobal(r.topLeft()), r.size());
}

QAccessible::State Item::state() const {
  QAccessible::State s;
  AccessibleItems* items = view_->items();
  s.selectable = s.focusable = true;
  if (items && items->currentAccessibleItem() == index_) {
    s.selected = true;
    s.focused = view_->host()->hasFocus();
  }
  s.offscreen = rect().isEmpty();
  return s;
}

void Item::doAction(const QString& action) {
  AccessibleItems* items = view_->items();
  if (!items || !isValid()) return;
  if (action == setFocusAction()) {
    view_->host()->setFocus();
    items->setCurrentAccessibleItem(index_);
  } else if (action == pressAction()) {
    items->activateAccessibleItem(index_);
  }
}

QAccessibleInterface* make(QObject* object) {
  auto* w = qobject_cast<QWidget*>(object);
  return w && dynamic_cast<AccessibleItems*>(w) ? new ItemsView(w) : nullptr;
}

}  // namespace

void installAccessibleItemsView(const char* className) { registerAccessibleView(className, make); }

void accessibleItemsReset(QWidget* view) {
  if (auto* a = dynamic_cast<ItemsView*>(QAccessible::queryAccessibleInterface(view))) a->clear();
  if (!QAccessible::isActive()) return;
  QAccessibleEvent reset(view, QAccessible::NameChanged);  // the list's items are new
  QAccessible::updateAccessibility(&reset);
}

void announceCurrentItem(QWidget* view) {
  auto* items = dynamic_cast<AccessibleItems*>(view);
  if (!QAccessible::isActive() || !items || items->currentAccessibleItem() < 0) return;
  QAccessibleEvent focus(view, QAccessible::Focus);
  focus.setChild(items->currentAccessibleItem());
  QAccessible::updateAccessibility(&focus);
  QAccessibleEvent selected(view, QAccessible::Selection);
  selected.setChild(items->currentAccessibleItem());
  QAccessible::updateAccessibility(&selected);
}

}  // namespace pm

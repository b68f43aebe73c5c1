// Things a custom-painted view draws (the rooms of the graph), shown to assistive technology
// as the items of a list: each with a name, a description and its place on screen, the
// current one followed as the keyboard moves, Enter (the "press" action) opening it.
#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace pm {

// What the view tells: its items in keyboard order.
class AccessibleItems {
 public:
  virtual ~AccessibleItems() = default;
  virtual int accessibleItemCount() const = 0;
  virtual QString accessibleItemName(int i) const = 0;
  virtual QString accessibleItemDescription(int i) const = 0;
  virtual QRect accessibleItemRect(int i) const = 0;  // in the view's own coordinates; empty off screen
  virtual int currentAccessibleItem() const = 0;      // -1 when none
  virtual void setCurrentAccessibleItem(int i) = 0;
  virtual void activateAccessibleItem(int i) = 0;
};

// Makes Qt give every object of class `className` (a QWidget that is also an
// AccessibleItems) the list interface. Once per class; the view's constructor calls it.
void installAccessibleItemsView(const char* className);

// The view's items were replaced: forget the old ones and say so to assistive technology.
void accessibleItemsReset(QWidget* view);
// The current item changed: assistive technology, when it listens, moves its focus there.
void announceCurrentItem(QWidget* view);

}  // namespace pm

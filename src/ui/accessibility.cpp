// The tool's accessible interfaces (see accessibility.h).
#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QScrollBar>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <map>
#include <string>

namespace pm {

namespace {

constexpr const char* kTwinProperty = "pmDecorativeTwin";

// A combo box read as its accessible name with its value beside it. Qt names a combo box by
// its current text on Linux, so the drive lists were read as "/".
class NamedComboBox : public QAccessibleWidget {
 public:
  explicit NamedComboBox(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}
  QComboBox* box() const { return static_cast<QComboBox*>(widget()); }

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return box()->isEditable() ? box()->lineEdit()->text() : box()->currentText();
    if (t == QAccessible::Name && box()->accessibleName().isEmpty()) return box()->currentText();
    return QAccessibleWidget::text(t);
  }
  QStringList actionNames() const override {
    QStringList names = QAccessibleWidget::actionNames();
    if (box()->isEnabled()) names.prepend(showMenuAction());
    return names;
  }
  void doAction(const QString& action) override {
    if (action == showMenuAction() || action == pressAction())
      box()->showPopup();
    else
      QAccessibleWidget::doAction(action);
  }
};

// A scroll bar named by its direction and the view it scrolls ("Scorrimento verticale:
// Cartelle"), with its value; Qt leaves scroll bars unnamed.
class NamedScrollBar : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit NamedScrollBar(QScrollBar* bar) : QAccessibleWidget(bar, QAccessible::ScrollBar) {}
  QScrollBar* bar() const { return static_cast<QScrollBar*>(widget()); }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value) return QString::number(bar()->value());
    if (t != QAccessible::Name || !bar()->accessibleName().isEmpty()) return QAccessibleWidget::text(t);
    QString name = bar()->orientation() == Qt::Vertical ? "Scorrimento verticale" : "Scorrimento orizzontale";
    for (QWidget* w = bar()->parentWidget(); w; w = w->parentWidget()) {
      if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) {
        const QString of = QAccessible::queryAccessibleInterface(area)->text(QAccessible::Name);
        if (!of.isEmpty()) name += ": " + of;
        break;
      }
    }
    return name;
  }
  QVariant currentValue() const override { return bar()->value(); }
  void setCurrentValue(const QVariant& value) override { bar()->setValue(value.toInt()); }
  QVariant maximumValue() const override { return bar()->maximum(); }
  QVariant minimumValue() const override { return bar()->minimum(); }
  QVariant minimumStepSize() const override { return bar()->singleStep(); }
};

// A window that opens menus (a child window's right-click menus, an inner window's window
// menu): an open menu is one of its children. Qt leaves popup menus out of the tree, so a
// reader walking it never found them.
class WindowWithMenus : public QAccessibleWidget {
 public:
  WindowWithMenus(QWidget* w, QAccessible::Role role) : QAccessibleWidget(w, role) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Name && widget()->accessibleName().isEmpty()) return widget()->windowTitle().remove("[*]");
    return QAccessibleWidget::text(t);
  }

  QList<QMenu*> openMenus() const {
    QList<QMenu*> out;
    for (QMenu* m : widget()->findChildren<QMenu*>(Qt::FindDirectChildrenOnly))
      if (m->isVisible()) out << m;
    return out;
  }
  int childCount() const override { return QAccessibleWidget::childCount() + int(openMenus().size()); }
  QAccessibleInterface* child(int index) const override {
    const int own = QAccessibleWidget::childCount();
    if (index < own) return QAccessibleWidget::child(index);
    const QList<QMenu*> menus = openMenus();
    return index - own < menus.size() ? QAccessible::queryAccessibleInterface(menus[index - own]) : nullptr;
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const int menu = child ? int(openMenus().indexOf(qobject_cast<QMenu*>(child->object()))) : -1;
    return menu >= 0 ? QAccessibleWidget::childCount() + menu : QAccessibleWidget::indexOfChild(child);
  }
};

// An inner window of the main window: named by its title, its window menu among its children.
class SubWindow : public WindowWithMenus {
 public:
  explicit SubWindow(QMdiSubWindow* w) : WindowWithMenus(w, QAccessible::Window) {}
  QAccessible::State state() const override {
    QAccessible::State s = WindowWithMenus::state();
    auto* sub = static_cast<QMdiSubWindow*>(widget());
    s.active = sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub;
    s.movable = s.sizeable = !sub->isMaximized();
    return s;
  }
};

// A picture that repeats the control beside it: present for the mouse, hidden from the reader.
class DecorativeTwin : public QAccessibleWidget {
 public:
  explicit DecorativeTwin(QWidget* w) : QAccessibleWidget(w, QAccessible::Graphic) {}
  QAccessible::State state() const override {
    QAccessible::State s = QAccessibleWidget::state();
    s.invisible = true;
    s.focusable = false;
    return s;
  }
  QStringList actionNames() const override { return {}; }
};

std::map<std::string, AccessibleMaker>& views() {
  static std::map<std::string, AccessibleMaker> makers;
  return makers;
}

QAccessibleInterface* factory(const QString& className, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget) return nullptr;
  if (widget->property(kTwinProperty).toBool()) return new DecorativeTwin(widget);
  const auto found = views().find(className.toStdString());
  if (found != views().end()) return found->second(object);
  if (className == QLatin1String("QMdiSubWindow")) return new SubWindow(static_cast<QMdiSubWindow*>(widget));
  if (className == QLatin1String("pm::ChildWindow")) return new WindowWithMenus(widget, QAccessible::Client);
  if (className == QLatin1String("QScrollBar")) return new NamedScrollBar(static_cast<QScrollBar*>(widget));
  if (className == QLatin1String("QComboBox")) return new NamedComboBox(static_cast<QComboBox*>(widget));
  return nullptr;
}

}  // namespace

void installAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(factory);
    return true;
  }();
  (void)installed;
}

void registerAccessibleView(const char* className, AccessibleMaker make) {
  installAccessibility();
  views()[className] = make;
}

void makeDecorativeTwin(QWidget* picture) {
  installAccessibility();
  picture->setProperty(kTwinProperty, true);
  picture->setFocusPolicy(Qt::NoFocus);
}

void exposeChangingLabel(QLabel* label, const QString& what) {
  label->setAccessibleName(QString());
  label->setAccessibleDescription(what);
}

}  // namespace pm

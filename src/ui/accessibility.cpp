// The tool's accessible interfaces (see accessibility.h).
#include "ui/accessibility.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QScrollBar>
#include <QLabel>
#include <QLineEdit>
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

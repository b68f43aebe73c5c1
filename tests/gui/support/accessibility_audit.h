// The accessibility audit: walks a window's accessibility tree as a screen reader does
// (QAccessible::queryAccessibleInterface and its children) and lists what a person using
// one would miss: a control without a name or with the wrong role, a label that hides the
// text it shows, a text view that does not give its text, a container that is a Tab stop,
// twins with one name; and walks the window with Tab. Header only.
#pragma once

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGraphicsView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMap>
#include <QMdiSubWindow>
#include <QMenu>
#include <QRegularExpression>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTableView>
#include <QTest>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTreeView>
#include <optional>

#include "ui/large_text_view.h"

namespace pmtest {

inline QString roleName(QAccessible::Role r) {
  static const QMap<QAccessible::Role, QString> names = {
      {QAccessible::PushButton, "pulsante"},   {QAccessible::CheckBox, "casella"},
      {QAccessible::RadioButton, "opzione"},   {QAccessible::ComboBox, "elenco a discesa"},
      {QAccessible::EditableText, "testo"},    {QAccessible::StaticText, "etichetta"},
      {QAccessible::List, "elenco"},           {QAccessible::ListItem, "voce"},
      {QAccessible::Tree, "albero"},           {QAccessible::Table, "tabella"},
      {QAccessible::ScrollBar, "scorrimento"}, {QAccessible::Graphic, "immagine"},
      {QAccessible::Client, "contenitore"},    {QAccessible::Window, "finestra"},
      {QAccessible::PopupMenu, "menu"},        {QAccessible::MenuItem, "voce di menu"},
      {QAccessible::Grouping, "gruppo"},       {QAccessible::Pane, "riquadro"},
      {QAccessible::ButtonMenu, "pulsante con menu"}, {QAccessible::Separator, "separatore"},
      {QAccessible::TitleBar, "barra del titolo"}, {QAccessible::Canvas, "disegno"}};
  return names.value(r, QString("ruolo 0x%1").arg(int(r), 0, 16));
}

inline bool isControlRole(QAccessible::Role r) {
  switch (r) {
    case QAccessible::PushButton: case QAccessible::CheckBox: case QAccessible::RadioButton:
    case QAccessible::ComboBox: case QAccessible::EditableText: case QAccessible::List:
    case QAccessible::Tree: case QAccessible::Table: case QAccessible::ScrollBar:
    case QAccessible::Slider: case QAccessible::SpinBox: case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown: case QAccessible::PageTab: case QAccessible::Link:
    case QAccessible::MenuItem: case QAccessible::ListItem: case QAccessible::Canvas:
      return true;
    default:
      return false;
  }
}

inline bool isContainerRole(QAccessible::Role r) {
  return r == QAccessible::Client || r == QAccessible::Pane || r == QAccessible::Grouping ||
         r == QAccessible::NoRole || r == QAccessible::Section || r == QAccessible::Form ||
         r == QAccessible::LayeredPane || r == QAccessible::Whitespace;
}

// The roles a widget of its class may have; empty when any will do.
inline QList<QAccessible::Role> expectedRoles(QWidget* w) {
  if (qobject_cast<QCheckBox*>(w)) return {QAccessible::CheckBox};
  if (qobject_cast<QRadioButton*>(w)) return {QAccessible::RadioButton};
  if (qobject_cast<QAbstractButton*>(w)) return {QAccessible::PushButton, QAccessible::ButtonMenu, QAccessible::ButtonDropDown};
  if (qobject_cast<QComboBox*>(w)) return {QAccessible::ComboBox};
  if (qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QTextEdit*>(w) ||
      qobject_cast<pm::LargeTextView*>(w))
    return {QAccessible::EditableText};
  if (qobject_cast<QScrollBar*>(w)) return {QAccessible::ScrollBar};
  if (qobject_cast<QAbstractSlider*>(w)) return {QAccessible::Slider};
  if (qobject_cast<QAbstractSpinBox*>(w)) return {QAccessible::SpinBox};
  if (qobject_cast<QListView*>(w)) return {QAccessible::List};
  if (qobject_cast<QTreeView*>(w)) return {QAccessible::Tree, QAccessible::Table};
  if (qobject_cast<QTableView*>(w)) return {QAccessible::Table};
  if (qobject_cast<QGraphicsView*>(w)) return {QAccessible::List};
  if (qobject_cast<QLabel*>(w)) return {QAccessible::StaticText, QAccessible::Graphic};
  return {};
}

// The text a text control shows, as its accessible text must give it.
inline std::optional<QString> shownText(QWidget* w) {
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->echoMode() == QLineEdit::Normal ? e->text() : std::optional<QString>();
  if (auto* e = qobject_cast<QPlainTextEdit*>(w)) return e->toPlainText();
  if (auto* e = qobject_cast<QTextEdit*>(w)) return e->toPlainText();
  if (auto* v = qobject_cast<pm::LargeTextView*>(w)) return v->text();
  return std::nullopt;
}

// The text a label shows: without its mnemonic mark, rich text as plain text.
inline QString labelText(QLabel* l) {
  QString t = l->text();
  if (Qt::mightBeRichText(t) && l->textFormat() != Qt::PlainText) t = QTextDocumentFragment::fromHtml(t).toPlainText();
  if (l->buddy()) t.remove(QRegularExpression("&(?!&)"));
  return t.simplified();
}

inline QString who(QAccessibleInterface* a) {
  QObject* o = a->object();
  return QString("%1 \"%2\" (%3)")
      .arg(roleName(a->role()), a->text(QAccessible::Name), o ? QString(o->metaObject()->className()) + " " + o->objectName() : QString("elemento"));
}

class AccessibilityAudit {
 public:
  // Every line of the tree walked, for reading when a case fails (PAGIMOND_A11Y_DUMP=1 prints them).
  QStringList tree;
  QStringList problems;

  // Walks the tree under `window` (its child windows included).
  void walk(QWidget* window, const QString& where) {
    where_ = where;
    seen_.clear();
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(window);
    if (!root) {
      problems << where + ": nessuna interfaccia accessibile";
      return;
    }
    visit(root, 0, window);
    if (qEnvironmentVariableIsSet("PAGIMOND_A11Y_DUMP")) qInfo().noquote() << tree.join('\n');
  }

  // Walks the tree under `window`, then `within` with Tab (walkTab).
  void walkBoth(QWidget* window, QWidget* within, const QString& where) {
    walk(window, where);
    walkTab(window, within, where);
  }

  // The problems found, each once.
  QString report() const {
    QStringList once = problems;
    once.removeDuplicates();
    for (const QString& p : once) qWarning().noquote() << p;
    return "\n" + once.join('\n');
  }

  // Walks `window` with Tab from its first control: every enabled control is reached, and
  // the focus never lands on a hidden or covered one.
  void walkTab(QWidget* window, QWidget* within, const QString& where) {
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window)) {
      problems << where + ": la finestra non diventa attiva";
      return;
    }
    QList<QWidget*> expected;
    for (QWidget* w : within->findChildren<QWidget*>()) {
      // Of a set of options Tab reaches the chosen one; the arrows move among them.
      if (auto* r = qobject_cast<QRadioButton*>(w); r && !r->isChecked()) continue;
      if (tabStop(w, within)) expected << w;
    }
    if (expected.isEmpty()) return;
    expected.first()->setFocus(Qt::TabFocusReason);
    QSet<QWidget*> reached;
    for (int i = 0; i < 4 * expected.size() + 40; ++i) {
      QWidget* f = QApplication::focusWidget();
      if (!f) {
        problems << where + ": Tab lascia la finestra senza controllo attivo";
        return;
      }
      if (within->isAncestorOf(f)) reached << f;
      if (!f->isVisible()) problems << where + ": Tab raggiunge un controllo nascosto: " + f->objectName();
      const QPoint centre = f->mapTo(window, f->rect().center());
      QWidget* top = window->childAt(centre);
      if (top && top != f && !f->isAncestorOf(top) && !qobject_cast<QMdiSubWindow*>(top))
        problems << where + ": Tab raggiunge un controllo coperto: " + f->objectName() + " (sotto " + top->objectName() + ")";
      QTest::keyClick(f, Qt::Key_Tab);
      if (QApplication::focusWidget() == f) {
        // A text area keeps Tab for itself: go on from the next control, as Ctrl+Tab would.
        QWidget* next = f->nextInFocusChain();
        while (next != f && !tabStop(next, window)) next = next->nextInFocusChain();
        next->setFocus(Qt::TabFocusReason);
      }
    }
    for (QWidget* w : expected)
      if (!reached.contains(w)) problems << where + ": Tab non raggiunge " + w->objectName() + " " + w->accessibleName();
  }

  // The items of an open menu as the reader lists them ("Nome" per item, "-" for a separator).
  static QStringList menuItems(QMenu* menu) {
    QStringList out;
    QAccessibleInterface* a = QAccessible::queryAccessibleInterface(menu);
    if (!a) return out;
    for (int i = 0; i < a->childCount(); ++i) {
      QAccessibleInterface* c = a->child(i);
      out << (c->role() == QAccessible::Separator ? QString("-") : c->text(QAccessible::Name));
    }
    return out;
  }

 private:
  static bool tabStop(QWidget* w, QWidget* within) {
    return w->isVisibleTo(within->window()) && w->isVisible() && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) &&
           !w->focusProxy() && w->window() == within->window();
  }

  void visit(QAccessibleInterface* a, int depth, QWidget* window) {
    if (!a || !a->isValid()) return;
    const QAccessible::State state = a->state();
    if (state.invisible) return;
    const QAccessible::Role role = a->role();
    const QString name = a->text(QAccessible::Name);
    auto* w = qobject_cast<QWidget*>(a->object());
    tree << QString(depth * 2, ' ') + who(a);
    if (w && w != window && w->isVisible()) check(a, w, role, name, window);
    else if (!w && isControlRole(role) && name.trimmed().isEmpty()) problems << where_ + ": senza nome: " + who(a);
    // Item views: their first items are enough to show they are named.
    const bool items = role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table;
    const int children = items ? qMin(a->childCount(), 12) : a->childCount();
    for (int i = 0; i < children; ++i) visit(a->child(i), depth + 1, window);
  }

  void check(QAccessibleInterface* a, QWidget* w, QAccessible::Role role, const QString& name, QWidget* window) {
    const bool tab = w->isEnabled() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy();
    if ((isControlRole(role) || tab) && name.trimmed().isEmpty()) problems << where_ + ": senza nome: " + who(a);
    if (tab && isContainerRole(role)) problems << where_ + ": un contenitore è una fermata del Tab: " + who(a);
    if (role == QAccessible::ComboBox && !name.isEmpty() && name == a->text(QAccessible::Value))
      problems << where_ + ": un elenco a discesa ha per nome il suo valore: " + who(a);
    const QList<QAccessible::Role> roles = expectedRoles(w);
    if (!roles.isEmpty() && !roles.contains(role)) problems << where_ + ": ruolo sbagliato: " + who(a);
    if (auto* l = qobject_cast<QLabel*>(w); l && !labelText(l).isEmpty() && name.simplified() != labelText(l))
      problems << where_ + ": l'etichetta non dice il suo testo \"" + labelText(l) + "\": " + who(a);
    if (const auto shown = shownText(w)) {
      QAccessibleTextInterface* t = a->textInterface();
      if (!t)
        problems << where_ + ": il testo non è leggibile: " + who(a);
      else if (t->text(0, t->characterCount()) != *shown)
        problems << where_ + ": il testo letto non è quello mostrato: " + who(a);
    }
    if (isControlRole(role) && role != QAccessible::ScrollBar && !name.isEmpty()) {
      // One name for one control within a child window (a picture and its twin link read once).
      QWidget* home = w;
      while (home->parentWidget() && home->parentWidget() != window && !qobject_cast<QMdiSubWindow*>(home->parentWidget()))
        home = home->parentWidget();
      const QString key = QString::number(quintptr(home)) + '|' + QString::number(int(role)) + '|' + name;
      if (seen_.contains(key)) problems << where_ + ": due controlli con lo stesso nome: " + who(a);
      seen_ << key;
    }
  }

  QString where_;
  QSet<QString> seen_;
};

}  // namespace pmtest

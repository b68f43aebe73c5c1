// The body of the windows that put back what was kept (a room's earlier versions, the deleted
// rooms): a heading, a list, the chosen entry's text read-only below it, and "Ripristina" (off
// until there is something to restore) and "Chiudi" on the right under them.
#pragma once

#include <QString>

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace pm {

struct RestorePanel {
  QLabel* heading = nullptr;
  QListWidget* list = nullptr;
  QPlainTextEdit* text = nullptr;
  QPushButton* restore = nullptr;
  QPushButton* close = nullptr;
};

// Lays the panel out in `window`. `heading` names the heading for screen readers, `listName`
// and `textName` the list and the text; the text takes `textStretch` shares of the height
// against the list's one.
RestorePanel buildRestorePanel(QWidget* window, const QString& heading, const QString& listName,
                               const QString& textName, int textStretch);

}  // namespace pm

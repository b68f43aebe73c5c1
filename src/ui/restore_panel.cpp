// The body of the windows that put back what was kept (see restore_panel.h).
#include "ui/restore_panel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/accessibility.h"
#include "ui/qt_measure.h"

namespace pm {

RestorePanel buildRestorePanel(QWidget* window, const QString& heading, const QString& listName,
                               const QString& textName, int textStretch) {
  RestorePanel p;
  p.heading = new QLabel(window);
  p.heading->setObjectName("Label1");
  exposeChangingLabel(p.heading, heading);
  p.list = new QListWidget(window);
  p.list->setObjectName("List1");
  p.list->setAccessibleName(listName);
  p.list->setFont(typewriterFont(10));
  p.text = new QPlainTextEdit(window);
  p.text->setObjectName("Text1");
  p.text->setAccessibleName(textName);
  p.text->setReadOnly(true);
  p.text->setFont(typewriterFont(10));
  p.restore = new QPushButton("Ripristina", window);
  p.restore->setObjectName("Command1");
  p.restore->setEnabled(false);
  p.close = new QPushButton("Chiudi", window);
  p.close->setObjectName("Command2");
  for (QPushButton* b : {p.restore, p.close}) b->setAccessibleName(b->text());

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(p.restore);
  buttons->addWidget(p.close);
  auto* column = new QVBoxLayout(window);
  column->addWidget(p.heading);
  column->addWidget(p.list, 1);
  column->addWidget(p.text, textStretch);
  column->addLayout(buttons);
  return p;
}

}  // namespace pm

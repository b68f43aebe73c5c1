// The room editor window (see room_editor_window.h). Skeleton: the full editor follows.
#include "editor/room_editor_window.h"

#include <QCloseEvent>
#include <QTextCursor>
#include <QVBoxLayout>

namespace pm {

RoomEditorWindow::RoomEditorWindow(MainWindow* main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName("Editor");
  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName("Text1");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Text1);
  Apri.setSingleShot(false);
  Apri.setInterval(100);
  Compila.setInterval(100);
  SeguiLk.setInterval(100);
}

RoomEditorWindow::~RoomEditorWindow() = default;

void RoomEditorWindow::setRestricted(bool covered, int fontPoints) {
  (void)covered;
  (void)fontPoints;
}

bool RoomEditorWindow::restricted() const { return cover_ && cover_->isVisible(); }

QString RoomEditorWindow::selectedText() const {
  return Text1->textCursor().selectedText().replace(QChar(0x2029), "\r\n");
}

void RoomEditorWindow::replaceSelection(const QString& text) { Text1->textCursor().insertText(text); }

bool RoomEditorWindow::closeEditor() { return close(); }

void RoomEditorWindow::closeEvent(QCloseEvent* event) { event->accept(); }

}  // namespace pm

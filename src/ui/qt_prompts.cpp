// Real dialogs for the Prompts seam (see qt_prompts.h).
#include "ui/qt_prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "base/files.h"
#include "ui/qt_paths.h"

namespace pm {

static QString q(const std::string& s) { return QString::fromStdString(s); }

std::optional<std::string> QtPrompts::choose_file(const std::string& title, const std::string& filter) {
  const QString file = QFileDialog::getOpenFileName(QApplication::activeWindow(), q(title), QString(), q(filter));
  if (file.isEmpty()) return std::nullopt;
  return path_text(toPath(file));  // the path's bytes, as the core takes names
}

std::optional<std::string> QtPrompts::input(const std::string& prompt, const std::string& title,
                                            const std::string& default_text) {
  QInputDialog box(QApplication::activeWindow());
  box.setWindowTitle(q(title));
  box.setLabelText(q(prompt));
  box.setTextValue(q(default_text));
  box.setInputMode(QInputDialog::TextInput);
  box.setOkButtonText("OK");
  box.setCancelButtonText("Annulla");
  box.resize(std::max(box.sizeHint().width(), 420), box.sizeHint().height());
  if (box.exec() != QDialog::Accepted) return std::nullopt;
  return box.textValue().toStdString();
}

void QtPrompts::message(const std::string& text, const std::string& title, MessageIcon icon) {
  QMessageBox::Icon i = QMessageBox::Information;
  switch (icon) {
    case MessageIcon::Information: i = QMessageBox::Information; break;
    case MessageIcon::Question: i = QMessageBox::Question; break;
    case MessageIcon::Warning: i = QMessageBox::Warning; break;
    case MessageIcon::Critical: i = QMessageBox::Critical; break;
  }
  QMessageBox box(i, q(title), q(text), QMessageBox::Ok, QApplication::activeWindow());
  box.exec();
}

bool QtPrompts::ask_yes_no(const std::string& text, const std::string& title) {
  QMessageBox box(QMessageBox::Question, q(title), q(text), QMessageBox::Yes | QMessageBox::No,
                  QApplication::activeWindow());
  box.button(QMessageBox::Yes)->setText("Sì");
  box.button(QMessageBox::No)->setText("No");
  return box.exec() == QMessageBox::Yes;
}

}  // namespace pm

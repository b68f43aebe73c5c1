// The window "Cestino": the rooms deleted from the open book, newest first, with number,
// description, date and time and the start of the text; "Ripristina" brings the chosen one
// back whole (description, text, script) under its number, or under the next free number
// when the author has written into that room since, and refreshes the room list.
#pragma once

#include "project/deleted_rooms.h"
#include "ui/child_window.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace pm {

class TrashWindow : public ChildWindow {
  Q_OBJECT
 public:
  explicit TrashWindow(WindowOwner* owner);

  // Lists the deleted rooms of the project open in the project manager.
  void load();
  // Brings the selected room back; the number it now has, or "" when none was restored.
  std::string restoreSelected();

  const DeletedRooms& rooms() const { return trash_; }

 private:
  void showRoom(int row);

  DeletedRooms trash_;
  QLabel* heading_ = nullptr;
  QListWidget* roomList_ = nullptr;
  QPlainTextEdit* preview_ = nullptr;
  QPushButton* restoreButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace pm

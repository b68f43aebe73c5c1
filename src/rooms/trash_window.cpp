// The window "Cestino" (see trash_window.h).
#include "rooms/trash_window.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/text.h"
#include "editor/editor_file.h"
#include "project/book_history.h"
#include "project/help_pages.h"
#include "rooms/room_restore.h"
#include "ui/accessibility.h"
#include "ui/manager_requests.h"
#include "ui/qt_measure.h"
#include "ui/qt_paths.h"
#include "ui/shown_text.h"

namespace pm {

namespace {
const PlacementRule kPlacement{8400, 6000, true, Centring::Third};
}  // namespace

TrashWindow::TrashWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Trash", "Cestino", help::kVersions, kPlacement, "Cestino.ini") {
  heading_ = new QLabel(this);
  heading_->setObjectName("Label1");
  exposeChangingLabel(heading_, "Stanze eliminate");
  roomList_ = new QListWidget(this);
  roomList_->setObjectName("List1");
  roomList_->setAccessibleName("Stanze eliminate");
  roomList_->setFont(typewriterFont(10));
  preview_ = new QPlainTextEdit(this);
  preview_->setObjectName("Text1");
  preview_->setAccessibleName("Testo della Stanza eliminata");
  preview_->setReadOnly(true);
  preview_->setFont(typewriterFont(10));
  restoreButton_ = new QPushButton("Ripristina", this);
  restoreButton_->setObjectName("Command1");
  restoreButton_->setEnabled(false);
  closeButton_ = new QPushButton("Chiudi", this);
  closeButton_->setObjectName("Command2");
  for (QPushButton* b : {restoreButton_, closeButton_}) b->setAccessibleName(b->text());

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(restoreButton_);
  buttons->addWidget(closeButton_);
  auto* column = new QVBoxLayout(this);
  column->addWidget(heading_);
  column->addWidget(roomList_, 1);
  column->addWidget(preview_, 1);
  column->addLayout(buttons);

  connect(roomList_, &QListWidget::currentRowChanged, this, &TrashWindow::showRoom);
  connect(restoreButton_, &QPushButton::clicked, this, [this] { restoreSelected(); });
  connect(closeButton_, &QPushButton::clicked, this, [this] { closeWindow(); });
}

void TrashWindow::load() {
  ManagerRequests* m = owner()->manager();
  trash_ = m ? deleted_rooms(m->project().folder()) : DeletedRooms();
  roomList_->clear();
  for (const auto& r : trash_.rooms)
    roomList_->addItem((r.room.size() == 1 ? " " : "") + fromUtf8(r.room) + " | " +
                       fromFileText(description_line(r.description)) + "  (" + fromUtf8(local_time_text(r.time)) + ")");
  setShownText(heading_, trash_.rooms.empty() ? QString("Il Cestino è vuoto.")
                                              : "Stanze eliminate: " + QString::number(trash_.rooms.size()));
  if (!trash_.damaged.empty())
    tell(error_list_message("Alcune Stanze eliminate sono danneggiate:", trash_.damaged), MessageIcon::Warning);
  if (!trash_.rooms.empty()) roomList_->setCurrentRow(0);
  else preview_->clear();
}

void TrashWindow::showRoom(int row) {
  const bool any = row >= 0 && row < int(trash_.rooms.size());
  restoreButton_->setEnabled(any);
  preview_->setPlainText(any ? fromUtf8(LoadedText(trash_.rooms[size_t(row)].text).display()) : QString());
}

std::string TrashWindow::restoreSelected() {
  const int row = roomList_->currentRow();
  ManagerRequests* m = owner()->manager();
  if (!m || row < 0 || row >= int(trash_.rooms.size())) return {};
  const DeletedRoom& room = trash_.rooms[size_t(row)];
  RoomResult r = restore_deleted_room(m->project(), room, size_t(m->entryCount()));
  if (!r.status.ok()) {
    tell(r.status.message(), MessageIcon::Critical);
    return {};
  }
  m->Aggiorna.start();
  tell(r.room == room.room ? "La Stanza " + r.room + " è stata ripristinata."
                           : "La Stanza " + room.room + " è stata ripristinata come Stanza " + r.room +
                                 ": il suo numero è ora occupato.",
       MessageIcon::Information);
  load();
  return r.room;
}

}  // namespace pm

// The window "Cestino" (see trash_window.h).
#include "rooms/trash_window.h"

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "base/text.h"
#include "editor/editor_file.h"
#include "project/book_history.h"
#include "project/help_pages.h"
#include "rooms/room_restore.h"
#include "ui/manager_requests.h"
#include "ui/qt_paths.h"
#include "ui/restore_panel.h"
#include "ui/shown_text.h"

namespace pm {

namespace {
const PlacementRule kPlacement{8400, 6000, true, Centring::Third};
}  // namespace

TrashWindow::TrashWindow(WindowOwner* windowOwner)
    : ChildWindow(windowOwner, "Trash", "Cestino", help::kVersions, kPlacement, "Cestino.ini") {
  const RestorePanel p =
      buildRestorePanel(this, "Stanze eliminate", "Stanze eliminate", "Testo della Stanza eliminata", 1);
  heading_ = p.heading;
  roomList_ = p.list;
  preview_ = p.text;
  restoreButton_ = p.restore;
  closeButton_ = p.close;

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

// The book's Cestino (see deleted_rooms.h).
#include "project/deleted_rooms.h"

#include "project/book_history.h"

namespace pm {

namespace {
stdfs::path trash_folder(const stdfs::path& book) { return resolve(history_folder(book), "Cestino"); }
}  // namespace

Status keep_deleted_room(const stdfs::path& book, const DeletedRoom& room) {
  if (!history_policy().enabled) return {};
  HistoryEntry e;
  e.time = room.time ? room.time : history_now();
  e.reason = VersionReason::Deleted;
  e.parts = {{"stanza", room.room}, {"descrizione", room.description}, {"testo", room.text}};
  if (room.script) e.parts.push_back({"script", *room.script});
  Result<stdfs::path> written = write_history_entry(trash_folder(book), e);
  if (!written.ok())
    return {StatusKind::WriteFailed, "Impossibile conservare la Stanza " + room.room + " nel Cestino (" +
                                         written.status().message() + "): la Stanza non è stata eliminata."};
  apply_book_bound(book, *written);
  return {};
}

DeletedRooms deleted_rooms(const stdfs::path& book) {
  DeletedRooms out;
  std::vector<stdfs::path> entries = history_entries(trash_folder(book));
  std::string bytes;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    Result<HistoryEntry> e = read_file(*it, bytes) ? parse_history_entry(bytes)
                                                    : Result<HistoryEntry>(Status(StatusKind::ReadFailed, "x"));
    const EntryPart* number = e.ok() ? e->part("stanza") : nullptr;
    const EntryPart* description = e.ok() ? e->part("descrizione") : nullptr;
    const EntryPart* text = e.ok() ? e->part("testo") : nullptr;
    if (!number || !description || !text) {
      out.damaged.push_back("Stanza eliminata danneggiata, ignorata: " + path_text(*it));
      continue;
    }
    DeletedRoom r{number->bytes, description->bytes, text->bytes, std::nullopt, e->time, *it};
    if (const EntryPart* script = e->part("script")) r.script = script->bytes;
    out.rooms.push_back(std::move(r));
  }
  return out;
}

bool forget_deleted_room(const DeletedRoom& room) { return remove_file(room.entry); }

}  // namespace pm

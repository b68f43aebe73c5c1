// One entry of the book's history as bytes on disk: a header line, the time and the reason
// it was kept, then one or more named parts (a file's old bytes; a deleted room's
// description, text and script), each with its size and a checksum, so that an entry cut
// short or altered is told apart from a good one and skipped.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace pm {

// Why an entry was kept: a save replaced the file, a room was deleted, or the editor was
// closed without saving after edits (the discarded text).
enum class VersionReason { Saved, Deleted, Discarded };

// "salvataggio", "eliminazione", "non salvato".
std::string_view reason_text(VersionReason reason);

struct EntryPart {
  std::string name;
  std::string bytes;
};

struct HistoryEntry {
  long long time = 0;  // seconds since 1970, UTC
  VersionReason reason = VersionReason::Saved;
  std::vector<EntryPart> parts;

  // The part named `name`, or nothing.
  const EntryPart* part(std::string_view name) const;
};

std::string format_history_entry(const HistoryEntry& entry);
// ReadFailed (without the file's name: the caller adds it) when the bytes are no whole entry.
Result<HistoryEntry> parse_history_entry(std::string_view bytes);

// The date and time of `time` in local time, "dd/mm/yyyy hh:mm:ss".
std::string local_time_text(long long time);

}  // namespace pm

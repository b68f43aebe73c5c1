// The book's history: before a save replaces a file of the book (a room's text or
// description, the project file, a script, the global code, the style sheet) the bytes it
// replaces are kept as a version in the project folder's "Versioni" sub-folder, so they
// travel with the book. The room list and the compiles look only at files of the project
// folder and of Room and res, so the history is never taken for a room nor copied into
// Output. It is bounded by a count of versions per file and a size for the whole book,
// oldest dropped first; every entry is written atomically, and a damaged one is reported
// and skipped.
//
//   Versioni/File/<the file's path in the book>/<sequence>.ver   versions of one file
//   Versioni/Cestino/<sequence>.ver                               deleted rooms
//   Versioni/Recupero/<file name>.rec                             the editor's unsaved text
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "project/history_entry.h"

namespace pm {

inline constexpr std::string_view kHistoryFolder = "Versioni";
// The history's settings in the program folder: three lines, 1 or 0 (kept or not), the
// versions kept per file, the megabytes kept per book.
inline constexpr std::string_view kHistorySettingsFile = "Versioni.ini";

struct HistoryPolicy {
  bool enabled = true;
  size_t versions_per_file = 20;
  uint64_t bytes_per_book = uint64_t(50) << 20;
};

// What the history keeps in this process (set at start-up from Versioni.ini and by the
// settings window); the defaults above until set.
void set_history_policy(const HistoryPolicy& policy);
HistoryPolicy history_policy();
// Versioni.ini's bytes; a missing or unreadable value keeps its default.
HistoryPolicy parse_history_policy(std::string_view ini);
std::string format_history_policy(const HistoryPolicy& policy);
// Versioni.ini of the program folder `home` read (defaults when missing) and written.
HistoryPolicy read_history_policy(const stdfs::path& home);
Status write_history_policy(const stdfs::path& home, const HistoryPolicy& policy);

// The history folder of the book in `book`.
stdfs::path history_folder(const stdfs::path& book);
// The current time as the history stores it.
long long history_now();

// Keeps `old_bytes`, the content of `file` (a file inside `book`) that is about to be
// replaced or removed, as its newest version, then applies the bounds. Nothing is kept
// when the history is turned off. WriteFailed, with a message naming the file, when the
// version could not be written.
Status keep_version(const stdfs::path& book, const stdfs::path& file, std::string_view old_bytes,
                    VersionReason reason = VersionReason::Saved, long long time = history_now());

// The one way a book file is saved: the bytes it replaces (when there are some and they
// differ) go into the history first, then `bytes` are written atomically. Nothing is
// written when the old version could not be kept.
Status save_book_file(const stdfs::path& book, const stdfs::path& file, std::string_view bytes);
// The same for a file that is removed (an emptied script or global code file).
Status remove_book_file(const stdfs::path& book, const stdfs::path& file);

struct VersionInfo {
  int number = 0;  // 1 is the newest: the bytes the last save replaced
  long long time = 0;
  VersionReason reason = VersionReason::Saved;
  uint64_t size = 0;  // of the file's bytes
  stdfs::path entry;
};

struct VersionList {
  std::vector<VersionInfo> versions;  // newest first
  std::vector<std::string> damaged;   // a message for each entry that was skipped
};

// The versions of `file` (inside `book`), newest first.
VersionList list_versions(const stdfs::path& book, const stdfs::path& file);
// The book files that have versions, as paths inside `book` ("3", "Room/3", "Global.cod").
std::vector<std::string> files_with_versions(const stdfs::path& book);
// The bytes of version `number` of `file`: NotFound when there is no such version,
// ReadFailed when its entry is damaged.
Result<std::string> version_bytes(const stdfs::path& book, const stdfs::path& file, int number);
// Brings version `number` of `file` back with save_book_file, so the text it replaces is
// itself kept and the restore can be undone.
Status restore_version(const stdfs::path& book, const stdfs::path& file, int number);

// Drops the oldest entries of the book's history until it holds at most the policy's size
// (the entry `keep` always stays).
void apply_book_bound(const stdfs::path& book, const stdfs::path& keep = {});

// Writes an entry into `dir` under the next sequence number; its path, or WriteFailed.
Result<stdfs::path> write_history_entry(const stdfs::path& dir, const HistoryEntry& entry);
// The entries of `dir` in sequence order, oldest first.
std::vector<stdfs::path> history_entries(const stdfs::path& dir);

}  // namespace pm

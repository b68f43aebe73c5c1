// What the last whole-project compile made each file of Output from, kept in Output itself
// (the file kSiteStateName), so that the next compile rewrites only what changed. A file
// counts as unchanged when what the system says of it (size, modification and change
// times, file number) is what was recorded and it was last changed well before the
// compile that recorded it looked at it: a file changed twice within the resolution of the
// file system's clock looks the same both times, so a file stamped too close to that
// moment (or after it, or with the computer's clock now behind it) is made again.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "base/open_folder.h"

namespace pm {

// The state's file in Output. Served and packed never: it is no part of the book.
inline constexpr std::string_view kSiteStateName = ".pagimond-stato";

// What the system says of a file: enough to notice that it has changed.
struct FileStamp {
  std::int64_t size = -1;  // -1: no such (regular) file
  std::int64_t mtime = 0;  // nanoseconds since the epoch
  std::int64_t ctime = 0;  // the status change time (0 where the system has none)
  std::uint64_t inode = 0;
  std::uint64_t hash = 0;  // the bytes' hash, where output_stamp keeps one instead of times
  bool exists() const { return size >= 0; }
  bool operator==(const FileStamp&) const = default;
};

// The stamp of `name` in `folder`, through a link (an input), or of the entry itself
// (`follow` false: an output, where a link is not a file the compile wrote).
FileStamp stamp_in(const OpenFolder& folder, std::string_view name, bool follow = true);
FileStamp stamp_of(const stdfs::path& p, bool follow = true);

// What the state keeps of the output `name` in `folder`: its stamp (not through a link).
// On Windows, whose file systems may keep no change time or file number (FAT) and whose
// write times alone do not tell a hand edit from the page last written, it is the size and
// the hash of the bytes, read whole; a link (hard or symbolic) is no file the compile wrote
// there and has none.
FileStamp output_stamp(const OpenFolder& folder, std::string_view name);

// The clock the state is taken by, in nanoseconds since the epoch (the system's clock);
// tests set another one, and nullptr puts the system's back.
std::int64_t compile_clock_now();
void set_compile_clock_for_testing(std::function<std::int64_t()> clock);

struct SiteState {
  // What every page is made from besides its room (the project's fields, the global code,
  // the style, the program's version, the project folder): a change makes every page anew.
  std::uint64_t key = 0;
  std::int64_t read_at = 0;     // the clock when the compile began to look at its inputs
  std::int64_t written_at = 0;  // the clock when it had written its outputs

  struct Entry {
    std::string source;   // a copy's file, relative to the project folder ("res/a.png")
    FileStamp input;      // the room text, or the copy's source
    FileStamp script;     // a page's N.js (absent when the room has none)
    FileStamp output;     // as written (absent: the room has no page)
  };
  std::unordered_map<std::string, Entry> files;  // by name in Output ("12.htm", "res/a.png")

  // True when `s` is the recorded `was` and was settled when recorded: stamped before
  // `since` by more than the file system's resolution, and not after `now`. A stamp by
  // the bytes' hash needs no settling.
  static bool unchanged(const FileStamp& s, const FileStamp& was, std::int64_t since, std::int64_t now);
};

// The state of `output`, or nothing when it has none or it cannot be read.
std::optional<SiteState> load_site_state(const stdfs::path& output);
// Writes the state (atomically) into `output`.
Status save_site_state(const stdfs::path& output, const SiteState& state);

// A 64-bit hash (FNV-1a) of pieces, each counted with its length.
class KeyHash {
 public:
  KeyHash& add(std::string_view piece);
  std::uint64_t value() const { return h_; }

 private:
  void bytes(std::string_view b);
  std::uint64_t h_ = 14695981039346656037ull;
};

}  // namespace pm

// Zip archives written through libzip: a folder's files, under a top folder of the
// archive, into one .zip that appears whole or not at all.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/files.h"

namespace pm {

// One entry of an archive: a file's bytes (from `source`, or `bytes` when given) or a folder
// (`folder`).
struct ArchiveEntry {
  std::string name;    // inside the archive, with '/' between folders
  stdfs::path source;  // the file on disk; for a folder, the folder (for its permissions)
  bool folder = false;
  std::optional<std::string> bytes;  // the file's bytes, made in memory (no `source`)
  bool stored = false;               // written as it is, not deflated (an EPUB's mimetype)
};

// Every file and folder below `folder`, named `prefix` + "/" + its path relative to
// `folder` (just that path when `prefix` is empty), in name order.
std::vector<ArchiveEntry> folder_archive_entries(const stdfs::path& folder, const std::string& prefix);

// Writes `entries`, in their order, into the zip archive `zip_path` (deflated unless
// `stored`, no extra fields, permission bits kept, so a
// launcher stays executable when unzipped). The archive is built in a temporary file in
// the same folder and renamed over `zip_path` only when complete: a failure leaves the old
// archive, if any, as it was and no temporary file; it gives WriteFailed and a message
// naming the archive.
Status write_zip_archive(const stdfs::path& zip_path, const std::vector<ArchiveEntry>& entries);

}  // namespace pm

// File-system helpers of the core: names found without regard to case, whole-file reads,
// the one atomic writer every file of the tool goes through, and the copy service.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/status.h"

namespace pm {

namespace stdfs = std::filesystem;

// The entry of `dir` whose name equals `name` without regard to ASCII case; the exact
// spelling wins when several exist. Names without letters are looked up directly.
std::optional<stdfs::path> find_entry(const stdfs::path& dir, std::string_view name);

// The existing entry of `dir` named `name` in any case, or dir/name when there is none:
// readers find the file whatever its case and writers reuse the spelling on disk.
stdfs::path resolve(const stdfs::path& dir, std::string_view name);

// The folder `p` names, written without trailing separators or "." parts ("Libri/Il Ponte/"
// and "Libri/Il Ponte/." give "Libri/Il Ponte"), so that its last part is the folder's own
// name. A root, or a single part, stays as it is.
stdfs::path folder_itself(stdfs::path p);

// Reads a whole file. A missing or unreadable file gives false and an empty `out`.
bool read_file(const stdfs::path& p, std::string& out);
std::string read_file_or_empty(const stdfs::path& p);

// The same read, telling a missing file (NotFound, without a message: most readers take it
// as empty, and those that report it say so in their own words) from one that is there but
// cannot be read, such as a folder (ReadFailed, with a message that says why and names the
// file). `out` is empty unless ok.
Status read_file_checked(const stdfs::path& p, std::string& out);

// How an atomic write treats the file it replaces. Careful, for a file a person keeps by
// hand such as a reader's log: the bytes reach the disk before the rename, and a replaced
// file keeps its permission bits. Plain leaves both to the system: the compiles write
// thousands of files, where a flush and a stat apiece would cost more than the writing.
enum class WriteCare { Plain, Careful };

// Writes `bytes` to `p` through a temporary file in the same folder and a rename, so a
// failed or interrupted write leaves the old file whole. On failure WriteFailed, with a
// message naming the file.
Status write_file_atomic(const stdfs::path& p, std::string_view bytes, WriteCare care = WriteCare::Plain);

// A fresh name beside `p` (same folder, a dot and ".tmp" in it) for the temporary file of
// an atomic write: for writers that produce a file by other means, then rename it over `p`.
stdfs::path temporary_beside(const stdfs::path& p);

// True when a file can be made in folder `dir` (tried, not guessed from permission bits,
// which neither a read-only mount nor a Windows folder's rights show).
bool can_write_in(const stdfs::path& dir);

// Test seam for a full disk: while set, the atomic writes of this process may put only
// `bytes` more bytes on disk in all, and the write that passes the limit fails after
// writing what fits, as on a full disk (ENOSPC). Unset (the default), nothing is limited.
void set_disk_space_for_testing(std::optional<size_t> bytes);

bool remove_file(const stdfs::path& p);
bool is_file(const stdfs::path& p);
bool is_folder(const stdfs::path& p);

// Names of the regular files in `dir` (no folders), in directory order.
std::vector<std::string> list_file_names(const stdfs::path& dir);

// Wildcard match of a file name ('*' and '?'), without regard to ASCII case.
bool matches_pattern(std::string_view name, std::string_view pattern);
// The same against a list of patterns separated by ';' ("*.png;*.jpg"): true when any matches.
bool matches_any_pattern(std::string_view name, std::string_view patterns);

// Copy service: every file of `src_dir` matching `pattern` into `dst_dir`, replacing files
// of the same name in any case (the target keeps its spelling). Each file is copied
// through a temporary file, so a failed copy leaves the old one whole. True when every
// matching file was copied.
bool copy_matching(const stdfs::path& src_dir, std::string_view pattern, const stdfs::path& dst_dir);
// The same over `names`, the files of `src_dir` as a caller that has just listed it knows
// them (list_file_names), so that copying several patterns scans the folder once.
bool copy_matching(const stdfs::path& src_dir, const std::vector<std::string>& names, std::string_view pattern,
                   const stdfs::path& dst_dir);

// Copy service: the one file `src_file` into `dst_dir` (created if needed) under the same
// name, replacing a file of that name in any case (the target keeps its spelling), through
// a temporary file. WriteFailed, with a message naming the file, when the copy failed; the
// old target is then whole and no half file is left.
Status copy_file_into(const stdfs::path& src_file, const stdfs::path& dst_dir);

// Copy service: the contents of folder `src` (recursively) into folder `dst`, created if needed.
bool copy_folder_contents(const stdfs::path& src, const stdfs::path& dst);

// Removes everything inside `dir` (files and sub-folders); creates `dir` when missing.
// Links inside are removed as links: what they point to stays. WriteFailed, with a message
// naming the folder, when something could not be removed.
Status empty_folder(const stdfs::path& dir);

// True when `inner` is `outer` or lies somewhere below it. Both are made absolute and
// normal first (links resolved where the folders exist); a trailing separator does not
// count, and "/a/bc" is not inside "/a/b". Names compare as the file system does: exactly,
// and without regard to ASCII case on Windows.
bool path_is_within(const stdfs::path& inner, const stdfs::path& outer);

// Removes the files directly inside `dir` and leaves its sub-folders; creates `dir` when
// missing. WriteFailed, with a message naming the folder or file, when something could
// not be removed or made.
Status remove_files_in(const stdfs::path& dir);

// Removes everything inside the existing folder `dir`, as empty_folder does.
Status remove_folder_contents(const stdfs::path& dir);

// A path as UTF-8 / native bytes, for messages.
std::string path_text(const stdfs::path& p);

// The path a name or path in bytes stands for: the bytes as they are on POSIX systems;
// UTF-8 on Windows, as path_text and list_file_names give them there. Every name held as
// bytes becomes a path through here, so that accented letters survive the way back.
stdfs::path path_from_text(std::string_view bytes);

// A name that stays inside the folder it is looked up in: not empty, not "." or "..", no path
// separator, no drive colon, no control character.
bool is_plain_file_name(std::string_view name);

}  // namespace pm

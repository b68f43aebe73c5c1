// File-system helpers of the core: names found without regard to case, whole-file reads,
// the one atomic writer every file of the tool goes through, and the copy service.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

namespace stdfs = std::filesystem;

// The entry of `dir` whose name equals `name` without regard to ASCII case; the exact
// spelling wins when several exist. Names without letters are looked up directly.
std::optional<stdfs::path> find_entry(const stdfs::path& dir, std::string_view name);

// The existing entry of `dir` named `name` in any case, or dir/name when there is none:
// readers find the file whatever its case and writers reuse the spelling on disk.
stdfs::path resolve(const stdfs::path& dir, std::string_view name);

// Reads a whole file. A missing or unreadable file gives false and an empty `out`.
bool read_file(const stdfs::path& p, std::string& out);
std::string read_file_or_empty(const stdfs::path& p);

// The same read, telling a missing file (Missing) from one that is there but cannot be
// read, such as a folder (Failed: `error`, when given, says why and names the file).
// `out` is empty unless Ok.
enum class ReadResult { Ok, Missing, Failed };
ReadResult read_file_checked(const stdfs::path& p, std::string& out, std::string* error = nullptr);

// How an atomic write treats the file it replaces. Careful, for a file a person keeps by
// hand such as a reader's log: the bytes reach the disk before the rename, and a replaced
// file keeps its permission bits. Plain leaves both to the system: the compiles write
// thousands of files, where a flush and a stat apiece would cost more than the writing.
enum class WriteCare { Plain, Careful };

// Writes `bytes` to `p` through a temporary file in the same folder and a rename, so a
// failed or interrupted write leaves the old file whole. On failure returns false and sets
// `error` (when given) to a message naming the file.
bool write_file_atomic(const stdfs::path& p, std::string_view bytes, std::string* error = nullptr,
                       WriteCare care = WriteCare::Plain);

bool remove_file(const stdfs::path& p);
bool is_file(const stdfs::path& p);
bool is_folder(const stdfs::path& p);

// Names of the regular files in `dir` (no folders), in directory order.
std::vector<std::string> list_file_names(const stdfs::path& dir);

// Wildcard match of a file name ('*' and '?'), without regard to ASCII case.
bool matches_pattern(std::string_view name, std::string_view pattern);

// Copy service: every file of `src_dir` matching `pattern` into `dst_dir`, replacing files
// of the same name in any case (the target keeps its spelling). Each file is copied
// through a temporary file, so a failed copy leaves the old one whole. True when every
// matching file was copied.
bool copy_matching(const stdfs::path& src_dir, std::string_view pattern, const stdfs::path& dst_dir);
// The same over `names`, the files of `src_dir` as a caller that has just listed it knows
// them (list_file_names), so that copying several patterns scans the folder once.
bool copy_matching(const stdfs::path& src_dir, const std::vector<std::string>& names, std::string_view pattern,
                   const stdfs::path& dst_dir);

// Copy service: the contents of folder `src` (recursively) into folder `dst`, created if needed.
bool copy_folder_contents(const stdfs::path& src, const stdfs::path& dst);

// Removes everything inside `dir` (files and sub-folders); creates `dir` when missing.
// Links inside are removed as links: what they point to stays.
bool empty_folder(const stdfs::path& dir, std::string* error = nullptr);

// Removes everything inside the existing folder `dir`, as empty_folder does.
bool remove_folder_contents(const stdfs::path& dir, std::string* error = nullptr);

// A path as UTF-8 / native bytes, for messages.
std::string path_text(const stdfs::path& p);

}  // namespace pm

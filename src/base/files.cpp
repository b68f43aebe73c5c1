// File-system helpers of the core (see files.h).
#include "base/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <random>
#include <system_error>
#include <unordered_map>

#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "base/folder_removal.h"
#include "base/open_folder.h"
#include "base/text.h"

namespace pm {

// The few system calls of the reader and the atomic writer. Windows takes file names
// through the wide API (a name with accented letters reaches the disk as written), opens
// every file in binary mode, and replaces a file with its own move, which, unlike rename,
// overwrites an existing target.
namespace {
#if defined(_WIN32)
using FileStat = struct _stat64;
int open_for_reading(const stdfs::path& p) { return ::_wopen(p.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT); }
int create_new(const stdfs::path& p) {
  return ::_wopen(p.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
int stat_of(int fd, FileStat& st) { return ::_fstat64(fd, &st); }
bool is_regular(const FileStat& st) { return (st.st_mode & _S_IFMT) == _S_IFREG; }
long long read_some(int fd, char* buf, size_t n) { return ::_read(fd, buf, unsigned(std::min<size_t>(n, 1u << 30))); }
long long write_some(int fd, const char* buf, size_t n) { return ::_write(fd, buf, unsigned(std::min<size_t>(n, 1u << 30))); }
int flush_to_disk(int fd) { return ::_commit(fd); }
int close_file(int fd) { return ::_close(fd); }
void unlink_file(const stdfs::path& p) { ::_wunlink(p.c_str()); }
// Windows keeps no permission bits worth carrying over; a read-only file refuses the move.
void keep_permissions(int, const stdfs::path&) {}
// The move with write-through returns only when the new name is on disk.
std::string replace_file(const stdfs::path& from, const stdfs::path& to) {
  if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return {};
  return std::system_category().message(int(::GetLastError()));
}
#else
using FileStat = struct stat;
int open_for_reading(const stdfs::path& p) { return ::open(p.c_str(), O_RDONLY | O_CLOEXEC); }
int create_new(const stdfs::path& p) { return ::open(p.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644); }
int stat_of(int fd, FileStat& st) { return ::fstat(fd, &st); }
bool is_regular(const FileStat& st) { return S_ISREG(st.st_mode); }
long long read_some(int fd, char* buf, size_t n) { return ::read(fd, buf, n); }
long long write_some(int fd, const char* buf, size_t n) { return ::write(fd, buf, n); }
int flush_to_disk(int fd) { return ::fsync(fd); }
int close_file(int fd) { return ::close(fd); }
void unlink_file(const stdfs::path& p) { ::unlink(p.c_str()); }
void keep_permissions(int fd, const stdfs::path& old) {
  struct stat st {};
  if (::stat(old.c_str(), &st) == 0 && S_ISREG(st.st_mode)) ::fchmod(fd, st.st_mode & 07777);
}
std::string replace_file(const stdfs::path& from, const stdfs::path& to) {
  if (std::rename(from.c_str(), to.c_str()) == 0) return {};
  return std::strerror(errno);
}
#endif
}  // namespace

std::optional<stdfs::path> find_entry(const stdfs::path& dir, std::string_view name) {
  std::error_code ec;
  stdfs::path direct = dir / path_from_text(name);
  const bool found_directly = stdfs::exists(stdfs::symlink_status(direct, ec));
  if (!has_ascii_letters(name)) return found_directly ? std::optional(direct) : std::nullopt;
#if defined(_WIN32)
  // The disk answers to any case there, so only a scan tells the spelling it keeps.
  const bool exact_on_disk = false;
#else
  const bool exact_on_disk = found_directly;
#endif
  if (exact_on_disk) return direct;
  for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (iequals(it->path().filename().string(), name)) return it->path();
  }
  return found_directly ? std::optional(direct) : std::nullopt;
}

stdfs::path resolve(const stdfs::path& dir, std::string_view name) {
  if (auto found = find_entry(dir, name)) return *found;
  return dir / path_from_text(name);
}

stdfs::path folder_itself(stdfs::path p) {
  while (p.has_relative_path() && (p.filename().empty() || p.filename() == ".") && !p.parent_path().empty() &&
         p.parent_path() != p)
    p = p.parent_path();
  return p;
}

Status read_file_checked(const stdfs::path& p, std::string& out) {
  return read_descriptor(open_for_reading(p), [&] { return p; }, out);
}

Status read_descriptor(int fd, const std::function<stdfs::path()>& shown, std::string& out) {
  out.clear();
  auto failed = [&](int err) {
    return Status(StatusKind::ReadFailed,
                  "Impossibile leggere il file " + path_text(shown()) + ": " + std::strerror(err));
  };
  if (fd < 0) {
    const int err = errno;
    return err == ENOENT || err == ENOTDIR ? Status(StatusKind::NotFound, {}) : failed(err);
  }
  // Read straight into the string, sized from the file: one read for a file that does not
  // change meanwhile, and a short read of a regular file is its end.
  FileStat st {};
  bool regular = stat_of(fd, st) == 0 && is_regular(st);
  size_t want = regular ? size_t(st.st_size) + 1 : 65536;
  int err = 0;
  size_t used = 0;
  while (true) {
    if (out.size() - used < want) out.resize(used + want);
    long long n = read_some(fd, out.data() + used, out.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    size_t asked = out.size() - used;
    used += size_t(n);
    if (regular && size_t(n) < asked) break;
    want = std::max<size_t>(65536, used);  // the file grew: go on in larger steps
  }
  close_file(fd);
  out.resize(err ? 0 : used);
  return err ? failed(err) : Status();
}

bool read_file(const stdfs::path& p, std::string& out) { return read_file_checked(p, out).ok(); }

std::string read_file_or_empty(const stdfs::path& p) {
  std::string s;
  read_file(p, s);
  return s;
}

static Status fail(const stdfs::path& p, const std::string& what) {
  return Status(StatusKind::WriteFailed, "Impossibile scrivere il file " + path_text(p) + ": " + what);
}

stdfs::path temporary_beside(const stdfs::path& p) {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  stdfs::path dir = p.parent_path();
  if (dir.empty()) dir = ".";
  return dir / path_from_text("." + p.filename().string() + ".tmp" + std::to_string(rng() % 1000000000ULL));
}

static std::optional<size_t> g_disk_space;  // see set_disk_space_for_testing

void set_disk_space_for_testing(std::optional<size_t> bytes) { g_disk_space = bytes; }

namespace {
// One write, with the room left under the test seam's limit.
long long write_within_space(int fd, const char* data, size_t size) {
  if (!g_disk_space) return write_some(fd, data, size);
  if (*g_disk_space == 0) {
    errno = ENOSPC;
    return -1;
  }
  long long w = write_some(fd, data, std::min(size, *g_disk_space));
  if (w > 0) *g_disk_space -= size_t(w);
  return w;
}
}  // namespace

int write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const long long w = write_within_space(fd, bytes.data(), bytes.size());
    if (w < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    bytes.remove_prefix(size_t(w));
  }
  return 0;
}

Status write_file_atomic(const stdfs::path& p, std::string_view bytes, WriteCare care) {
  stdfs::path tmp = temporary_beside(p);
  int fd = create_new(tmp);
  if (fd < 0) return fail(p, std::strerror(errno));
  auto give_up = [&](const std::string& why) {
    if (fd >= 0) close_file(fd);
    unlink_file(tmp);
    return fail(p, why);
  };
  if (care == WriteCare::Careful) keep_permissions(fd, p);
  if (const int err = write_all(fd, bytes)) return give_up(std::strerror(err));
  if (care == WriteCare::Careful && flush_to_disk(fd) != 0) return give_up(std::strerror(errno));
  int closed = close_file(fd);
  fd = -1;
  if (closed != 0) return give_up(std::strerror(errno));
  if (std::string why = replace_file(tmp, p); !why.empty()) return give_up(why);
  return {};
}

bool can_write_in(const stdfs::path& dir) {
  stdfs::path probe = temporary_beside(dir / "probe");
  int fd = create_new(probe);
  if (fd < 0) return false;
  close_file(fd);
  unlink_file(probe);
  return true;
}

bool remove_file(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::remove(p, ec) && !ec;
}

bool is_file(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::is_regular_file(p, ec);
}

bool is_folder(const stdfs::path& p) {
  std::error_code ec;
  return stdfs::is_directory(p, ec);
}

std::vector<std::string> list_file_names(const stdfs::path& dir) { return OpenFolder(dir).file_names(); }

bool matches_pattern(std::string_view name, std::string_view pattern) {
  // Iterative wildcard match with backtracking to the last '*'.
  size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower_ascii(pattern[p]) == lower_ascii(name[n]))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool matches_any_pattern(std::string_view name, std::string_view patterns) {
  size_t start = 0;
  while (start <= patterns.size()) {
    size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    std::string_view one = trim_blanks(patterns.substr(start, end - start));
    if (!one.empty() && matches_pattern(name, one)) return true;
    start = end + 1;
  }
  return false;
}

// Copies one file through a temporary file beside the target and the replacing move, so
// a failed copy leaves the old target whole.
static bool copy_file_atomic(const stdfs::path& src, const stdfs::path& dst) {
  stdfs::path tmp = temporary_beside(dst);
  std::error_code ec;
  stdfs::copy_file(src, tmp, stdfs::copy_options::none, ec);
  if (!ec && !replace_file(tmp, dst).empty()) ec = std::make_error_code(std::errc::io_error);
  if (ec) {
    std::error_code ignored;
    stdfs::remove(tmp, ignored);
    return false;
  }
  return true;
}

bool copy_matching(const stdfs::path& src_dir, std::string_view pattern, const stdfs::path& dst_dir) {
  return copy_matching(src_dir, list_file_names(src_dir), pattern, dst_dir);
}

bool copy_matching(const stdfs::path& src_dir, const std::vector<std::string>& names, std::string_view pattern,
                   const stdfs::path& dst_dir) {
  bool ok = true;
  std::error_code ec;
  stdfs::create_directories(dst_dir, ec);
  // The target's own spelling of each name, found in one scan: a copy replaces ADV.CSS
  // when adv.css comes in, instead of adding a second file of the same name.
  std::unordered_map<std::string, std::string> on_disk;
  for (stdfs::directory_iterator it(dst_dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::string name = it->path().filename().string();
    on_disk.emplace(to_lower_ascii(name), name);
  }
  for (const auto& name : names) {
    if (!matches_pattern(name, pattern)) continue;
    auto existing = on_disk.find(to_lower_ascii(name));
    std::string target = name;
    std::error_code ec2;
    if (existing != on_disk.end() && !stdfs::exists(dst_dir / path_from_text(name), ec2)) target = existing->second;
    if (!copy_file_atomic(src_dir / path_from_text(name), dst_dir / path_from_text(target))) ok = false;
  }
  return ok;
}

Status copy_file_into(const stdfs::path& src_file, const stdfs::path& dst_dir) {
  std::error_code ec;
  stdfs::create_directories(dst_dir, ec);
  const stdfs::path target = resolve(dst_dir, src_file.filename().string());
  if (!ec && is_file(src_file) && copy_file_atomic(src_file, target)) return {};
  return Status(StatusKind::WriteFailed, "Impossibile copiare " + path_text(src_file) + " in " + path_text(dst_dir));
}

bool copy_folder_contents(const stdfs::path& src, const stdfs::path& dst) {
  if (!is_folder(src)) return false;
  std::error_code ec;
  stdfs::create_directories(dst, ec);
  if (ec) return false;
  // Folder by folder and file by file, each file through copy_file_atomic: one way of
  // replacing that works on every system (the library's own recursive copy does not
  // overwrite on Windows).
  bool ok = true;
  for (stdfs::recursive_directory_iterator it(src, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    const stdfs::path target = dst / it->path().lexically_relative(src);
    if (it->is_directory(ec2)) {
      stdfs::create_directories(target, ec2);
      if (ec2) ok = false;
    } else if (!copy_file_atomic(it->path(), target)) {
      ok = false;
    }
  }
  return ok && !ec;
}

#if defined(_WIN32)
// Windows has no folder handles to remove by: the entries go by path, each file unlinked
// at once (remove_all would first try to open it as a folder), links removed as links.
Status remove_folder_contents(const stdfs::path& dir) {
  auto failed = [&](const std::error_code& why) {
    return Status(StatusKind::WriteFailed, "Impossibile svuotare la cartella " + path_text(dir) + ": " + why.message());
  };
  std::error_code ec;
  std::vector<std::pair<stdfs::path, bool>> entries;  // path, is a folder (links are not followed)
  for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    entries.emplace_back(it->path(), it->is_directory(ec2) && !it->is_symlink(ec2));
  }
  if (ec) return failed(ec);
  Status result;  // the first failure; the other entries are still removed
  for (const auto& [e, folder] : entries) {
    std::error_code ec2;
    if (folder)
      stdfs::remove_all(e, ec2);
    else
      stdfs::remove(e, ec2);
    if (ec2 && result.ok()) result = failed(ec2);
  }
  return result;
}
#else
Status remove_folder_contents(const stdfs::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  const int err = fd < 0 ? errno : remove_open_folder_contents(fd);
  if (err == 0) return {};
  return Status(StatusKind::WriteFailed, "Impossibile svuotare la cartella " + path_text(dir) + ": " + std::strerror(err));
}
#endif

Status empty_folder(const stdfs::path& dir) {
  std::error_code ec;
  stdfs::create_directories(dir, ec);
  return remove_folder_contents(dir);
}

namespace {

stdfs::path normal_path(const stdfs::path& p) {
  std::error_code ec;
  stdfs::path abs = stdfs::weakly_canonical(p, ec);
  if (ec) abs = stdfs::absolute(p, ec).lexically_normal();
  return abs;
}

// The names of a path, without the empty one a trailing separator leaves.
std::vector<stdfs::path> path_names(const stdfs::path& p) {
  std::vector<stdfs::path> names(p.begin(), p.end());
  while (!names.empty() && names.back().empty()) names.pop_back();
  return names;
}

bool same_name(const stdfs::path& a, const stdfs::path& b) {
#if defined(_WIN32)
  return iequals(a.string(), b.string());
#else
  return a == b;
#endif
}

}  // namespace

bool path_is_within(const stdfs::path& inner, const stdfs::path& outer) {
  const auto a = path_names(normal_path(inner)), b = path_names(normal_path(outer));
  if (a.size() < b.size()) return false;
  for (size_t i = 0; i < b.size(); ++i)
    if (!same_name(a[i], b[i])) return false;
  return true;
}

Status remove_files_in(const stdfs::path& dir) {
  std::error_code ec;
  stdfs::create_directories(dir, ec);
  if (!is_folder(dir)) return Status(StatusKind::WriteFailed, "Impossibile creare la cartella " + path_text(dir));
  Status result;  // the last failure, as the person sees one name
  for (const auto& name : list_file_names(dir)) {
    if (!remove_file(dir / name))
      result = Status(StatusKind::WriteFailed, "Impossibile eliminare il file " + path_text(dir / name));
  }
  return result;
}

std::string path_text(const stdfs::path& p) { return p.string(); }

stdfs::path path_from_text(std::string_view bytes) {
#if defined(_WIN32)
  // The narrow path constructor of the Windows runtime takes bytes one by one, while
  // string() gives UTF-8: decode UTF-8 explicitly so the two agree.
  return stdfs::path(std::u8string(bytes.begin(), bytes.end()));
#else
  return stdfs::path(std::string(bytes));
#endif
}

bool is_plain_file_name(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (char c : name) {
    unsigned char u = (unsigned char)c;
    if (c == '/' || c == '\\' || c == ':' || u < 0x20 || u == 0x7F) return false;
  }
  return true;
}

}  // namespace pm

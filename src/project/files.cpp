// File-system helpers of the core (see files.h).
#include "project/files.h"

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
#include <unistd.h>

#include "project/text.h"

namespace pm {

static bool has_letters(std::string_view s) {
  for (char c : s)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  return false;
}

std::optional<stdfs::path> find_entry(const stdfs::path& dir, std::string_view name) {
  std::error_code ec;
  stdfs::path direct = dir / stdfs::path(std::string(name));
  if (stdfs::exists(stdfs::symlink_status(direct, ec))) return direct;
  if (!has_letters(name)) return std::nullopt;
  for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (iequals(it->path().filename().string(), name)) return it->path();
  }
  return std::nullopt;
}

stdfs::path resolve(const stdfs::path& dir, std::string_view name) {
  if (auto found = find_entry(dir, name)) return *found;
  return dir / stdfs::path(std::string(name));
}

static void fail_read(std::string* error, const stdfs::path& p, int err) {
  if (error) *error = "Impossibile leggere il file " + path_text(p) + ": " + std::strerror(err);
}

ReadResult read_file_checked(const stdfs::path& p, std::string& out, std::string* error) {
  out.clear();
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
    fail_read(error, p, errno);
    return ReadResult::Failed;
  }
  // Read straight into the string, sized from the file: one read for a file that does not
  // change meanwhile, and a short read of a regular file is its end.
  struct stat st {};
  bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  size_t want = regular ? size_t(st.st_size) + 1 : 65536;
  int err = 0;
  size_t used = 0;
  while (true) {
    if (out.size() - used < want) out.resize(used + want);
    ssize_t n = ::read(fd, out.data() + used, out.size() - used);
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
  ::close(fd);
  out.resize(err ? 0 : used);
  if (err) {
    fail_read(error, p, err);
    return ReadResult::Failed;
  }
  return ReadResult::Ok;
}

bool read_file(const stdfs::path& p, std::string& out) { return read_file_checked(p, out) == ReadResult::Ok; }

std::string read_file_or_empty(const stdfs::path& p) {
  std::string s;
  read_file(p, s);
  return s;
}

static std::string fail(std::string* error, const stdfs::path& p, const std::string& what) {
  std::string msg = "Impossibile scrivere il file " + path_text(p) + ": " + what;
  if (error) *error = msg;
  return msg;
}

stdfs::path temporary_beside(const stdfs::path& p) {
  static thread_local std::mt19937_64 rng{std::random_device{}()};
  stdfs::path dir = p.parent_path();
  if (dir.empty()) dir = ".";
  return dir / ("." + p.filename().string() + ".tmp" + std::to_string(rng() % 1000000000ULL));
}

bool write_file_atomic(const stdfs::path& p, std::string_view bytes, std::string* error, WriteCare care) {
  stdfs::path tmp = temporary_beside(p);
  int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) {
    fail(error, p, std::strerror(errno));
    return false;
  }
  auto give_up = [&](int e) {
    if (fd >= 0) ::close(fd);
    ::unlink(tmp.c_str());
    fail(error, p, std::strerror(e));
    return false;
  };
  struct stat old {};
  if (care == WriteCare::Careful && ::stat(p.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    ::fchmod(fd, old.st_mode & 07777);
  const char* data = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    ssize_t w = ::write(fd, data, left);
    if (w < 0) {
      if (errno == EINTR) continue;
      return give_up(errno);
    }
    data += w;
    left -= size_t(w);
  }
  if (care == WriteCare::Careful && ::fsync(fd) != 0) return give_up(errno);
  int closed = ::close(fd);
  fd = -1;
  if (closed != 0) return give_up(errno);
  if (std::rename(tmp.c_str(), p.c_str()) != 0) return give_up(errno);
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

std::vector<std::string> list_file_names(const stdfs::path& dir) {
  std::vector<std::string> names;
  std::error_code ec;
  for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (it->is_regular_file(ec2)) names.push_back(it->path().filename().string());
  }
  return names;
}

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

// Copies one file through a temporary file beside the target and a rename, so a failed
// copy leaves the old target whole.
static bool copy_file_atomic(const stdfs::path& src, const stdfs::path& dst) {
  stdfs::path tmp = temporary_beside(dst);
  std::error_code ec;
  stdfs::copy_file(src, tmp, stdfs::copy_options::none, ec);
  if (!ec) stdfs::rename(tmp, dst, ec);
  if (ec) {
    std::error_code ignored;
    stdfs::remove(tmp, ignored);
    return false;
  }
  return true;
}

bool copy_matching(const stdfs::path& src_dir, std::string_view pattern, const stdfs::path& dst_dir) {
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
  for (const auto& name : list_file_names(src_dir)) {
    if (!matches_pattern(name, pattern)) continue;
    auto existing = on_disk.find(to_lower_ascii(name));
    std::string target = name;
    std::error_code ec2;
    if (existing != on_disk.end() && !stdfs::exists(dst_dir / name, ec2)) target = existing->second;
    if (!copy_file_atomic(src_dir / name, dst_dir / target)) ok = false;
  }
  return ok;
}

bool copy_file_into(const stdfs::path& src_file, const stdfs::path& dst_dir, std::string* error) {
  std::error_code ec;
  stdfs::create_directories(dst_dir, ec);
  const stdfs::path target = resolve(dst_dir, src_file.filename().string());
  if (!ec && is_file(src_file) && copy_file_atomic(src_file, target)) return true;
  if (error) *error = "Impossibile copiare " + path_text(src_file) + " in " + path_text(dst_dir);
  return false;
}

bool copy_folder_contents(const stdfs::path& src, const stdfs::path& dst) {
  if (!is_folder(src)) return false;
  std::error_code ec;
  stdfs::create_directories(dst, ec);
  stdfs::copy(src, dst, stdfs::copy_options::recursive | stdfs::copy_options::overwrite_existing, ec);
  return !ec;
}

bool empty_folder(const stdfs::path& dir, std::string* error) {
  std::error_code ec;
  stdfs::create_directories(dir, ec);
  std::vector<std::pair<stdfs::path, bool>> entries;  // path, is a folder (links are not followed)
  for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    entries.emplace_back(it->path(), it->is_directory(ec2) && !it->is_symlink(ec2));
  }
  if (ec) {
    if (error) *error = "Impossibile leggere la cartella " + path_text(dir) + ": " + ec.message();
    return false;
  }
  bool ok = true;
  for (const auto& [e, folder] : entries) {
    // A file is unlinked at once: remove_all would first try to open it as a folder.
    std::error_code ec2;
    if (folder)
      stdfs::remove_all(e, ec2);
    else
      stdfs::remove(e, ec2);
    if (ec2) {
      ok = false;
      if (error) *error = "Impossibile svuotare la cartella " + path_text(dir) + ": " + ec2.message();
    }
  }
  return ok;
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

bool remove_files_in(const stdfs::path& dir, std::string* error) {
  std::error_code ec;
  stdfs::create_directories(dir, ec);
  if (!is_folder(dir)) {
    if (error) *error = "Impossibile creare la cartella " + path_text(dir);
    return false;
  }
  bool ok = true;
  for (const auto& name : list_file_names(dir)) {
    if (!remove_file(dir / name)) {
      ok = false;
      if (error) *error = "Impossibile eliminare il file " + path_text(dir / name);
    }
  }
  return ok;
}

std::string path_text(const stdfs::path& p) { return p.string(); }

}  // namespace pm

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

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "project/open_folder.h"
#include "project/text.h"

namespace pm {

std::optional<stdfs::path> find_entry(const stdfs::path& dir, std::string_view name) {
  std::error_code ec;
  stdfs::path direct = dir / stdfs::path(std::string(name));
  if (stdfs::exists(stdfs::symlink_status(direct, ec))) return direct;
  if (!has_ascii_letters(name)) return std::nullopt;
  for (stdfs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (iequals(it->path().filename().string(), name)) return it->path();
  }
  return std::nullopt;
}

stdfs::path resolve(const stdfs::path& dir, std::string_view name) {
  if (auto found = find_entry(dir, name)) return *found;
  return dir / stdfs::path(std::string(name));
}

ReadResult read_file_checked(const stdfs::path& p, std::string& out, std::string* error) {
  out.clear();
  int fd = ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
    if (error) *error = "Impossibile leggere il file " + path_text(p) + ": " + std::strerror(errno);
    return ReadResult::Failed;
  }
  return read_descriptor(fd, p, out, error);
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

// A fresh name beside `p` for the temporary file of an atomic write or copy.
static stdfs::path temporary_beside(const stdfs::path& p) {
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

std::vector<std::string> list_file_names(const stdfs::path& dir) { return OpenFolder(dir).file_names(); }

static char lower(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool matches_pattern(std::string_view name, std::string_view pattern) {
  // Iterative wildcard match with backtracking to the last '*'.
  size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || lower(pattern[p]) == lower(name[n]))) {
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
    if (existing != on_disk.end() && !stdfs::exists(dst_dir / name, ec2)) target = existing->second;
    if (!copy_file_atomic(src_dir / name, dst_dir / target)) ok = false;
  }
  return ok;
}

bool copy_folder_contents(const stdfs::path& src, const stdfs::path& dst) {
  if (!is_folder(src)) return false;
  std::error_code ec;
  stdfs::create_directories(dst, ec);
  stdfs::copy(src, dst, stdfs::copy_options::recursive | stdfs::copy_options::overwrite_existing, ec);
  return !ec;
}

// Removes everything inside the open folder `fd` (links are removed, never followed), and
// closes `fd`. Each entry is unlinked by name at once; only folders are opened.
static bool remove_contents(int fd, int& first_error) {
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    first_error = errno;
    ::close(fd);
    return false;
  }
  std::vector<std::pair<std::string, bool>> entries;  // name, is a folder
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    bool folder = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN) {
      struct stat st {};
      folder = ::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    entries.emplace_back(name, folder);
  }
  bool ok = true;
  auto note = [&](int err) {
    if (ok) first_error = err;
    ok = false;
  };
  for (const auto& [name, folder] : entries) {
    if (folder) {
      const int sub = ::openat(fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      int err = 0;
      if (sub < 0 || !remove_contents(sub, err)) note(sub < 0 ? errno : err);
      if (::unlinkat(fd, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) note(errno);
    } else if (::unlinkat(fd, name.c_str(), 0) != 0 && errno != ENOENT) {
      note(errno);
    }
  }
  ::closedir(dir);
  return ok;
}

bool remove_folder_contents(const stdfs::path& dir, std::string* error) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  int err = fd < 0 ? errno : 0;
  if (fd >= 0 && remove_contents(fd, err)) return true;
  if (error) *error = "Impossibile svuotare la cartella " + path_text(dir) + ": " + std::strerror(err);
  return false;
}

bool empty_folder(const stdfs::path& dir, std::string* error) {
  std::error_code ec;
  stdfs::create_directories(dir, ec);
  return remove_folder_contents(dir, error);
}

std::string path_text(const stdfs::path& p) { return p.string(); }

}  // namespace pm

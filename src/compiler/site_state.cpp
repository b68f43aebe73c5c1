// The state of a site compile kept in Output (see site_state.h). One line per file:
//   p NAME TAB INPUT TAB SCRIPT TAB OUTPUT          a room's page
//   c NAME TAB SOURCE TAB INPUT TAB OUTPUT          a copy of a project file
// each stamp as "size,mtime,ctime,inode,hash"; a name holding a tab or a line end is not kept.
#include "compiler/site_state.h"

#include <charconv>
#include <chrono>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "base/text.h"

namespace pm {

namespace {

constexpr std::string_view kHeader = "pagimond-stato 2";
// How close to the moment of recording a stamp may come and still count as settled: the
// kernel stamps files by a clock that lags the system's by up to a tick (a few
// milliseconds); file systems that keep whole seconds (FAT: two) stamp far behind it.
constexpr std::int64_t kFineMargin = 20'000'000;
constexpr std::int64_t kCoarseMargin = 2'000'000'000;

std::mutex clock_mutex;
std::function<std::int64_t()> test_clock;

#if defined(_WIN32)
// Windows' own times (100 ns steps since 1601) on the system's clock in nanoseconds.
std::int64_t unix_nanoseconds(std::int64_t filetime) { return (filetime - 116444736000000000) * 100; }

// What the handle's file is, or nothing when it is no regular file (a folder; a link
// when `links_allowed` is false: a reparse point, or a file with other names).
std::optional<BY_HANDLE_FILE_INFORMATION> file_info(HANDLE h, bool links_allowed) {
  BY_HANDLE_FILE_INFORMATION info{};
  if (h == INVALID_HANDLE_VALUE) return std::nullopt;
  const bool ok = GetFileInformationByHandle(h, &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                  (links_allowed || (!(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) && info.nNumberOfLinks == 1));
  if (!ok) return std::nullopt;
  return info;
}

// The stamp from the file's handle: std::filesystem gives whole seconds there, and neither
// the change time nor the file number.
FileStamp stamp_from(const stdfs::path& p, bool follow) {
  const HANDLE h = CreateFileW(p.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING,
                               FILE_FLAG_BACKUP_SEMANTICS | (follow ? 0 : FILE_FLAG_OPEN_REPARSE_POINT), nullptr);
  FileStamp s;
  if (auto info = file_info(h, follow)) {
    s.size = (std::int64_t(info->nFileSizeHigh) << 32) | info->nFileSizeLow;
    s.mtime = unix_nanoseconds((std::int64_t(info->ftLastWriteTime.dwHighDateTime) << 32) |
                               info->ftLastWriteTime.dwLowDateTime);
    FILE_BASIC_INFO basic{};
    if (GetFileInformationByHandleEx(h, FileBasicInfo, &basic, sizeof basic) && basic.ChangeTime.QuadPart > 0)
      s.ctime = unix_nanoseconds(basic.ChangeTime.QuadPart);
    s.inode = (std::uint64_t(info->nFileIndexHigh) << 32) | info->nFileIndexLow;
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return s;
}

// The size and hash of the bytes of a file of its own (no link), read in pieces.
FileStamp hash_stamp(const stdfs::path& p) {
  const HANDLE h = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  FileStamp s;
  if (auto info = file_info(h, false)) {
    KeyHash hash;
    // One buffer for the thousands of small pages: the size of the largest yet, up to 1 MiB.
    thread_local std::string buffer;
    const std::uint64_t size_now = (std::uint64_t(info->nFileSizeHigh) << 32) | info->nFileSizeLow;
    if (buffer.size() < std::min<std::uint64_t>(size_now + 1, 1 << 20))
      buffer.resize(size_t(std::min<std::uint64_t>(size_now + 1, 1 << 20)));
    std::int64_t size = 0;
    DWORD got = 0;
    bool ok;
    while ((ok = ReadFile(h, buffer.data(), DWORD(buffer.size()), &got, nullptr)) && got > 0) {
      hash.add(std::string_view(buffer.data(), got));
      size += got;
    }
    if (ok) {
      s.size = size;
      s.hash = hash.value() | 1;  // never 0, which stands for no hash
    }
  }
  if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
  return s;
}
#else
FileStamp stamp_from_stat(const struct stat& st) {
  FileStamp s;
  if (!S_ISREG(st.st_mode)) return s;
  s.size = st.st_size;
  s.mtime = std::int64_t(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
  s.ctime = std::int64_t(st.st_ctim.tv_sec) * 1'000'000'000 + st.st_ctim.tv_nsec;
  s.inode = st.st_ino;
  return s;
}
#endif

std::string stamp_text(const FileStamp& s) {
  return std::to_string(s.size) + "," + std::to_string(s.mtime) + "," + std::to_string(s.ctime) + "," +
         std::to_string(s.inode) + "," + std::to_string(s.hash);
}

template <typename T>
bool parse_number(std::string_view& s, T& out, char end) {
  const auto [p, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  if (ec != std::errc()) return false;
  s.remove_prefix(size_t(p - s.data()));
  if (end) {
    if (s.empty() || s[0] != end) return false;
    s.remove_prefix(1);
  }
  return true;
}

bool parse_stamp(std::string_view s, FileStamp& out) {
  return parse_number(s, out.size, ',') && parse_number(s, out.mtime, ',') && parse_number(s, out.ctime, ',') &&
         parse_number(s, out.inode, ',') && parse_number(s, out.hash, 0) && s.empty();
}

std::vector<std::string_view> fields_of(std::string_view line) {
  std::vector<std::string_view> f;
  size_t from = 0;
  for (size_t tab; (tab = line.find('\t', from)) != std::string_view::npos; from = tab + 1)
    f.push_back(line.substr(from, tab - from));
  f.push_back(line.substr(from));
  return f;
}

bool keepable(std::string_view name) { return name.find_first_of("\t\r\n") == std::string_view::npos; }

}  // namespace

FileStamp stamp_in(const OpenFolder& folder, std::string_view name, bool follow) {
#if defined(_WIN32)
  return stamp_from(folder.path() / path_from_text(name), follow);
#else
  struct stat st {};
  if (!folder.valid() || ::fstatat(folder.descriptor(), std::string(name).c_str(), &st,
                                   follow ? 0 : AT_SYMLINK_NOFOLLOW) != 0)
    return {};
  return stamp_from_stat(st);
#endif
}

FileStamp output_stamp(const OpenFolder& folder, std::string_view name) {
#if defined(_WIN32)
  return hash_stamp(folder.path() / path_from_text(name));
#else
  return stamp_in(folder, name, false);
#endif
}

FileStamp stamp_of(const stdfs::path& p, bool follow) {
#if defined(_WIN32)
  return stamp_from(p, follow);
#else
  struct stat st {};
  if ((follow ? ::stat(p.c_str(), &st) : ::lstat(p.c_str(), &st)) != 0) return {};
  return stamp_from_stat(st);
#endif
}

std::int64_t compile_clock_now() {
  {
    std::lock_guard lock(clock_mutex);
    if (test_clock) return test_clock();
  }
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

void set_compile_clock_for_testing(std::function<std::int64_t()> clock) {
  std::lock_guard lock(clock_mutex);
  test_clock = std::move(clock);
}

bool SiteState::unchanged(const FileStamp& s, const FileStamp& was, std::int64_t since, std::int64_t now) {
  if (!(s == was)) return false;
  if (!s.exists() || s.hash != 0) return true;
  const std::int64_t margin = s.mtime % 1'000'000'000 == 0 ? kCoarseMargin : kFineMargin;
  const std::int64_t newest = std::max(s.mtime, s.ctime);
  return newest < since - margin && newest <= now;
}

std::optional<SiteState> load_site_state(const stdfs::path& output) {
  std::string text;
  if (!read_file_checked(output / std::string(kSiteStateName), text).ok()) return std::nullopt;
  SiteState state;
  bool header = false, key = false;
  bool ok = true;
  for_each_line(text, [&](std::string_view line) {
    if (!ok || line.empty()) return;
    if (!header) {
      ok = header = line == kHeader;
      return;
    }
    const char kind = line[0];
    if (line.size() < 2 || line[1] != ' ') {
      ok = false;
      return;
    }
    line.remove_prefix(2);
    if (kind == 'k') {
      ok = parse_number(line, state.key, ' ') && parse_number(line, state.read_at, ' ') &&
           parse_number(line, state.written_at, 0) && line.empty();
      key = true;
      return;
    }
    const auto f = fields_of(line);
    SiteState::Entry e;
    if (kind == 'p' && f.size() == 4) {
      ok = parse_stamp(f[1], e.input) && parse_stamp(f[2], e.script) && parse_stamp(f[3], e.output);
    } else if (kind == 'c' && f.size() == 4) {
      e.source = std::string(f[1]);
      ok = parse_stamp(f[2], e.input) && parse_stamp(f[3], e.output);
    } else {
      ok = false;
    }
    if (ok) state.files.emplace(std::string(f[0]), std::move(e));
  });
  if (!ok || !header || !key) return std::nullopt;
  return state;
}

Status save_site_state(const stdfs::path& output, const SiteState& state) {
  std::string text(kHeader);
  text += "\r\nk " + std::to_string(state.key) + " " + std::to_string(state.read_at) + " " +
          std::to_string(state.written_at) + "\r\n";
  for (const auto& [name, e] : state.files) {
    if (!keepable(name) || !keepable(e.source)) continue;
    if (e.source.empty()) {
      text += "p " + name + "\t" + stamp_text(e.input) + "\t" + stamp_text(e.script) + "\t" + stamp_text(e.output);
    } else {
      text += "c " + name + "\t" + e.source + "\t" + stamp_text(e.input) + "\t" + stamp_text(e.output);
    }
    text += "\r\n";
  }
  return write_file_atomic(output / std::string(kSiteStateName), text);
}

KeyHash& KeyHash::add(std::string_view piece) {
  const std::string size = std::to_string(piece.size()) + ":";
  bytes(size);
  bytes(piece);
  return *this;
}

void KeyHash::bytes(std::string_view b) {
  for (unsigned char c : b) {
    h_ ^= c;
    h_ *= 1099511628211ull;
  }
}

}  // namespace pm

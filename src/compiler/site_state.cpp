// The state of a site compile kept in Output (see site_state.h). One line per file:
//   p NAME TAB INPUT TAB SCRIPT TAB OUTPUT          a room's page
//   c NAME TAB SOURCE TAB INPUT TAB OUTPUT          a copy of a project file
// each stamp as "size,mtime,ctime,inode"; a name holding a tab or a line end is not kept.
#include "compiler/site_state.h"

#include <charconv>
#include <chrono>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>

#include "base/text.h"

namespace pm {

namespace {

constexpr std::string_view kHeader = "pagimond-stato 1";
// How close to the moment of recording a stamp may come and still count as settled: the
// kernel stamps files by a clock that lags the system's by up to a tick (a few
// milliseconds); file systems that keep whole seconds (FAT: two) stamp far behind it.
constexpr std::int64_t kFineMargin = 20'000'000;
constexpr std::int64_t kCoarseMargin = 2'000'000'000;

std::mutex clock_mutex;
std::function<std::int64_t()> test_clock;

#if defined(_WIN32)
FileStamp stamp_from(const stdfs::path& p, bool follow) {
  std::error_code ec;
  const auto status = follow ? stdfs::status(p, ec) : stdfs::symlink_status(p, ec);
  FileStamp s;
  if (ec || !stdfs::is_regular_file(status)) return s;
  const auto size = stdfs::file_size(p, ec);
  const auto time = stdfs::last_write_time(p, ec);
  if (ec) return s;
  s.size = std::int64_t(size);
  // On the system's clock, as the state's own times are.
  s.mtime = std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::file_clock::to_sys(time).time_since_epoch())
                .count();
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
         std::to_string(s.inode);
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
         parse_number(s, out.inode, 0) && s.empty();
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
  if (!s.exists()) return true;
  const std::int64_t margin = s.mtime % 1'000'000'000 == 0 ? kCoarseMargin : kFineMargin;
  const std::int64_t newest = std::max(s.mtime, s.ctime);
  return newest < since - margin && newest <= now;
}

std::optional<SiteState> load_site_state(const stdfs::path& output) {
#if defined(_WIN32)
  // Windows gives no change time or file number to tell a hand edit in Output from the page
  // last written, so every compile there makes the whole site.
  (void)output;
  return std::nullopt;
#endif
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

// Noticing that a book's files changed (see book_watcher.h).
#include "preview/book_watcher.h"

#include <map>
#include <thread>
#include <vector>

#include "compiler/site_state.h"

#if defined(__linux__)
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
#elif defined(_WIN32)
#include <windows.h>
#endif

namespace pm {

namespace {

// Every file of the book's folder, Room and res (all levels), by path, with its stamp.
std::map<std::string, FileStamp> snapshot(const stdfs::path& book) {
  std::map<std::string, FileStamp> files;
  std::error_code ec;
  for (stdfs::directory_iterator it(book, ec), end; !ec && it != end; it.increment(ec))
    files[path_text(it->path())] = stamp_of(it->path());
  for (const char* sub : {"Room", "res"}) {
    const stdfs::path dir = resolve(book, sub);
    for (stdfs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
      files[path_text(it->path())] = stamp_of(it->path());
  }
  return files;
}

class PollingWatcher : public BookWatcher {
 public:
  PollingWatcher(stdfs::path book, std::chrono::milliseconds every)
      : book_(std::move(book)), every_(every), last_(snapshot(book_)) {}

  bool wait(std::chrono::milliseconds limit) override {
    const auto until = std::chrono::steady_clock::now() + limit;
    while (true) {
      auto now = snapshot(book_);
      if (now != last_) {
        last_ = std::move(now);
        return true;
      }
      const auto left = until - std::chrono::steady_clock::now();
      if (left <= std::chrono::milliseconds(0)) return false;
      std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(every_, left));
    }
  }

 private:
  stdfs::path book_;
  std::chrono::milliseconds every_;
  std::map<std::string, FileStamp> last_;
};

#if defined(__linux__)
class InotifyWatcher : public BookWatcher {
 public:
  explicit InotifyWatcher(const stdfs::path& book) : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0) return;
    ok_ = add(book);
    for (const char* sub : {"Room", "res"}) {
      const stdfs::path dir = resolve(book, sub);
      if (!is_folder(dir)) continue;
      ok_ = ok_ && add(dir);
      std::error_code ec;
      for (stdfs::recursive_directory_iterator it(dir, ec), end; ok_ && !ec && it != end; it.increment(ec)) {
        std::error_code ec2;
        if (it->is_directory(ec2)) ok_ = add(it->path());
      }
    }
  }
  ~InotifyWatcher() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool ok() const { return fd_ >= 0 && ok_; }

  bool wait(std::chrono::milliseconds limit) override {
    pollfd p{fd_, POLLIN, 0};
    if (::poll(&p, 1, int(limit.count())) <= 0) return false;
    // Everything that came meanwhile is one change. A folder made under res is not
    // watched until the preview starts again; the files it receives later are missed.
    char buffer[16384];
    while (::read(fd_, buffer, sizeof buffer) > 0) {
    }
    return true;
  }

 private:
  bool add(const stdfs::path& dir) {
    return ::inotify_add_watch(fd_, dir.c_str(),
                               IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB) >= 0;
  }
  int fd_;
  bool ok_ = false;
};
#endif

#if defined(_WIN32)
// ReadDirectoryChangesW on the book's folder (its own entries) and on Room and res (all
// levels, folders made later too), each read left pending between waits. Should a read
// fail to start again (a watched folder removed), the stamps are polled from then on.
class WindowsWatcher : public BookWatcher {
 public:
  explicit WindowsWatcher(const stdfs::path& book) : book_(book) {
    ok_ = add(book, false);
    for (const char* sub : {"Room", "res"}) {
      const stdfs::path dir = resolve(book, sub);
      if (is_folder(dir)) ok_ = ok_ && add(dir, true);
    }
  }
  ~WindowsWatcher() override { close(); }
  bool ok() const { return ok_; }

  bool wait(std::chrono::milliseconds limit) override {
    if (fallback_) return fallback_->wait(limit);
    std::vector<HANDLE> events;
    for (const auto& f : folders_) events.push_back(f->overlapped.hEvent);
    const auto until = std::chrono::steady_clock::now() + limit;
    bool changed = false;
    while (true) {
      // After the first change only what has already come is taken: it is the same one.
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
      const DWORD timeout = changed ? 0 : DWORD(std::max<std::int64_t>(left.count(), 0));
      const DWORD which = WaitForMultipleObjects(DWORD(events.size()), events.data(), FALSE, timeout);
      if (which >= WAIT_OBJECT_0 + events.size()) return changed;
      changed = take(*folders_[which - WAIT_OBJECT_0]) || changed;
      if (fallback_) return true;
      if (!changed && std::chrono::steady_clock::now() >= until) return false;
    }
  }

 private:
  struct Folder {
    HANDLE handle = INVALID_HANDLE_VALUE;
    OVERLAPPED overlapped{};
    bool subtree = false;
    bool pending = false;
    alignas(DWORD) char buffer[32768];
  };

  bool add(const stdfs::path& dir, bool subtree) {
    auto f = std::make_unique<Folder>();
    f->subtree = subtree;
    f->handle = CreateFileW(dir.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    if (f->handle == INVALID_HANDLE_VALUE) return false;
    f->overlapped.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    folders_.push_back(std::move(f));
    return folders_.back()->overlapped.hEvent && read(*folders_.back());
  }

  static bool read(Folder& f) {
    ResetEvent(f.overlapped.hEvent);
    f.pending = ReadDirectoryChangesW(f.handle, f.buffer, sizeof f.buffer, f.subtree,
                                      FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                          FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                          FILE_NOTIFY_CHANGE_LAST_WRITE,
                                      nullptr, &f.overlapped, nullptr);
    return f.pending;
  }

  // The notices of one finished read, and the next read started. A notice that a folder
  // among the book's own entries was modified is the system saying that its listing
  // changed (Output's, when it lies there; Room's and res's have their own reads), not a
  // change of the book.
  bool take(Folder& f) {
    DWORD got = 0;
    const bool done = GetOverlappedResult(f.handle, &f.overlapped, &got, FALSE);
    f.pending = false;
    bool changed = !done || got == 0;  // failed, or more came than the buffer held
    for (DWORD at = 0; !changed && at < got;) {
      const auto* notice = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(f.buffer + at);
      const stdfs::path name(std::wstring(notice->FileName, notice->FileNameLength / sizeof(WCHAR)));
      changed = f.subtree || notice->Action != FILE_ACTION_MODIFIED || !is_folder(book_ / name);
      if (notice->NextEntryOffset == 0) break;
      at += notice->NextEntryOffset;
    }
    if (!read(f)) {
      close();
      fallback_ = poll_book(book_, std::chrono::milliseconds(250));
      return true;
    }
    return changed;
  }

  void close() {
    for (auto& f : folders_) {
      if (f->pending) {
        CancelIoEx(f->handle, &f->overlapped);
        DWORD got = 0;
        GetOverlappedResult(f->handle, &f->overlapped, &got, TRUE);
      }
      CloseHandle(f->handle);
      if (f->overlapped.hEvent) CloseHandle(f->overlapped.hEvent);
    }
    folders_.clear();
  }

  stdfs::path book_;
  std::vector<std::unique_ptr<Folder>> folders_;
  std::unique_ptr<BookWatcher> fallback_;
  bool ok_ = false;
};
#endif

}  // namespace

std::unique_ptr<BookWatcher> poll_book(const stdfs::path& book, std::chrono::milliseconds every) {
  return std::make_unique<PollingWatcher>(book, every);
}

std::unique_ptr<BookWatcher> watch_book(const stdfs::path& book) {
#if defined(__linux__)
  auto watcher = std::make_unique<InotifyWatcher>(book);
  if (watcher->ok()) return watcher;
#elif defined(_WIN32)
  auto watcher = std::make_unique<WindowsWatcher>(book);
  if (watcher->ok()) return watcher;
#endif
  return poll_book(book, std::chrono::milliseconds(250));
}

}  // namespace pm

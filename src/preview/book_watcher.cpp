// Noticing that a book's files changed (see book_watcher.h).
#include "preview/book_watcher.h"

#include <map>
#include <thread>

#include "compiler/site_state.h"

#if defined(__linux__)
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>
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

}  // namespace

std::unique_ptr<BookWatcher> poll_book(const stdfs::path& book, std::chrono::milliseconds every) {
  return std::make_unique<PollingWatcher>(book, every);
}

std::unique_ptr<BookWatcher> watch_book(const stdfs::path& book) {
#if defined(__linux__)
  auto watcher = std::make_unique<InotifyWatcher>(book);
  if (watcher->ok()) return watcher;
#endif
  return poll_book(book, std::chrono::milliseconds(250));
}

}  // namespace pm

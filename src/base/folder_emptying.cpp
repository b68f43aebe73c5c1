// Emptying a folder on a second thread (see folder_emptying.h).
#include "base/folder_emptying.h"

#include <cerrno>
#include <cstring>
#include <random>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace pm {

std::string FolderEmptying::aside_prefix(const stdfs::path& dir) {
  return "." + dir.filename().string() + ".da-svuotare-";
}

std::vector<stdfs::path> FolderEmptying::left_aside(const stdfs::path& dir) {
  const std::string name = dir.filename().string();
  if (name.empty() || name == "." || name == "..") return {};
  const std::string prefix = aside_prefix(dir);
  const stdfs::path parent = dir.has_parent_path() ? dir.parent_path() : stdfs::path(".");
  std::vector<stdfs::path> aside;
  std::error_code ec;
  for (stdfs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (path_text(it->path().filename()).starts_with(prefix) && it->is_directory(ec2) && !it->is_symlink(ec2))
      aside.push_back(it->path());
  }
  return aside;
}

#if defined(_WIN32)
// Windows keeps a folder whose files are open from being moved, and has no lstat or mode
// bits to make the new folder with: there the folder is emptied in place.
FolderEmptying::FolderEmptying(const stdfs::path& dir) { status_ = empty_folder(dir); }
#else
FolderEmptying::FolderEmptying(const stdfs::path& dir) {
  const stdfs::path parent = dir.has_parent_path() ? dir.parent_path() : stdfs::path(".");
  const std::string name = dir.filename().string();
  const std::string prefix = aside_prefix(dir);
  const bool named = !name.empty() && name != "." && name != "..";
  // What an interrupted run left aside goes now.
  std::vector<stdfs::path> aside = left_aside(dir);
  struct stat st {};
  bool moved = false;
  if (named && ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    const stdfs::path place = parent / (prefix + std::to_string(std::random_device{}() % 1000000000u));
    if (::rename(dir.c_str(), place.c_str()) == 0) {
      if (::mkdir(dir.c_str(), st.st_mode & 07777) == 0) {
        moved = true;
        aside.push_back(place);
      } else {
        ::rename(place.c_str(), dir.c_str());  // put it back and empty it in place
      }
    }
  }
  if (!moved) status_ = empty_folder(dir);
  if (aside.empty()) return;
  worker_ = std::thread([this, aside = std::move(aside)] {
    for (const auto& folder : aside) {
      auto fail = [&](std::string_view what, int err) {
        if (!status_.ok()) return;
        status_ = Status(StatusKind::WriteFailed, std::string(what) + path_text(folder) + ": " + std::strerror(err));
      };
      const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      if (fd < 0) {
        fail("Impossibile svuotare la cartella ", errno);
        continue;
      }
      auto removal = std::make_shared<FolderRemoval>(fd);
      {
        std::lock_guard lock(mutex_);
        current_ = removal;
      }
      removal->take_part();
      {
        std::lock_guard lock(mutex_);
        current_.reset();
      }
      // The entries that finish() took last may still be going.
      while (!removal->finished()) std::this_thread::yield();
      if (const int err = removal->first_error()) {
        fail("Impossibile svuotare la cartella ", err);
      } else if (::rmdir(folder.c_str()) != 0) {
        fail("Impossibile rimuovere la cartella ", errno);
      }
    }
  });
}

#endif

FolderEmptying::~FolderEmptying() { (void)finish(); }

Status FolderEmptying::finish() {
#if !defined(_WIN32)
  // The operation is done: this thread takes its share of what is left to remove.
  std::shared_ptr<FolderRemoval> left;
  {
    std::lock_guard lock(mutex_);
    left = current_;
  }
  if (left) left->take_part();
#endif
  if (worker_.joinable()) worker_.join();
  return status_;
}

}  // namespace pm

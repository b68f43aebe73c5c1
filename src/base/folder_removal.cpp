// Sharing the removal of a big folder between threads (see folder_removal.h).
#include "base/folder_removal.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string_view>

namespace pm {

int remove_open_folder_contents(int fd) {
  FolderRemoval removal(fd);
  removal.take_part();
  return removal.first_error();
}

// Each entry is unlinked by name at once; only folders are opened.
FolderRemoval::FolderRemoval(int fd) : fd_(fd) {
  dir_ = ::fdopendir(fd);
  if (!dir_) {
    note(errno);
    return;
  }
  while (const dirent* e = ::readdir(dir_)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    bool folder = e->d_type == DT_DIR;
    if (e->d_type == DT_UNKNOWN) {
      struct stat st {};
      folder = ::fstatat(fd, e->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
    }
    entries_.emplace_back(name, folder);
  }
}

FolderRemoval::~FolderRemoval() {
  if (dir_)
    ::closedir(dir_);
  else
    ::close(fd_);
}

void FolderRemoval::note(int err) {
  int none = 0;
  error_.compare_exchange_strong(none, err);
}

void FolderRemoval::take_part() {
  for (size_t i; (i = next_.fetch_add(1)) < entries_.size(); dealt_.fetch_add(1)) {
    const auto& [name, folder] = entries_[i];
    if (folder) {
      const int sub = ::openat(fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      const int err = sub < 0 ? errno : remove_open_folder_contents(sub);
      if (err) note(err);
      if (::unlinkat(fd_, name.c_str(), AT_REMOVEDIR) != 0 && errno != ENOENT) note(errno);
    } else if (::unlinkat(fd_, name.c_str(), 0) != 0 && errno != ENOENT) {
      note(errno);
    }
  }
}

}  // namespace pm
#endif

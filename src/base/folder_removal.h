// Sharing the removal of a big folder between threads (POSIX): the folder's entries are
// listed once and then taken one at a time by whichever thread asks.
#pragma once

#if !defined(_WIN32)
#include <dirent.h>

#include <atomic>
#include <string>
#include <utility>
#include <vector>

namespace pm {

// The entries of an open folder, listed once and then removed one at a time by any number
// of threads at once, each entry by one of them: how the removal of a big folder is shared
// out. Links are removed, never followed; folders go with their contents.
class FolderRemoval {
 public:
  explicit FolderRemoval(int fd);  // lists the folder open as `fd`, which it closes at the end
  ~FolderRemoval();
  FolderRemoval(const FolderRemoval&) = delete;
  FolderRemoval& operator=(const FolderRemoval&) = delete;

  // Removes entries that no thread has taken yet, until none is left.
  void take_part();
  // Whether every entry has been dealt with (by whichever thread took it).
  bool finished() const { return dealt_.load() == entries_.size(); }
  // Once finished: the errno of the first listing or removal that failed, or 0.
  int first_error() const { return error_.load(); }

 private:
  void note(int err);
  DIR* dir_ = nullptr;
  int fd_;
  std::vector<std::pair<std::string, bool>> entries_;  // name, is a folder
  std::atomic<size_t> next_{0}, dealt_{0};
  std::atomic<int> error_{0};
};

// Removes everything inside the open folder `fd` and closes `fd`: the errno of the first
// listing or removal that failed, or 0.
int remove_open_folder_contents(int fd);

}  // namespace pm
#endif

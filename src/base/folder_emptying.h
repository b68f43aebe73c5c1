// Emptying a folder that an operation is about to fill, without waiting for the removal:
// the folder is moved aside and a fresh empty one takes its place at once, while the old
// contents are removed on a second thread as the operation writes the new ones; when the
// operation is done first, it helps with what is left. The compiles empty Output this way:
// removing ten thousand pages costs as much as writing them. On Windows the folder is
// emptied in place before the constructor returns.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "base/files.h"
#include "base/folder_removal.h"

namespace pm {

class FolderEmptying {
 public:
  // Empties `dir` (created when missing): when this returns, `dir` is an empty folder. Where
  // it cannot be moved aside (a link, a mount point, a parent that cannot be written) it is
  // emptied in place before this returns, as empty_folder does. Old contents left aside by
  // an interrupted run are removed too.
  explicit FolderEmptying(const stdfs::path& dir);
  ~FolderEmptying();  // waits for the removal
  FolderEmptying(const FolderEmptying&) = delete;
  FolderEmptying& operator=(const FolderEmptying&) = delete;

  // Helps with the removal and waits for its end. WriteFailed, with a message, when `dir`
  // could not be made or something of its old contents could not be removed.
  Status finish();

  // The name prefix of the old contents moved aside beside `dir`.
  static std::string aside_prefix(const stdfs::path& dir);
  // The folders of old contents that interrupted runs left aside beside `dir` (links to
  // folders are not among them).
  static std::vector<stdfs::path> left_aside(const stdfs::path& dir);

 private:
  std::thread worker_;
#if !defined(_WIN32)
  std::mutex mutex_;
  std::shared_ptr<FolderRemoval> current_;  // the folder whose entries are being removed
#endif
  Status status_;  // the first failure
};

}  // namespace pm

// A folder held open, whose files are read and written by name relative to it: the
// compiles and the map read and write thousands of files in a few folders, and a lookup of
// one name is much cheaper than walking the whole path again for every file. Windows has
// no such handles: there the folder is only its path, and every file is opened by its
// whole path (names as UTF-8, see path_from_text).
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "base/files.h"

namespace pm {

class OpenFolder {
 public:
  OpenFolder() = default;
  // Opens `dir`; valid() is false when it cannot be opened (every read then finds nothing).
  explicit OpenFolder(const stdfs::path& dir);
  ~OpenFolder();
  OpenFolder(OpenFolder&& other) noexcept;
  OpenFolder& operator=(OpenFolder&& other) noexcept;
  OpenFolder(const OpenFolder&) = delete;
  OpenFolder& operator=(const OpenFolder&) = delete;

  bool valid() const { return fd_ >= 0; }
  const stdfs::path& path() const { return path_; }
  // The open folder's descriptor (POSIX only; on Windows 0 stands for a folder that exists).
  int descriptor() const { return fd_; }

  // Reads the file `name` of this folder, like read_file_checked. Safe to call from
  // several threads at once.
  Status read(std::string_view name, std::string& out) const;

  // Names of the regular files of this folder, in directory order.
  std::vector<std::string> file_names() const;

 private:
  int fd_ = -1;
  stdfs::path path_;
};

// A file written straight to its place, in pieces, without a temporary file and a rename:
// only for a folder whose files the same operation makes (the compiles' Output), where
// there is no old file to keep and an interrupted run is redone anyway. An old file of its
// own is written over in place; a link or a file with other names (hard links) is replaced,
// never written through. A failed write removes what it had written, so no partial file
// stays.
class DirectWriter {
 public:
  DirectWriter(const OpenFolder& folder, std::string_view name);
  ~DirectWriter();
  DirectWriter(const DirectWriter&) = delete;
  DirectWriter& operator=(const DirectWriter&) = delete;

  void write(std::string_view bytes);
  // Closes the file. WriteFailed, with a message naming the file, when anything failed
  // since it was opened; the file is then gone.
  Status finish();

 private:
  const OpenFolder& folder_;
  std::string name_;
  int fd_ = -1;
  int errno_ = 0;
};

// Writes a whole file with a DirectWriter.
Status write_file_direct(const OpenFolder& folder, std::string_view name, std::string_view bytes);

// Reads from the descriptor that an open just returned into `out` (the shared body of every
// whole-file read, in files.cpp): sized from fstat, one read for a regular file that does
// not change meanwhile. Closes `fd`. A failed open (fd < 0, the reason still in errno) is
// NotFound for a file or folder that is not there; a message naming the path that `shown`
// gives is made only for a ReadFailed.
Status read_descriptor(int fd, const std::function<stdfs::path()>& shown, std::string& out);

// Writes all of `bytes` to `fd`, again after an interrupted write, within the room that the
// full-disk test seam leaves (see set_disk_space_for_testing). 0, or the errno of the write
// that failed. In files.cpp.
int write_all(int fd, std::string_view bytes);

}  // namespace pm

// Files read on a second thread, a bounded distance ahead of the thread that uses them, in
// the order asked. The compiles and the map spend about as long opening and reading
// thousands of small files as on all the rest of their work: on two cores the reads run
// beside the rest. The bytes handed out are exactly those a plain read gives.
#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "project/open_folder.h"

namespace pm {

class ReadAhead {
 public:
  struct File {
    const OpenFolder* folder = nullptr;  // nullptr: there is no such file; it reads as empty
    std::string name;
  };
  struct Read {
    std::string bytes;  // empty when the file is missing or cannot be read
    std::string error;  // a message naming the file when it exists but cannot be read
  };

  // Starts reading `files`, at most `depth` files beyond the last release(). The folders must outlive
  // this object.
  explicit ReadAhead(std::vector<File> files, size_t depth = 64);
  ~ReadAhead();
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The next file in the order given, once it has been read. It stays valid until
  // release(), which must come at least once every `depth` calls. Must not be called more
  // often than there are files.
  const Read& next();
  // Done with every file handed out so far: their room may be filled again.
  void release();

 private:
  void run();

  std::vector<File> files_;
  std::vector<Read> slots_;  // file i lives in slot i % depth
  std::mutex mutex_;
  std::condition_variable ready_, freed_;
  size_t produced_ = 0;  // files read so far
  size_t handed_ = 0;    // files handed out by next()
  size_t released_ = 0;  // files handed out and done with: their slots may be reused
  bool stop_ = false;
  std::thread worker_;
};

}  // namespace pm

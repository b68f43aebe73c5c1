// Noticing that a book's files changed, for the live preview: the system's notices where
// there are (inotify on Linux), else a look at the files' stamps every so often.
#pragma once

#include <chrono>
#include <memory>

#include "base/files.h"

namespace pm {

class BookWatcher {
 public:
  virtual ~BookWatcher() = default;
  // Waits up to `limit` for a change in the book's folder, its Room folder or its res
  // folder; true when there was one (the changes that came meanwhile count as one).
  virtual bool wait(std::chrono::milliseconds limit) = 0;
};

// The system's watcher for `book`, or the polling one where there is none (or it cannot
// watch, such as when the system's limit of watches is reached).
std::unique_ptr<BookWatcher> watch_book(const stdfs::path& book);
// Looks at the stamps of the book's files every `every`.
std::unique_ptr<BookWatcher> poll_book(const stdfs::path& book, std::chrono::milliseconds every);

}  // namespace pm

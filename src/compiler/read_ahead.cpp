// Files read ahead on a second thread (see read_ahead.h).
#include "compiler/read_ahead.h"

#include <algorithm>

namespace pm {

ReadAhead::ReadAhead(std::vector<File> files, size_t depth)
    : files_(std::move(files)), slots_(std::max<size_t>(depth, 1)) {
  if (!files_.empty()) worker_ = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  freed_.notify_one();
  if (worker_.joinable()) worker_.join();
}

void ReadAhead::run() {
  for (size_t i = 0; i < files_.size(); ++i) {
    {
      std::unique_lock lock(mutex_);
      freed_.wait(lock, [&] { return stop_ || i < released_ + slots_.size(); });
      if (stop_) return;
    }
    Read& slot = slots_[i % slots_.size()];
    slot.error.clear();
    const File& file = files_[i];
    if (file.folder)
      file.folder->read(file.name, slot.bytes, &slot.error);
    else
      slot.bytes.clear();
    {
      std::lock_guard lock(mutex_);
      produced_ = i + 1;
    }
    ready_.notify_one();
  }
}

const ReadAhead::Read& ReadAhead::next() {
  std::unique_lock lock(mutex_);
  const size_t index = handed_++;
  ready_.wait(lock, [&] { return produced_ > index; });
  return slots_[index % slots_.size()];
}

void ReadAhead::release() {
  {
    std::lock_guard lock(mutex_);
    released_ = handed_;
  }
  freed_.notify_one();
}

}  // namespace pm

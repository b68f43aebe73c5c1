// Work done on a second thread, a bounded distance ahead of the thread that uses it, and
// handed over in order. The compiles and the map spend about as long opening and reading
// thousands of small files and converting them as on writing the result: on two cores the
// reading and converting of later rooms runs beside the writing of earlier ones. The result
// is exactly what doing the same work in turn on one thread gives.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace pm {

template <typename Item>
class WorkAhead {
 public:
  // Starts calling make(i, item) for i = 0 .. count-1, in order, on a second thread, at
  // most `depth` items beyond the last release(). `item` is reused: make fills it anew.
  // What make uses must outlive this object and be safe to read from both threads.
  WorkAhead(size_t count, std::function<void(size_t, Item&)> make, size_t depth = 128)
      : count_(count), make_(std::move(make)), items_(std::max<size_t>(depth, 2)) {
    if (count_ > 0) worker_ = std::thread([this] { run(); });
  }
  ~WorkAhead() {
    {
      std::lock_guard lock(mutex_);
      stop_ = true;
    }
    freed_.notify_one();
    if (worker_.joinable()) worker_.join();
  }
  WorkAhead(const WorkAhead&) = delete;
  WorkAhead& operator=(const WorkAhead&) = delete;

  // The next item in order, once it is made. It stays valid until release(), which must
  // come at least once every `depth` calls. Must not be called more than `count` times.
  Item& next() {
    const size_t index = handed_++;
    if (index < seen_) return items_[index % items_.size()];
    std::unique_lock lock(mutex_);
    if (produced_ <= index) {
      // Wait for a batch rather than a single item, so that the threads do not take turns
      // waking each other for every item; never for more than the maker has room for.
      wanted_ = std::min({count_, index + 1 + items_.size() / 4, released_ + items_.size()});
      ready_.wait(lock, [&] { return produced_ > index && produced_ >= wanted_; });
      wanted_ = 0;
    }
    seen_ = produced_;
    return items_[index % items_.size()];
  }

  // Done with every item handed out so far: their room may be filled again.
  void release() {
    std::lock_guard lock(mutex_);
    released_ = handed_;
    // The maker, when it waits, waits for half of the room to be free.
    if (maker_waits_ && released_ + items_.size() >= produced_ + items_.size() / 2) {
      maker_waits_ = false;
      freed_.notify_one();
    }
  }

 private:
  void run() {
    const size_t depth = items_.size();
    for (size_t i = 0; i < count_; ++i) {
      {
        std::unique_lock lock(mutex_);
        if (i >= released_ + depth) {
          maker_waits_ = true;
          freed_.wait(lock, [&] { return stop_ || i < released_ + depth; });
          maker_waits_ = false;
        }
        if (stop_) return;
      }
      make_(i, items_[i % depth]);
      std::lock_guard lock(mutex_);
      produced_ = i + 1;
      if (wanted_ != 0 && produced_ >= wanted_) ready_.notify_one();
    }
  }

  const size_t count_;
  std::function<void(size_t, Item&)> make_;
  std::vector<Item> items_;  // item i lives in items_[i % depth]
  size_t handed_ = 0;        // items handed out by next() (the using thread only)
  size_t seen_ = 0;          // items known to be made (the using thread only)
  std::mutex mutex_;
  std::condition_variable ready_, freed_;
  size_t produced_ = 0;  // items made
  size_t released_ = 0;  // items handed out and done with
  size_t wanted_ = 0;    // while the user waits: the count of made items it waits for
  bool maker_waits_ = false;
  bool stop_ = false;
  std::thread worker_;
};

}  // namespace pm

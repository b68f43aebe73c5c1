// Work done on a second thread ahead of the thread that uses it, and handed over in order.
// The compiles and the map spend about as long opening, reading and converting thousands
// of small files as on writing the result: on two cores the rooms ahead are made beside
// the writing of the rooms before them. The user never waits for the other thread to get
// round to an item: an item not begun yet it makes itself, so a busy machine that gives the
// second thread little time slows nothing down. The result is exactly what doing the same
// work in turn on one thread gives.
#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace pm {

template <typename Item>
class WorkAhead {
 public:
  // make(i, item) fills `item` (reused: make fills it anew) with item i, for i = 0 ..
  // count-1; each item is made once, by one of the two threads, at most `depth` items
  // beyond the last release(). What make uses must outlive this object and be safe to
  // read from both threads.
  WorkAhead(size_t count, std::function<void(size_t, Item&)> make, size_t depth = 128)
      : count_(count), make_(std::move(make)), items_(std::max<size_t>(depth, 2)), made_(items_.size()) {
    if (count_ > 1) worker_ = std::thread([this] { run(); });
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

  // The next item in order. It stays valid until release(), which must come at least once
  // every `depth` calls. Must not be called more than `count` times.
  Item& next() {
    const size_t index = handed_++;
    const size_t slot = index % items_.size();
    if (made_[slot].load(std::memory_order_acquire) == index + 1) return items_[slot];
    size_t unclaimed = index;
    if (next_claim_.compare_exchange_strong(unclaimed, index + 1)) {
      make_(index, items_[slot]);  // not begun yet: made here rather than waited for
      return items_[slot];
    }
    // The other thread is making it right now.
    std::unique_lock lock(mutex_);
    user_waits_ = true;
    ready_.wait(lock, [&] { return made_[slot].load(std::memory_order_acquire) == index + 1; });
    user_waits_ = false;
    return items_[slot];
  }

  // Done with every item handed out so far: their room may be filled again.
  void release() {
    std::lock_guard lock(mutex_);
    released_ = handed_;
    // The maker, when it waits for room, waits for half of it, so that the threads do not
    // take turns waking each other for every item.
    if (maker_waits_ && has_room(items_.size() / 2)) freed_.notify_one();
  }

 private:
  // Whether at least `free` slots (one or more) are free for the items not begun yet, or
  // nothing is left to make (the caller holds the mutex).
  bool has_room(size_t free) const {
    const size_t next = next_claim_.load();
    return next >= count_ || released_ + items_.size() >= next + free;
  }

  void run() {
    const size_t depth = items_.size();
    while (true) {
      size_t index = next_claim_.load();
      if (index >= count_) return;
      {
        std::unique_lock lock(mutex_);
        if (stop_) return;
        if (index >= released_ + depth) {
          maker_waits_ = true;
          freed_.wait(lock, [&] { return stop_ || has_room(depth / 2); });
          maker_waits_ = false;
          continue;
        }
      }
      if (!next_claim_.compare_exchange_strong(index, index + 1)) continue;  // the user took it
      make_(index, items_[index % depth]);
      made_[index % depth].store(index + 1, std::memory_order_release);
      std::lock_guard lock(mutex_);
      if (user_waits_) ready_.notify_one();
    }
  }

  const size_t count_;
  std::function<void(size_t, Item&)> make_;
  std::vector<Item> items_;                // item i lives in items_[i % depth]
  std::vector<std::atomic<size_t>> made_;  // i + 1 once item i is made in its slot
  std::atomic<size_t> next_claim_{0};      // the first item neither thread has begun
  size_t handed_ = 0;                      // items handed out by next() (the user's thread only)
  std::mutex mutex_;
  std::condition_variable ready_, freed_;
  size_t released_ = 0;  // items handed out and done with
  bool user_waits_ = false;
  bool maker_waits_ = false;
  bool stop_ = false;
  std::thread worker_;
};

}  // namespace pm

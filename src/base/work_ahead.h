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
    stop_.store(true);
    wake(maker_sleeps_);
    if (worker_.joinable()) worker_.join();
  }
  WorkAhead(const WorkAhead&) = delete;
  WorkAhead& operator=(const WorkAhead&) = delete;

  // The next item in order. It stays valid until release(), which must come at least once
  // every `depth` calls. Must not be called more than `count` times.
  Item& next() {
    const size_t index = handed_++;
    const size_t depth = items_.size();
    // While the item is not made, make the first one neither thread has begun (this one,
    // or, when the other thread is busy with this one, one further on), so that both
    // threads make items whichever of the two is slower at its own part.
    for (int spins = 0; !is_made(index);) {
      size_t claim = next_claim_.load();
      if (claim < count_ && claim < released_.load() + depth) {
        if (next_claim_.compare_exchange_strong(claim, claim + 1)) make(claim);
        continue;
      }
      // Nothing left to begin: the other thread is finishing this one.
      if (spins++ < kUserSpins) {
        std::this_thread::yield();
        continue;
      }
      wait_until(user_sleeps_, [&] { return is_made(index); });
    }
    return items_[index % depth];
  }

  // Done with every item handed out so far: their room may be filled again.
  void release() {
    released_.store(handed_);
    // The maker, when it waits for room, waits for half of it, so that the threads do not
    // take turns waking each other for every item.
    if (maker_sleeps_.load() && has_room(items_.size() / 2)) wake(maker_sleeps_);
  }

 private:
  static constexpr int kUserSpins = 200;

  void make(size_t index) {
    make_(index, items_[index % items_.size()]);
    made_[index % items_.size()].store(index + 1);
  }
  bool is_made(size_t index) const { return made_[index % items_.size()].load() == index + 1; }

  // Whether at least `free` slots (one or more) are free for the items not begun yet, or
  // nothing is left to make.
  bool has_room(size_t free) const {
    const size_t next = next_claim_.load();
    return next >= count_ || released_.load() + items_.size() >= next + free;
  }

  // Waits until done() holds, asleep until the other thread, having made done() true, clears
  // `sleeps` (wake). The hand-over itself takes no lock: the sleeper sets its flag and then
  // looks at done(), the other thread changes done() and then looks at the flag (all
  // sequentially consistent), so at least one of them sees the other's change and no wake-up
  // is lost. The lock and the condition are only for sleeping and waking; the system is
  // called for nothing else. (Not std::atomic::wait: where the system has no futex, the
  // standard library of GCC 12 can miss its notify and sleep for ever.)
  template <typename Done>
  void wait_until(std::atomic<bool>& sleeps, Done done) {
    std::unique_lock lock(sleep_mutex_);
    while (true) {
      sleeps.store(true);
      if (done()) {
        sleeps.store(false);
        return;
      }
      woken_.wait(lock, [&] { return !sleeps.load(); });
    }
  }
  void wake(std::atomic<bool>& sleeps) {
    if (!sleeps.load()) return;
    std::lock_guard lock(sleep_mutex_);
    sleeps.store(false);
    woken_.notify_all();  // the two threads' flags share the condition
  }

  void run() {
    const size_t depth = items_.size();
    while (!stop_.load()) {
      size_t index = next_claim_.load();
      if (index >= count_) return;
      if (index >= released_.load() + depth) {
        wait_until(maker_sleeps_, [&] { return stop_.load() || has_room(depth / 2); });
        continue;
      }
      if (!next_claim_.compare_exchange_strong(index, index + 1)) continue;  // the user took it
      make(index);
      wake(user_sleeps_);
    }
  }

  const size_t count_;
  std::function<void(size_t, Item&)> make_;
  std::vector<Item> items_;                // item i lives in items_[i % depth]
  std::vector<std::atomic<size_t>> made_;  // i + 1 once item i is made in its slot
  std::atomic<size_t> next_claim_{0};      // the first item neither thread has begun
  std::atomic<size_t> released_{0};        // items handed out and done with
  size_t handed_ = 0;                      // items handed out by next() (the user's thread only)
  std::atomic<bool> user_sleeps_{false}, maker_sleeps_{false}, stop_{false};
  std::mutex sleep_mutex_;
  std::condition_variable woken_;
  std::thread worker_;
};

}  // namespace pm

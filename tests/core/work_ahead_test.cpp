// Work made on a second thread ahead of its use: every item, in order, whatever the depth,
// and a user that stops early does not wait for the rest.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>
#include <string>

#include "base/work_ahead.h"

namespace {

TEST(WorkAhead, HandsOverEveryItemInOrderAtAnyDepth) {
  for (size_t depth : {2, 3, 8, 128}) {
    for (size_t count : {0, 1, 2, 7, 500}) {
      // Items are strings that are reused: each must hold exactly what make put there.
      pm::WorkAhead<std::string> ahead(
          count, [](size_t i, std::string& item) { item = "item " + std::to_string(i); }, depth);
      for (size_t i = 0; i < count; i += 2) {
        // Two items held at once before they are released.
        const std::string& first = ahead.next();
        const std::string* second = i + 1 < count ? &ahead.next() : nullptr;
        ASSERT_EQ(first, "item " + std::to_string(i)) << depth << " " << count;
        if (second) {
          ASSERT_EQ(*second, "item " + std::to_string(i + 1)) << depth << " " << count;
        }
        ahead.release();
      }
    }
  }
}

TEST(WorkAhead, EachItemIsMadeOnceWhicheverThreadIsSlower) {
  // The user takes items further on while the other thread makes the one it waits for:
  // with makes of uneven length on either thread, no item is made twice or skipped.
  for (bool slow_user : {false, true}) {
    const size_t count = 3000;
    std::vector<std::atomic<int>> made(count);
    const std::thread::id user = std::this_thread::get_id();
    pm::WorkAhead<size_t> ahead(
        count,
        [&](size_t i, size_t& item) {
          ++made[i];
          if ((std::this_thread::get_id() == user) == slow_user && i % 7 == 0)
            std::this_thread::sleep_for(std::chrono::microseconds(50));
          item = i;
        },
        8);
    for (size_t i = 0; i < count; ++i) {
      ASSERT_EQ(ahead.next(), i);
      ahead.release();
    }
    for (size_t i = 0; i < count; ++i) ASSERT_EQ(made[i].load(), 1) << i;
  }
}

TEST(WorkAhead, AUserThatStopsEarlyEndsTheWork) {
  std::atomic<size_t> made{0};
  {
    pm::WorkAhead<int> ahead(
        100000, [&](size_t i, int& item) {
          item = int(i);
          ++made;
        },
        4);
    EXPECT_EQ(ahead.next(), 0);
    ahead.release();
  }
  EXPECT_LT(made.load(), 100u);
}

}  // namespace

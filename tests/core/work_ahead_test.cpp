// Work made on a second thread ahead of its use: every item, in order, whatever the depth,
// and a user that stops early does not wait for the rest.
#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "compiler/work_ahead.h"

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
        if (second) ASSERT_EQ(*second, "item " + std::to_string(i + 1)) << depth << " " << count;
        ahead.release();
      }
    }
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

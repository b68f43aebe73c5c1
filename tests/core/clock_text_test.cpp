// The date and time texts: day/month/year and a 24-hour time with seconds, zero-padded.
#include "base/clock_text.h"

#include <gtest/gtest.h>

TEST(ClockText, DateAndTimeArePaddedAndCarrySeconds) {
  std::tm when{};
  when.tm_year = 2026 - 1900;
  when.tm_mon = 0;
  when.tm_mday = 5;
  when.tm_hour = 7;
  when.tm_min = 3;
  when.tm_sec = 9;
  EXPECT_EQ(pm::short_date_text(when), "05/01/2026");
  EXPECT_EQ(pm::time_text(when), "07:03:09");
  when.tm_hour = 23;
  EXPECT_EQ(pm::time_text(when), "23:03:09");
}

// The date and the time as the tool writes them (see clock_text.h).
#include "base/clock_text.h"

namespace pm {

namespace {

std::string format(const std::tm& when, const char* pattern) {
  char buf[32];
  const size_t n = std::strftime(buf, sizeof buf, pattern, &when);
  return std::string(buf, n);
}

std::tm local_now() { return local_time(std::time(nullptr)); }

}  // namespace

std::tm local_time(std::time_t t) {
  std::tm tm{};
#if defined(_WIN32)
  localtime_s(&tm, &t);
#else
  localtime_r(&t, &tm);
#endif
  return tm;
}

std::string short_date_text(const std::tm& when) { return format(when, "%d/%m/%Y"); }
std::string time_text(const std::tm& when) { return format(when, "%H:%M:%S"); }

std::string today_short_date() { return short_date_text(local_now()); }
std::string now_time_text() { return time_text(local_now()); }

}  // namespace pm

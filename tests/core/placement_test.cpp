// The one placement rule of the child windows, as a table: stored values, defaults,
// minimum sizes, the raised top and the two centrings; and the find window moved off the
// text it found.
#include <gtest/gtest.h>

#include <optional>

#include "base/placement.h"

namespace {

using pm::Centring;
using pm::PlacementRule;
using pm::WindowRect;

constexpr auto none = std::nullopt;

pm::Placement stored(std::optional<long> top, std::optional<long> left, std::optional<long> width,
                     std::optional<long> height) {
  return pm::Placement{{top, left, width, height}};
}

TEST(PlacementTest, OneRuleForEveryWindow) {
  const PlacementRule manager{6000, 5000, true, Centring::Quarter};
  const PlacementRule third{6000, 5000, true, Centring::Third};
  const PlacementRule dialog{4000, 3000, false, Centring::Quarter};
  struct Case {
    const char* what;
    pm::Placement stored;
    PlacementRule rule;
    WindowRect expected;
  } cases[] = {
      {"all stored", stored(900, 300, 8000, 7000), manager, {300, 900, 8000, 7000}},
      {"top raised to 400", stored(100, 300, 8000, 7000), manager, {300, 400, 8000, 7000}},
      {"negative top raised", stored(-50, -20, 8000, 7000), manager, {-20, 400, 8000, 7000}},
      {"small sizes count as missing", stored(900, 300, 1499, 1000), manager, {300, 900, 6000, 5000}},
      {"1500 is kept", stored(900, 300, 1500, 1500), manager, {300, 900, 1500, 1500}},
      {"missing sizes: defaults", stored(900, 300, none, none), manager, {300, 900, 6000, 5000}},
      // No stored left or top: centred with the design size, then the stored size applied.
      {"no file: centred, default", stored(none, none, none, none), manager, {2000, 2500, 6000, 5000}},
      {"no left: centred, stored size", stored(900, none, 8000, 9000), manager, {2000, 2500, 8000, 9000}},
      {"no top: centred", stored(none, 300, 8000, 9000), manager, {2000, 2500, 8000, 9000}},
      {"centred at a third", stored(none, none, none, none), third, {2000, 3333, 6000, 5000}},
      // A dialog ignores the file: its own size, centred.
      {"dialog", stored(900, 300, 8000, 7000), dialog, {3000, 3000, 4000, 3000}},
      {"dialog at a third", stored(none, none, none, none), {4000, 3000, false, Centring::Third},
       {3000, 4000, 4000, 3000}},
  };
  for (const auto& c : cases) {
    WindowRect r = pm::place_window(c.stored, c.rule, 10000, 15000);
    EXPECT_EQ(r, c.expected) << c.what << ": " << r.left << "," << r.top << " " << r.width << "x" << r.height;
  }
  // A client area smaller than the window: centred at 0, not above or left of it.
  EXPECT_EQ(pm::place_window(stored(none, none, none, none), manager, 3000, 2000), (WindowRect{0, 0, 6000, 5000}));
}

TEST(PlacementTest, ClearOfTheFoundText) {
  // A 400 x 200 window in an 1000 x 800 client area; the found text is 60 x 20.
  struct Case {
    const char* what;
    WindowRect window;
    WindowRect target;
    WindowRect expected;
  } cases[] = {
      {"beside it: stays", {300, 0, 400, 200}, {100, 50, 60, 20}, {300, 0, 400, 200}},
      {"just below it: stays", {300, 70, 400, 200}, {300, 50, 60, 20}, {300, 70, 400, 200}},
      {"covering, no room above: below", {300, 0, 400, 200}, {320, 50, 60, 20}, {300, 70, 400, 200}},
      {"covering, room above: above", {300, 400, 400, 200}, {320, 500, 60, 20}, {300, 300, 400, 200}},
      {"exactly room above", {300, 150, 400, 200}, {320, 200, 60, 20}, {300, 0, 400, 200}},
      {"no room either side, more above", {300, 300, 400, 700}, {320, 500, 60, 20}, {300, 0, 400, 700}},
      {"no room either side, more below", {300, 0, 400, 700}, {320, 200, 60, 20}, {300, 100, 400, 700}},
      {"kept inside across", {800, 0, 400, 200}, {900, 50, 60, 20}, {600, 70, 400, 200}},
  };
  for (const auto& c : cases) {
    const WindowRect r = pm::place_clear_of(c.window, c.target, 1000, 800);
    EXPECT_EQ(r, c.expected) << c.what << ": " << r.left << "," << r.top << " " << r.width << "x" << r.height;
  }
}

}  // namespace

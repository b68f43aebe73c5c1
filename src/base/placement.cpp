// The placement rule of the child windows (see placement.h).
#include "base/placement.h"

#include <algorithm>

namespace pm {

namespace {

long size_or_default(std::optional<long> stored, long fallback) {
  return stored && *stored >= kMinimumWindowSize ? *stored : fallback;
}

}  // namespace

WindowRect place_window(const Placement& stored, const PlacementRule& rule, long client_width, long client_height) {
  // The position comes first, centred with the window's design size; a remembered size
  // is applied after it, as the windows have always done.
  const long free = std::max(0L, client_height - rule.default_height);
  WindowRect r{std::max(0L, (client_width - rule.default_width) / 2),
               rule.centring == Centring::Third ? free / 3 : free / 4, rule.default_width, rule.default_height};
  if (!rule.remembers) return r;
  if (stored.left() && stored.top()) {
    r.left = *stored.left();
    r.top = std::max(*stored.top(), kMinimumWindowTop);
  }
  r.width = size_or_default(stored.width(), rule.default_width);
  r.height = size_or_default(stored.height(), rule.default_height);
  return r;
}

}  // namespace pm

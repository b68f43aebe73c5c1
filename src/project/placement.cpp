// The placement rule of the child windows (see placement.h).
#include "project/placement.h"

#include <algorithm>

namespace pm {

namespace {

long size_or_default(std::optional<long> stored, long fallback) {
  return stored && *stored >= kMinimumWindowSize ? *stored : fallback;
}

}  // namespace

WindowRect place_window(const Placement& stored, const PlacementRule& rule, long client_width, long client_height) {
  WindowRect r{0, 0, rule.default_width, rule.default_height};
  if (rule.remembers) {
    r.width = size_or_default(stored.width(), rule.default_width);
    r.height = size_or_default(stored.height(), rule.default_height);
    if (stored.left() && stored.top()) {
      r.left = *stored.left();
      r.top = std::max(*stored.top(), kMinimumWindowTop);
      return r;
    }
  }
  // Centred with the size the window takes, not its default: a remembered size that
  // differs would otherwise put it off centre.
  const long free = std::max(0L, client_height - r.height);
  r.left = std::max(0L, (client_width - r.width) / 2);
  r.top = rule.centring == Centring::Third ? free / 3 : free / 4;
  return r;
}

}  // namespace pm

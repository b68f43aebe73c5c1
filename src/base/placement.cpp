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

WindowRect place_clear_of(const WindowRect& window, const WindowRect& target, long client_width, long client_height) {
  const bool covers = window.left < target.left + target.width && target.left < window.left + window.width &&
                      window.top < target.top + target.height && target.top < window.top + window.height;
  if (!covers) return window;
  WindowRect r = window;
  r.left = std::max(0L, std::min(window.left, client_width - window.width));
  const long above = target.top - window.height;       // its top, just above the target
  const long below = target.top + target.height;       // its top, just below the target
  const long roomBelow = client_height - below;
  if (above >= 0)
    r.top = above;
  else if (roomBelow >= window.height)
    r.top = below;
  else if (target.top >= roomBelow)
    r.top = 0;
  else
    r.top = std::max(0L, client_height - window.height);
  return r;
}

}  // namespace pm

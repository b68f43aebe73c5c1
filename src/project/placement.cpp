// The placement rule of the tool's windows (see placement.h).
#include "project/placement.h"

#include <algorithm>

namespace pm {

TwipsRect place_window(const PlacementRule& rule, const Placement& stored, long client_width, long client_height) {
  // The position comes first, centred with the window's design size; the stored size is
  // applied after it.
  TwipsRect r{std::max(0L, (client_width - rule.width) / 2),
              std::max(0L, (client_height - rule.height) / (rule.centring == Centring::Third ? 3 : 4)),
              rule.width, rule.height};
  if (!rule.remembers) return r;
  if (stored.left() && stored.top()) {
    r.left = *stored.left();
    r.top = std::max(*stored.top(), kMinimumStoredTop);
  }
  if (stored.width() && *stored.width() >= kMinimumStoredSize) r.width = *stored.width();
  if (stored.height() && *stored.height() >= kMinimumStoredSize) r.height = *stored.height();
  return r;
}

}  // namespace pm

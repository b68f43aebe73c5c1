// Where a child window goes: the one rule every window of the tool follows. Sizes are in
// twips. A window that remembers its place takes the four values of its placement file
// (a width or height under 1500 twips counts as missing, a top under 400 is raised to
// 400); a window without a stored position, or a dialog of fixed size, is centred across
// the client area with its design size, its top at a third or a quarter of the free height.
#pragma once

#include "project/program_folder.h"

namespace pm {

enum class Centring { Third, Quarter };

struct PlacementRule {
  long width = 0;   // the default (or fixed) size
  long height = 0;
  Centring centring = Centring::Quarter;
  bool remembers = false;  // takes the placement file's values when it has them
};

struct TwipsRect {
  long left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipsRect&) const = default;
};

inline constexpr long kMinimumStoredSize = 1500;
inline constexpr long kMinimumStoredTop = 400;

// The window's rectangle in a client area of `client_width` x `client_height` twips.
TwipsRect place_window(const PlacementRule& rule, const Placement& stored, long client_width, long client_height);

}  // namespace pm

// Where a child window goes inside the main window: the one rule every window follows,
// in twips, from what its placement file holds (see ProgramFolder::read_placement).
#pragma once

#include "base/program_folder.h"

namespace pm {

inline constexpr long kMinimumWindowTop = 400;    // a stored top above this is raised to it
inline constexpr long kMinimumWindowSize = 1500;  // a stored width or height under it counts as missing

// How a window without a stored position is centred: across, with its top at a third or
// at a quarter of the height left free.
enum class Centring { Third, Quarter };

struct PlacementRule {
  long default_width = 0;   // twips
  long default_height = 0;  // twips
  bool remembers = true;    // false for a fixed-size dialog: always the default size, centred
  Centring centring = Centring::Quarter;
};

struct WindowRect {
  long left = 0, top = 0, width = 0, height = 0;  // twips
  bool operator==(const WindowRect&) const = default;
};

// The window's place in a client area of `client_width` x `client_height` twips. A window
// that remembers takes its stored width and height (a missing one, or one under
// kMinimumWindowSize, gives the default) and its stored left and top (the top raised to
// kMinimumWindowTop); without both a stored left and top it is centred with its design
// (default) size, and the stored size is applied after that. Centred: left = (client width - width) / 2 and top = free / 3 or free / 4, where
// free = client height - default height; both are 0 at least.
WindowRect place_window(const Placement& stored, const PlacementRule& rule, long client_width, long client_height);

// Where `window` goes so that it does not cover `target` (a found text), both in a client
// area of `client_width` x `client_height` (any one unit): where it is when it does not
// cover it; otherwise just above the target, or just below it when there is no room above;
// when neither side has room, on the side with more, as close to the target as the client
// area allows. Its left is only moved to keep it inside the client area.
WindowRect place_clear_of(const WindowRect& window, const WindowRect& target, long client_width, long client_height);

}  // namespace pm

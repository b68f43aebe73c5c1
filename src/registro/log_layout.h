// Where Registro's log sits: its size follows the window, in screen pixels.
#pragma once

namespace registro {

struct Size {
  int width = 0;
  int height = 0;
};

// Design measures are in twips; `twips_per_pixel` is the screen's (15 at 96 dots per inch).
int px(int twips, double twips_per_pixel);

// The log's size for a window whose client area is `client`: the width less both side
// margins, the height less everything above and below the log. A dimension that the
// window is too small for keeps its `previous` value.
Size log_size_for(Size client, Size previous, double twips_per_pixel);

// The window's client size at which the log has its design size.
Size design_client_size(double twips_per_pixel);

}  // namespace registro

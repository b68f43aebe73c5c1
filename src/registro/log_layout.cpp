// The resize rule of Registro's log.
#include "log_layout.h"

#include <cmath>

namespace registro {

namespace {
constexpr int kSideMargins = 240;      // twips: 120 on either side
constexpr int kAboveAndBelow = 2760;   // twips: dice panel and result above, save bar below
constexpr Size kDesignLog{6375, 3015};  // twips
}  // namespace

int px(int twips, double twips_per_pixel) {
  return twips_per_pixel > 0 ? int(std::lround(twips / twips_per_pixel)) : twips / 15;
}

Size log_size_for(Size client, Size previous, double tpp) {
  Size size = previous;
  if (client.width - px(kSideMargins, tpp) > 0) size.width = client.width - px(kSideMargins, tpp);
  if (client.height - px(kAboveAndBelow, tpp) > 0) size.height = client.height - px(kAboveAndBelow, tpp);
  return size;
}

Size design_client_size(double tpp) {
  return {px(kDesignLog.width + kSideMargins, tpp), px(kDesignLog.height + kAboveAndBelow, tpp)};
}

}  // namespace registro

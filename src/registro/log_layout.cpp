// The resize rule of Registro's log.
#include "log_layout.h"

namespace registro {

namespace {
constexpr int kSideMargins = px(240);        // 120 twips on either side
constexpr int kAboveAndBelow = px(2760);     // dice panel and result above, save bar below
constexpr Size kDesignLog{px(6375), px(3015)};
}  // namespace

Size log_size_for(Size client, Size previous) {
  Size size = previous;
  if (client.width - kSideMargins > 0) size.width = client.width - kSideMargins;
  if (client.height - kAboveAndBelow > 0) size.height = client.height - kAboveAndBelow;
  return size;
}

Size design_client_size() {
  return {kDesignLog.width + kSideMargins, kDesignLog.height + kAboveAndBelow};
}

}  // namespace registro

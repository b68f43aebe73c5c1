// The version text, from the header the build generates (see version.h).
#include "base/version.h"

#include "base/version_number.h"

namespace pm {

std::string_view version_text() { return PAGIMOND_VERSION_NUMBER; }

}  // namespace pm

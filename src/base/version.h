// The version of the tool as captions, the --version line and a new project's stamp show
// it ("2.00"). The build defines it once (PAGIMOND_VERSION, from CMakeLists.txt).
#pragma once

#include <string_view>

#ifndef PAGIMOND_VERSION
#error "PAGIMOND_VERSION comes from the build"
#endif

namespace pm {

constexpr std::string_view version_text() { return PAGIMOND_VERSION; }

}  // namespace pm

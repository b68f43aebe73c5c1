// The version of the tool as captions, the --version line and a new project's stamp show
// it ("2.00"). The number is set once in CMakeLists.txt and reaches only version.cpp, so a
// new version rebuilds one file.
#pragma once

#include <string_view>

namespace pm {

std::string_view version_text();

}  // namespace pm

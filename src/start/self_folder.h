// The folder that holds the running program file: Start's only input.
#pragma once

#include <filesystem>

namespace start {

// Folder of the running executable, or an empty path when the system cannot tell.
std::filesystem::path self_folder();

}  // namespace start

// The names in a folder, sorted: what tests compare a folder's contents against.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace pmtest {

inline std::vector<std::string> names_in(const std::filesystem::path& dir) {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(dir)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

}  // namespace pmtest

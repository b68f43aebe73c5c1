// replace_every, the naive string replacement the tests build their expected pages and maps
// with: left to right, without rescanning what was written.
#pragma once

#include <string>

namespace pmtest {

inline std::string replace_every(const std::string& s, const std::string& from, const std::string& to) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size())
    out += s.substr(pos, hit - pos) + to;
  return out + s.substr(pos);
}

}  // namespace pmtest

// What the fuzz targets share: an input cut into parts at NUL bytes (a sample file with no
// NUL is one part), a check that stops the run with a message, and a scratch folder in
// memory for the readers that take a file.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// The input cut at NUL bytes into at most `n` parts; missing parts are empty.
inline std::vector<std::string_view> parts(const uint8_t* data, size_t size, size_t n) {
  std::string_view in(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> out;
  while (out.size() + 1 < n) {
    size_t cut = in.find('\0');
    if (cut == std::string_view::npos) break;
    out.push_back(in.substr(0, cut));
    in.remove_prefix(cut + 1);
  }
  out.push_back(in);
  out.resize(n);
  return out;
}

// A property that must hold: when it does not, says which and ends the run as a crash.
inline void check(bool ok, const char* what) {
  if (ok) return;
  std::fprintf(stderr, "property broken: %s\n", what);
  std::abort();
}

inline void remove_scratch();

// A folder of this process for files the readers are given, in memory when possible.
inline const std::filesystem::path& scratch() {
  static const std::filesystem::path dir = [] {
    std::filesystem::path base = std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    std::filesystem::path d = base / ("pagimond-fuzz-" + std::to_string(::getpid()));
    std::filesystem::create_directories(d);
    std::atexit(remove_scratch);
    return d;
  }();
  return dir;
}

inline void remove_scratch() {
  std::error_code ec;
  std::filesystem::remove_all(scratch(), ec);
}

}  // namespace fuzz

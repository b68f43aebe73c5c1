// A temporary folder for one test, removed with everything in it when the test ends,
// and small helpers to write and read files there as bytes, and to list what a folder holds.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <string_view>

namespace pmtest {

namespace fs = std::filesystem;

class TempDir {
 public:
  // A new folder of a fresh random name (create_directory fails on one that exists).
  TempDir() {
    std::random_device random;
    for (int tries = 0; tries < 100; ++tries) {
      path_ = fs::temp_directory_path() / ("pagimond-test-" + std::to_string(random()));
      if (fs::create_directory(path_)) return;
    }
    throw fs::filesystem_error("no fresh temporary folder", path_, std::make_error_code(std::errc::file_exists));
  }
  ~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const fs::path& path() const { return path_; }
  fs::path operator/(const std::string& rel) const { return path_ / rel; }

 private:
  fs::path path_;
};

inline void write_bytes(const fs::path& p, std::string_view bytes) {
  fs::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary | std::ios::trunc);
  f.write(bytes.data(), std::streamsize(bytes.size()));
}

inline std::string read_bytes(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

// Every entry under `dir` (relative name to bytes, "<dir>" for a folder), to prove that
// nothing changed; nothing when `dir` is missing.
inline std::map<std::string, std::string> snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  if (!fs::exists(dir)) return files;
  for (const auto& e : fs::recursive_directory_iterator(dir))
    files[fs::relative(e.path(), dir).string()] = e.is_directory() ? std::string("<dir>") : read_bytes(e.path());
  return files;
}

}  // namespace pmtest

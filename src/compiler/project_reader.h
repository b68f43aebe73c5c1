// The files of a project folder found by name without regard to case after one scan of the
// folder. The compiles read thousands of room files and scripts, and most rooms have no
// script: a case-blind search for each missing N.js would rescan the folder once per room.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "project/project.h"

namespace pm {

class ProjectReader {
 public:
  explicit ProjectReader(const Project& project);

  // The file named `name` in any case (the exact spelling first), or nothing.
  std::optional<stdfs::path> find(std::string_view name) const;

  // Reads `name` into `out`. A missing file leaves `out` empty and is no error; a file that
  // exists but cannot be read adds a message naming it to `errors`.
  void read(std::string_view name, std::string& out, std::vector<std::string>& errors) const;
  std::string read(std::string_view name, std::vector<std::string>& errors) const;

  // The size in bytes of the file named `name` in any case; 0 when there is none or it
  // cannot be examined. For sizing a document before it is built.
  size_t size(std::string_view name) const;

  // The names of the files the scan found, as spelled on disk.
  const std::unordered_set<std::string>& names() const { return names_; }

 private:
  stdfs::path folder_;
  std::unordered_set<std::string> names_;
  std::unordered_map<std::string, std::string> by_lower_name_;
};

}  // namespace pm

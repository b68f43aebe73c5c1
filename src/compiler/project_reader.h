// The files of a project folder found by name without regard to case after one scan of the
// folder, and read relative to the open folder. The compiles read thousands of room files
// and scripts, and most rooms have no script: a case-blind search for each missing N.js
// would rescan the folder once per room.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "project/open_folder.h"
#include "project/project.h"

namespace pm {

class ProjectReader {
 public:
  explicit ProjectReader(const Project& project);

  // The name on disk of the file `name` in any case (the exact spelling first), or nullptr.
  const std::string* find(std::string_view name) const;

  // Reads `name` into `out`. A missing file leaves `out` empty and is no error; a file that
  // exists but cannot be read adds a message naming it to `errors`. Safe to call from
  // several threads at once.
  void read(std::string_view name, std::string& out, std::vector<std::string>& errors) const;
  std::string read(std::string_view name, std::vector<std::string>& errors) const;

 private:
  OpenFolder folder_;
  std::unordered_set<std::string> names_;
  std::unordered_map<std::string, std::string> by_lower_name_;
};

}  // namespace pm

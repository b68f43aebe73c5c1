// The files of a project folder found by name without regard to case after one scan of the
// folder, and read relative to the open folder. The compiles read thousands of room files
// and scripts, and most rooms have no script: a case-blind search for each missing N.js
// would rescan the folder once per room. Names without letters (the room texts) have only
// one spelling and are opened as they are: a reader that only asks for those (the map)
// never scans the folder.
#pragma once

#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "base/open_folder.h"
#include "project/project.h"

namespace pm {

class ProjectReader {
 public:
  explicit ProjectReader(const Project& project);
  // With the names of the folder's files already listed (OpenFolder::file_names), so that
  // they are not listed again.
  ProjectReader(const Project& project, std::vector<std::string> names);

  // The spelling of `name` to open: the one on disk in any case (the exact one first), the
  // name itself when it has no letters, or nothing when no file has that name.
  std::optional<std::string_view> spelling(std::string_view name) const;

  // Reads `name` into `out`. A missing file leaves `out` empty and is no error; a file that
  // exists but cannot be read adds a message naming it to `errors`. Safe to call from
  // several threads at once.
  void read(std::string_view name, std::string& out, std::vector<std::string>& errors) const;
  std::string read(std::string_view name, std::vector<std::string>& errors) const;

  // The project folder's files whose names have letters (all but the room texts), in
  // directory order: what the compiles copy (*.css, *.js) is among them.
  const std::vector<std::string>& names_with_letters() const;

  // The file named `name` in any case (the exact spelling first), or nothing. Lists the
  // whole folder once, for the book check; the compiles and the map need not.
  std::optional<stdfs::path> find(std::string_view name) const;

  // The names of all the project folder's files, as spelled on disk (listed once, on the
  // first call).
  const std::unordered_set<std::string>& names() const;

 private:
  // The folder's file names, listed once, on the first call, for every question.
  const std::vector<std::string>& listing() const;
  void scan() const;  // once, on the first question that needs it

  OpenFolder folder_;
  mutable std::once_flag listed_;
  bool given_ = false;  // listing_ came with the constructor
  mutable std::vector<std::string> listing_;
  mutable std::once_flag scanned_;
  mutable std::vector<std::string> with_letters_;
  mutable std::unordered_set<std::string> names_;
  mutable std::unordered_map<std::string, std::string> by_lower_name_;
  mutable std::once_flag all_named_;
  mutable std::unordered_set<std::string> all_names_;
};

}  // namespace pm

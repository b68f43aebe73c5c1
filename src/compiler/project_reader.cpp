// Project files read by case-blind name after one folder scan (see project_reader.h).
#include "compiler/project_reader.h"

#include "project/text.h"

namespace pm {

ProjectReader::ProjectReader(const Project& project) : folder_(project.folder()) {
  for (auto& name : list_file_names(folder_)) {
    by_lower_name_.emplace(to_lower_ascii(name), name);
    names_.insert(std::move(name));
  }
}

std::optional<stdfs::path> ProjectReader::find(std::string_view name) const {
  std::string key(name);
  if (names_.count(key)) return folder_ / path_from_text(key);
  auto it = by_lower_name_.find(to_lower_ascii(name));
  if (it == by_lower_name_.end()) return std::nullopt;
  return folder_ / path_from_text(it->second);
}

void ProjectReader::read(std::string_view name, std::string& out, std::vector<std::string>& errors) const {
  out.clear();
  auto path = find(name);
  if (!path) return;
  if (!read_file(*path, out)) errors.push_back("Impossibile leggere il file " + path_text(*path));
}

std::string ProjectReader::read(std::string_view name, std::vector<std::string>& errors) const {
  std::string out;
  read(name, out, errors);
  return out;
}

size_t ProjectReader::size(std::string_view name) const {
  auto path = find(name);
  if (!path) return 0;
  std::error_code ec;
  const auto bytes = stdfs::file_size(*path, ec);
  return ec ? 0 : size_t(bytes);
}

}  // namespace pm

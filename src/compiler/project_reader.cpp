// Project files read by case-blind name after one folder scan (see project_reader.h).
#include "compiler/project_reader.h"

#include "project/text.h"

namespace pm {

ProjectReader::ProjectReader(const Project& project) : folder_(project.folder()) {
  for (auto& name : folder_.file_names()) {
    by_lower_name_.emplace(to_lower_ascii(name), name);
    names_.insert(std::move(name));
  }
}

const std::string* ProjectReader::find(std::string_view name) const {
  if (auto it = names_.find(std::string(name)); it != names_.end()) return &*it;
  auto it = by_lower_name_.find(to_lower_ascii(name));
  return it == by_lower_name_.end() ? nullptr : &it->second;
}

void ProjectReader::read(std::string_view name, std::string& out, std::vector<std::string>& errors) const {
  out.clear();
  const std::string* on_disk = find(name);
  if (!on_disk) return;
  std::string error;
  if (folder_.read(*on_disk, out, &error) == ReadResult::Failed) errors.push_back(std::move(error));
}

std::string ProjectReader::read(std::string_view name, std::vector<std::string>& errors) const {
  std::string out;
  read(name, out, errors);
  return out;
}

ReadAhead::File ProjectReader::ahead(std::string_view name) const {
  const std::string* on_disk = find(name);
  if (!on_disk) return {};
  return {&folder_, *on_disk};
}

}  // namespace pm

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
  // One lookup settles the usual cases: no file of that name in any case (most rooms have
  // no script), or a single spelling of it.
  auto any_case = by_lower_name_.find(to_lower_ascii(name));
  if (any_case == by_lower_name_.end()) return nullptr;
  if (any_case->second == name) return &any_case->second;
  auto exact = names_.find(std::string(name));
  return exact != names_.end() ? &*exact : &any_case->second;
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

}  // namespace pm

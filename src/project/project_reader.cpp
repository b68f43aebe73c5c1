// Project files read by case-blind name after one folder scan (see project_reader.h).
#include "project/project_reader.h"

#include "base/text.h"

namespace pm {

ProjectReader::ProjectReader(const Project& project) : folder_(project.folder()) {}

ProjectReader::ProjectReader(const Project& project, std::vector<std::string> names)
    : folder_(project.folder()), given_(true), listing_(std::move(names)) {}

const std::vector<std::string>& ProjectReader::listing() const {
  std::call_once(listed_, [this] {
    if (!given_) listing_ = folder_.file_names();
  });
  return listing_;
}

void ProjectReader::scan() const {
  for (const auto& name : listing()) {
    if (!has_ascii_letters(name)) continue;
    by_lower_name_.emplace(to_lower_ascii(name), name);
    names_.insert(name);
    with_letters_.push_back(name);
  }
}

const std::vector<std::string>& ProjectReader::names_with_letters() const {
  std::call_once(scanned_, [this] { scan(); });
  return with_letters_;
}

std::optional<std::string_view> ProjectReader::spelling(std::string_view name) const {
  if (!has_ascii_letters(name)) return name;
  std::call_once(scanned_, [this] { scan(); });
  // One lookup settles the usual cases: no file of that name in any case (most rooms have
  // no script), or a single spelling of it.
  auto any_case = by_lower_name_.find(to_lower_ascii(name));
  if (any_case == by_lower_name_.end()) return std::nullopt;
  if (any_case->second == name) return any_case->second;
  auto exact = names_.find(std::string(name));
  return exact != names_.end() ? *exact : any_case->second;
}

const std::unordered_set<std::string>& ProjectReader::names() const {
  std::call_once(all_named_, [this] {
    const auto& listed = listing();
    all_names_.insert(listed.begin(), listed.end());
  });
  return all_names_;
}

std::optional<stdfs::path> ProjectReader::find(std::string_view name) const {
  const auto& all = names();
  if (all.count(std::string(name))) return folder_.path() / path_from_text(name);
  // A name without letters has no other spelling.
  if (!has_ascii_letters(name)) return std::nullopt;
  const auto on_disk = spelling(name);
  if (!on_disk) return std::nullopt;
  return folder_.path() / path_from_text(*on_disk);
}

void ProjectReader::read(std::string_view name, std::string& out, std::vector<std::string>& errors) const {
  out.clear();
  const auto on_disk = spelling(name);
  if (!on_disk) return;
  Status read = folder_.read(*on_disk, out);
  if (read.kind() != StatusKind::ReadFailed) return;
  // A name without letters is opened without looking at the scan: what is not a file
  // (a folder of that name) is missing, as for the names the scan answers.
  if (!has_ascii_letters(name)) {
    std::error_code ec;
    const auto status = stdfs::status(folder_.path() / path_from_text(*on_disk), ec);
    if (!ec && stdfs::exists(status) && !stdfs::is_regular_file(status)) return;
  }
  errors.push_back(read.message());
}

std::string ProjectReader::read(std::string_view name, std::vector<std::string>& errors) const {
  std::string out;
  read(name, out, errors);
  return out;
}

}  // namespace pm

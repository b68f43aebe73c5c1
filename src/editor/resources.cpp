// Resource patterns, listing, tags and upload (see resources.h).
#include "editor/resources.h"

#include <algorithm>

#include "base/text.h"

namespace pm {

std::string_view resource_patterns(ResourceMode mode) {
  return mode == ResourceMode::Sounds ? kSoundPatterns : kImagePatterns;
}

std::vector<std::string> list_matching_files(const stdfs::path& folder, std::string_view patterns) {
  std::vector<std::string> names;
  for (auto& name : list_file_names(folder))
    if (matches_any_pattern(name, patterns)) names.push_back(std::move(name));
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = to_lower_ascii(a), lb = to_lower_ascii(b);
    return la != lb ? la < lb : a < b;
  });
  return names;
}

std::string resource_tag(ResourceMode mode, std::string_view name) {
  std::string safe = replace_all(name, "\"", "&quot;");
  if (mode == ResourceMode::Sounds) return "<bgsound src='res\\" + replace_all(safe, "'", "&#39;") + "' loop='-1'>";
  return "<img src=\"res\\" + safe + "\">";
}

std::string replace_resource_question(std::string_view name) {
  return "Sostituire " + std::string(name) +
         "?\n\nNella cartella res del progetto c'è già un file con questo nome: le Stanze che lo usano "
         "mostreranno quello nuovo.";
}

Status upload_files(const stdfs::path& from, const std::vector<std::string>& names, const stdfs::path& res,
                    Prompts& prompts) {
  std::string failed;
  for (const auto& name : names) {
    const stdfs::path source = from / name, present = resolve(res, name);
    if (is_file(present)) {
      std::error_code ec;
      if (stdfs::equivalent(source, present, ec)) continue;  // chosen from res itself
      if (!prompts.ask_yes_no(replace_resource_question(name), std::string(kUploadTitle))) continue;
    }
    if (copy_file_into(source, res).ok()) continue;
    failed += (failed.empty() ? "" : ", ") + name;
  }
  if (failed.empty()) return {};
  return {StatusKind::WriteFailed, "Impossibile copiare nella cartella " + path_text(res) + ": " + failed};
}

}  // namespace pm

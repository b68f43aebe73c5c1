// pagimond-cli's import of a story into a new project and export of a project in another
// form: the export is one branch per form, each calling its own function.
#include <string>

#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "cli/cli_support.h"
#include "exchange/story_export.h"
#include "exchange/story_import.h"
#include "exchange/twee.h"

namespace pm::cli {

int run_import(const Request& r) {
  auto home = program_folder(r);
  if (!home) return kExitFailed;
  const auto parent_folder = project_parent(r, *home);
  if (!parent_folder) return kExitFailed;
  const stdfs::path& parent = parent_folder->folder;
  const ImportResult made = import_story_file(absolute_path(r.file), parent, home->home());
  if (!made.status.ok()) {
    undo_project_parent(*parent_folder);
    if (made.status.kind() == StatusKind::NameExists)
      report_error(with_path(made.status.message(), path_text(resolve(parent, made.name))));
    else
      report_error(made.status.message());
    return kExitFailed;
  }
  for (const auto& line : made.report) report_error(line);
  const Status written = write_stdout_bytes(path_text(made.folder) + "\n");
  if (!written.ok()) report_error("cannot write to standard output: " + written.message());
  return written.ok() ? kExitOk : kExitFailed;
}

int run_export(const Request& r) {
  if (r.format == "twee") return run_export_twee(r);
  return run_export_paper(r);
}

int run_export_twee(const Request& r) {
  StoryFormat format;
  if (!r.story_format.empty()) {
    auto chosen = parse_story_format(r.story_format);
    if (!chosen) {
      report_error("--story-format must be NAME@VERSION, such as Harlowe@3.3.9: " + r.story_format);
      return kExitUsage;
    }
    format = *chosen;
  }
  auto project = open_project(r.project);
  if (!project) return kExitFailed;
  Result<std::string> ifid = project_ifid(*project);
  if (!ifid.ok()) {
    report_error(ifid.status().message());
    return kExitFailed;
  }
  const TweeExport ex = story_of_project(*project, *ifid, format);
  const std::string twee = write_twee(ex.story);
  const Status written = r.out ? write_file_atomic(absolute_path(*r.out), twee) : write_stdout_bytes(twee);
  if (!written.ok()) {
    report_error(r.out ? written.message() : "cannot write to standard output: " + written.message());
    return kExitFailed;
  }
  for (const auto& line : ex.not_carried) report_error("not carried: " + line);
  return kExitOk;
}

}  // namespace pm::cli

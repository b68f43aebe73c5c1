// What the commands of pagimond-cli share: a path from the command line made absolute, the
// project it names opened (or a message), the program folder (or a message), the folder a
// new project goes in.
#pragma once

#include <optional>
#include <string>

#include "base/files.h"
#include "base/program_folder.h"
#include "cli/cli_commands.h"
#include "project/project.h"

namespace pm::cli {

stdfs::path absolute_path(const std::string& p);
// Why the folder `arg` could not be opened as a project (open_project_folder's kinds).
void report_not_a_project(StatusKind kind, const std::string& arg);
// The project named on the command line, or a message and nothing.
std::optional<Project> open_project(const std::string& arg);
// The program folder, which must exist, or a message and nothing.
std::optional<ProgramFolder> program_folder(const Request& r);

// The folder a new project goes in: --in, or the program folder's Projects, made when missing
// as the start page expects it (`made`: then a project that cannot be made removes it again).
struct ProjectParent {
  stdfs::path folder;
  bool made = false;
};
// That folder, or a message and nothing when it is no folder.
std::optional<ProjectParent> project_parent(const Request& r, const ProgramFolder& home);
// Removes the Projects folder `project_parent` made, after a project could not be made.
void undo_project_parent(const ProjectParent& parent);

}  // namespace pm::cli

// Creating a project (folder, project file, style sheets, global.cod, room 0), the check
// that tells whether a folder is a project and gives its name, and opening a named folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/clock_text.h"
#include "base/files.h"
#include "base/status.h"
#include "project/project.h"

namespace pm {

inline constexpr std::string_view kMakerSite = "https://pagimond.example";
inline constexpr std::string_view kStartRoomDescription = "Luogo di partenza";
inline constexpr std::string_view kMsgNoTitle = "Inserire un titolo";
inline constexpr std::string_view kMsgNameExists = "Questo nome è già presente";

// The project name of a title: every ".htm" removed, each of ! | / ? < > \ * , : and the
// double quote replaced by a blank; nothing else changes. On Windows, whose folders cannot
// end in a blank or a dot (the system drops them, and the project's files would then not
// be found), those are dropped from the end too.
std::string clean_project_name(std::string_view title);


struct CreationResult {
  Status status;
  stdfs::path folder;  // the new project folder
  std::string name;    // the project name (set from NameExists on)
};

// Creates the project `title` inside `parent`. `home` is the program folder (its *.css are
// copied). Fails as NoTitle (kMsgNoTitle), BadName, NameExists (kMsgNameExists; `name` is
// the name taken) or WriteFailed (a message naming what could not be written or copied);
// a failed creation leaves no half-made project behind.
CreationResult create_project(const stdfs::path& parent, std::string_view title, const stdfs::path& home,
                              const std::string& date = today_short_date());

struct ProjectRef {
  stdfs::path folder;
  std::string name;  // the first *.dat of the folder in name order, without ".dat"
};
// The folder is a project when its first *.dat (in name order) and Room/0 can be read.
std::optional<ProjectRef> check_project_folder(const stdfs::path& folder);
// The same with the names of the folder's files already listed (list_file_names).
std::optional<ProjectRef> check_project_folder(const stdfs::path& folder, const std::vector<std::string>& names);

// A project folder named by the author, opened: the project and the names of the folder's
// files (listed once, for the check and for the compiles). Fails as NotFound (no such
// folder) or NotAProject (check_project_folder), with a message naming the folder.
struct OpenedProject {
  Status status;
  std::optional<Project> project;
  std::vector<std::string> names;
};
OpenedProject open_project_folder(const stdfs::path& folder);

}  // namespace pm

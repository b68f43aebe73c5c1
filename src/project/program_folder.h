// The program folder: where it is (the program's own folder, or --home / PAGIMOND_HOME)
// and the small files kept there: Last.ini, the window placement files and Res.ini.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "project/files.h"
#include "project/status.h"

namespace pm {

// Top, left, width and height in twips; a value missing from the file is empty.
struct Placement {
  std::array<std::optional<long>, 4> v;
  std::optional<long> top() const { return v[0]; }
  std::optional<long> left() const { return v[1]; }
  std::optional<long> width() const { return v[2]; }
  std::optional<long> height() const { return v[3]; }
};

inline constexpr std::string_view kMsgHomeNeedsFolder = "--home needs a folder: --home DIR";

// Where a program's folder is: a failure (Usage, kMsgHomeNeedsFolder) leaves `folder` empty.
struct HomeChoice {
  Status status;
  stdfs::path folder;
};

// The program folder a command line asks for: the last `--home DIR` or `--home=DIR` among
// `args` (UTF-8, without the program's name; other arguments are left to their owner),
// else `env_home` (PAGIMOND_HOME) when not empty, else `own_folder`. The folder is made
// absolute. `--home` with no folder after it, or an empty one, is a Usage failure.
HomeChoice choose_home(const std::vector<std::string>& args, const char* env_home, const stdfs::path& own_folder);

// Tells whether a path (as the bytes of a file name) names an existing folder.
using FolderCheck = std::function<bool(const std::string&)>;

// The path of the project opened last, from the contents of Last.ini: its first line as
// written when `is_folder` says it is a folder (the path is written bare, and a folder
// name may hold a comma, quotes or end with a blank); else, when the line starts with a
// quote, its first quoted field (a path someone put in quotes); else the line as written.
// Nothing when the first line is blank.
std::optional<std::string> last_project_path(std::string_view last_ini, const FolderCheck& is_folder);

class ProgramFolder {
 public:
  explicit ProgramFolder(stdfs::path home) : home_(std::move(home)) {}

  // --home DIR first, then PAGIMOND_HOME, then the folder of the running program.
  static ProgramFolder locate(const std::optional<std::string>& home_option, const char* argv0);

  const stdfs::path& home() const { return home_; }
  stdfs::path projects() const { return resolve(home_, "Projects"); }
  stdfs::path output() const { return resolve(home_, "Output"); }
  stdfs::path file(std::string_view name) const { return resolve(home_, name); }

  // Last.ini read by last_project_path; nothing when the file is missing. The windows pass
  // their own folder check (their path conversion); without one the core's is_folder is used.
  std::optional<std::string> read_last_project(const FolderCheck& is_folder) const;
  std::optional<std::string> read_last_project() const;

  // The writes below fail as WriteFailed with a message naming the file, and leave the old
  // file whole.
  Status write_last_project(const std::string& folder) const;

  // Manager.ini, Editor.ini, Editor2.ini, Mappa.ini.
  Placement read_placement(std::string_view file_name) const;
  Status write_placement(std::string_view file_name, long top, long left, long width, long height) const;

  // Res.ini: the drive and folder last shown by the resource upload browser.
  std::array<std::string, 2> read_res_ini() const;
  Status write_res_ini(const std::string& drive, const std::string& folder) const;

 private:
  stdfs::path home_;
};

// The folder of the running program file as the operating system tells it, or an empty
// path when the system cannot tell.
stdfs::path own_program_folder();
// The same, falling back to the folder of argv0, then to the working folder.
stdfs::path program_file_folder(const char* argv0);

}  // namespace pm

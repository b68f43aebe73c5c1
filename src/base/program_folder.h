// The program folder: where it is (--home / PAGIMOND_HOME, else the installed one, or a
// per-user copy of it when that is read-only) and the small files kept there: Last.ini,
// the window placement files and Res.ini.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/status.h"

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

// The program folder a command line names: a failure (Usage, kMsgHomeNeedsFolder) names none.
struct HomeChoice {
  Status status;
  std::optional<stdfs::path> named;
};

// The program folder a command line asks for: the last `--home DIR` or `--home=DIR` among
// `args` (UTF-8, without the program's name; other arguments are left to their owner),
// else `env_home` (PAGIMOND_HOME) when not empty; nothing when neither names one (then
// choose_program_folder decides). The folder is made absolute. `--home` with no folder
// after it, or an empty one, is a Usage failure.
HomeChoice choose_home(const std::vector<std::string>& args, const char* env_home);

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

  const stdfs::path& home() const { return home_; }
  stdfs::path projects() const { return resolve(home_, "Projects"); }
  stdfs::path output() const { return resolve(home_, "Output"); }
  stdfs::path file(std::string_view name) const { return resolve(home_, name); }

  // Last.ini read by last_project_path, the folder named as the project file names folders
  // (path_from_text); nothing when the file is missing.
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

// The folder named for this run by an already parsed --home value: it first, then
// PAGIMOND_HOME; nothing when neither is given (an empty one counts as not given).
std::optional<stdfs::path> named_program_folder(const std::optional<std::string>& home_option);

// The program folder that comes with the program: the installed one, `../share/pagimond`
// beside the program's bin folder, when it is there; else the program's own folder (a
// build tree, a copy on a USB stick).
stdfs::path installed_program_folder(const char* argv0);

// Where the per-user program folder goes: $XDG_DATA_HOME/Pagimond, else
// ~/.local/share/Pagimond (%LOCALAPPDATA%\Pagimond on Windows). Empty when the
// environment names no such place.
stdfs::path per_user_folder_location();

struct ProgramFolderChoice {
  stdfs::path folder;
  std::string warning;  // why the per-user folder could not be used, when it could not
};

// The folder a run works in, once --home and PAGIMOND_HOME have been looked at: `named`
// as it is; else the installed program folder when it is writable; else the per-user
// folder, made on first start as a copy of the installed one. Each program's main calls
// this once.
ProgramFolderChoice choose_program_folder(const std::optional<stdfs::path>& named, const char* argv0);

// The per-user folder `user` for a read-only `installed` one: an existing `user` is used
// as it is; a missing one is made as a copy of `installed` (made aside and moved into
// place whole, and writable whatever the installed modes). `installed` with a warning
// when `user` cannot be made.
ProgramFolderChoice per_user_program_folder(const stdfs::path& installed, const stdfs::path& user);

// The folder of the running program file as the operating system tells it, or an empty
// path when the system cannot tell.
stdfs::path own_program_folder();
// The same, falling back to the folder of argv0, then to the working folder.
stdfs::path program_file_folder(const char* argv0);

}  // namespace pm

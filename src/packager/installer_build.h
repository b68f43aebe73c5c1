// The installer build, the compile dialog's first option, as one call the dialog makes and
// whose result it shows: the classic compile with the Extra files (distribution.h), the
// installer script Zell.iss filled from Hg.iss, Distribuisci emptied of the files of the
// previous build, the portable package written there, and the command that starts the
// installer compiler Setup/Compil32.exe on Zell.iss (natively on Windows, through Wine
// elsewhere). present_installer_build() then does what follows through the Platform and
// Prompts seams: start the compiler, "Premi Ok per continuare", show Distribuisci; or, when
// the compiler cannot run, the message that says why. The dialog makes the two calls:
//   present_installer_build(run_installer_build(home, project, rooms, find_installer_compiler(home)),
//                           platform, prompts);
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/program_folder.h"
#include "project/project.h"

namespace pm {

class Platform;
class Prompts;

inline constexpr std::string_view kInstallerCompiler = "Setup/Compil32.exe";
inline constexpr std::string_view kMsgPressOk = "Premi Ok per continuare";

// A program to start and its arguments, one string each (no shell parses them).
struct ProgramLaunch {
  std::string program;
  std::vector<std::string> args;
  // The same as one command line, the program and every path in double quotes.
  std::string command_line() const;
};

// Whether the installer compiler can be started, and how.
struct InstallerCompiler {
  enum class State { Ready, Missing, NoWine } state = State::Missing;
  stdfs::path compiler;  // Setup/Compil32.exe of the program folder, found in any case
  ProgramLaunch launch;  // Ready: Compil32.exe /cc Zell.iss, or wine Compil32.exe /cc Zell.iss
};

// Looks for the compiler in the program folder and, when `windows` is false, for `wine`
// in the folders of `path_env` (a PATH value, folders separated by ':').
InstallerCompiler find_installer_compiler(const ProgramFolder& home, bool windows, std::string_view path_env);
// The same for the running system and its PATH.
InstallerCompiler find_installer_compiler(const ProgramFolder& home);
// Why the installer cannot be made with `compiler` (the compile dialog's first option is
// then disabled and this is its tooltip); empty when the compiler is Ready.
std::string installer_unavailable_reason(const InstallerCompiler& compiler);

struct InstallerBuild {
  enum class Outcome {
    Ready,            // everything prepared: start `launch`, then "Premi Ok per continuare"
    CompilerMissing,  // prepared, but there is no Setup/Compil32.exe
    NoWine,           // prepared, but this system has no wine to run the compiler with
    Failed,           // a step failed (see errors); the compiler must not be started
  } outcome = Outcome::Failed;
  std::vector<std::string> errors;  // Failed: what could not be read or written
  std::vector<std::string> warnings;  // what failed without stopping the build (the package)
  ProgramLaunch launch;             // Ready: the command to start
  stdfs::path compiler;             // where the installer compiler is expected
  stdfs::path distribute;           // the Distribuisci folder, to show afterwards
  stdfs::path package;              // the portable package, written there unless package_made is false
  bool package_made = false;
  bool skip_start_page = false;     // the project's start-page flag, as the compile read it
};

// Runs the build for `project` (rooms in room-list order) in program folder `home`. It
// stops at the first step that fails: a failed compile leaves Distribuisci as it was. The
// portable package is a step of its own: when it cannot be written (or this build has no
// zip support) that is a warning and the installer is still made.
InstallerBuild run_installer_build(const ProgramFolder& home, const Project& project,
                                   const std::vector<std::string>& rooms, const InstallerCompiler& compiler);

// What the dialog says when the outcome is not Ready: why no installer was made and, when
// the compiler was the only thing missing, where the portable package is. Empty for Ready.
std::string installer_build_message(const InstallerBuild& build);
// The warnings of the build as one message ("Il pacchetto portatile non è stato creato: ..."),
// or empty.
std::string installer_build_warning(const InstallerBuild& build);

// Shows the outcome, after the warning when there is one. Ready: start the compiler (not waited for), "Premi Ok per continuare",
// which the author confirms once the compiler has finished, then Distribuisci in the file
// manager. CompilerMissing, NoWine: the message, then Distribuisci, which holds the
// package. Failed: the message only. When the file manager cannot be started, one more
// message names the folder.
void present_installer_build(const InstallerBuild& build, Platform& platform, Prompts& prompts);

}  // namespace pm

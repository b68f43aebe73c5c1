// The one way a compile runs: a request (which project and rooms, which form and style, into
// which folder) goes in, a result (a Status and the report) comes out; the command line and
// the windows only fill the request and show the result. Also the compiles the room
// editor's compile timer hosts (told apart by the project manager's flags CompilaTutto and
// CompilaTutto2) and what follows each of them: the page or folder to show, whether the room
// is saved first, whether the host editor then closes without writing its file, and which
// flag is emptied.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"
#include "base/status.h"
#include "compiler/site_compiler.h"
#include "compiler/site_update.h"

namespace pm {

class Platform;
class Prompts;

enum class CompileForm {
  Site,        // one page per room and the start page
  SingleFile,  // the whole book in index.htm
};

struct CompileRequest {
  // The project: open already (the windows), or named by `folder`, which is then checked
  // and opened (the command line).
  std::optional<Project> project;
  stdfs::path folder;
  // The rooms in room-list order (the project manager's list); when not given, they are
  // listed from the Room folder on a second thread while the project is checked and the
  // output folder prepared.
  std::optional<std::vector<std::string>> rooms;
  // Never touched when it holds the project. The site is written over what it holds (the
  // rest goes); the single file into it emptied first.
  stdfs::path output;
  CompileForm form = CompileForm::Site;
  PageStyle style = PageStyle::Mobile;  // the style of the site's pages
  // The site only: whether the compile keeps its state in `output` and makes only what
  // changed since (see site_update.h). A book for readers keeps none.
  OutputState state = OutputState::Drop;
  // When set: every file of this folder is copied beside the pages after a compile without
  // errors (the distribution's Extra files); after a failed one no file of it is copied.
  stdfs::path extra;
  // The rooms whose texts were just saved (the editor's save, for the live preview), with
  // `project` open and the state reused: only their pages are made when the kept state
  // answers for the rest; else the whole compile runs.
  std::vector<std::string> saved_rooms;
};

struct CompileResult {
  // Ok; NotFound or NotAProject: `folder` is no project, nothing was compiled; WouldDestroy:
  // the output folder holds the project, nothing was emptied or written; Incomplete: the
  // compile wrote what it could and report.errors names what failed. The message is the one
  // the windows show.
  Status status;
  CompileReport report;
  std::optional<Project> project;  // the project compiled, once found
  bool skip_start_page = false;    // the project's start-page flag, read as the compile began
};

// Compiles of one process run one at a time (the tool's live preview and its own tests
// share Output).
CompileResult run_compile(const CompileRequest& request);

// The message shown when a compile could not do everything (empty when it did).
std::string compile_failure_message(const CompileReport& report);

// What a window shows after a compile besides its message.
struct CompileFollowUp {
  enum class Show {
    Nothing,
    Page,    // `target` opened in the browser, when the compile wrote it
    Folder,  // `target` shown in the file manager
  } show = Show::Nothing;
  stdfs::path target;
};

// Shows the outcome of a compile through the seams: the result's message when it is not
// ok, then the page or the folder. When the desktop cannot open them (no browser, no file
// manager) one more message says so and names the file or folder to open by hand.
void present_compile(const CompileResult& result, const CompileFollowUp& then, Platform& platform, Prompts& prompts);

// ---- the compiles the room editor hosts ----------------------------------------------------

enum class HostedCompile {
  RoomTest,               // both flags empty: F7 or "Testa il progetto da qui..."
  ProjectTest,            // CompilaTutto "1": F8
  BuildWithoutInstaller,  // CompilaTutto2 "1": the compile dialog's second option
};

HostedCompile hosted_compile_from_flags(std::string_view compila_tutto, std::string_view compila_tutto2);

// The project manager's flag that a compile empties once it has run.
enum class CompileFlag { None, CompilaTutto, CompilaTutto2 };

struct CompilePlan {
  HostedCompile request = HostedCompile::RoomTest;
  PageStyle style = PageStyle::Mobile;
  bool save_room_first = false;            // the room test writes the edited text first
  CompileFollowUp then;                    // Output/index.htm or Output/N.htm opened, or Output shown
  bool close_host_without_saving = false;  // the editor that hosted the compile
  CompileFlag clears = CompileFlag::None;
};

CompilePlan plan_compile(HostedCompile request, const stdfs::path& output, std::string_view room);

}  // namespace pm

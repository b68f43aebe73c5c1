// The compiles that run in the room editor's compile timer: which request is served
// (told apart by the project manager's flags CompilaTutto and CompilaTutto2) and what
// follows it: the page or folder to show, whether the room is saved first, whether the
// host editor then closes without writing its file, and which flag is emptied.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compiler/page_renderer.h"
#include "base/files.h"

namespace pm {

struct CompileReport;

enum class CompileRequest {
  RoomTest,               // both flags empty: F7 or "Testa il progetto da qui..."
  ProjectTest,            // CompilaTutto "1": F8
  BuildWithoutInstaller,  // CompilaTutto2 "1": the compile dialog's second option
};

CompileRequest compile_request_from_flags(std::string_view compila_tutto, std::string_view compila_tutto2);

// The project manager's flag that a compile empties once it has run.
enum class CompileFlag { None, CompilaTutto, CompilaTutto2 };

struct CompilePlan {
  CompileRequest request = CompileRequest::RoomTest;
  PageStyle style = PageStyle::Mobile;
  bool save_room_first = false;            // the room test writes the edited text first
  bool show_folder = false;                // show `target` in the file manager, else open it
  stdfs::path target;                      // Output/index.htm, Output/N.htm or Output
  bool close_host_without_saving = false;  // the editor that hosted the compile
  CompileFlag clears = CompileFlag::None;
};

CompilePlan plan_compile(CompileRequest request, const stdfs::path& output, std::string_view room);

// The message shown when a compile could not do everything (empty when it did).
std::string compile_failure_message(const CompileReport& report);


}  // namespace pm

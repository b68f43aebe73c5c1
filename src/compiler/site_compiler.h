// The whole-project compile into the program folder's Output: copy res, style sheets and
// scripts, write every room page in room-list order and the start page (site_update.h says
// how they meet the old Output); and the steps the single-file compile shares.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "compiler/page_renderer.h"
#include "project/project_reader.h"
#include "base/folder_emptying.h"
#include "project/project.h"

namespace pm {

// The product's page and the maker's three sites, shown in the credit line. The labels are
// ASCII (an accent as an HTML entity) since a page has the encoding of the author's text.
inline constexpr std::string_view kProductSite = "https://pagimond.example";
inline constexpr std::string_view kProductLabel = "Pagimond";
struct CreditLink {
  std::string_view address;
  std::string_view label;
};
inline constexpr CreditLink kMakerSites[] = {
    {"https://pagimond.example/libri", "Libri game"},
    {"https://pagimond.example/guida", "Guida"},
    {"https://pagimond.example/comunita", "Comunit&agrave;"},
};

struct CompileReport {
  std::vector<std::string> errors;  // messages naming what could not be read or written
  size_t pages = 0;                 // room pages written
  size_t kept = 0;                  // room pages left as they were (an incremental compile)
  size_t changes = 0;               // files of the output folder written or removed
  bool ok() const { return errors.empty(); }
};

// The start page index.htm: the title page, or a jump to 0.htm when field 10 is 1. The
// credit line is written in the classic style only.
std::string render_start_page(const ProjectFields& fields, PageStyle style);

// The credit line: "Creato con " + a link to the product's page, " <br> " and three links
// to the maker's sites separated by three blanks. Links use single-quoted attributes and
// addresses without ".htm", so the single-file rewrite leaves them working.
std::string credit_line();

// Compiles `project` into `output` (normally ProgramFolder::output()). `rooms` are the room
// numbers in room-list order. Every step is attempted and failures are collected, except
// that the compile stops at the first page it cannot write (a full disk), after that one
// message and before the start page. The project
// file, Global.cod and Global2.cod are read once for the whole compile. Nothing is touched
// when `output` is the project folder or holds it, or lies inside the project's res folder.
// Every file is written and no state is kept (OutputState::Drop).
// (run_compile, compile_request.h, with the report only.)
CompileReport compile_project(const Project& project, const std::vector<std::string>& rooms,
                              const stdfs::path& output, PageStyle style);

// Why a compile leaves `output` alone: emptying it would destroy the project it holds.
std::string output_holds_project_message(const stdfs::path& output);

// Steps shared by both compiles: empty `output` (sub-folders included), create output/res,
// copy the project's res folder, *.css and *.js (as `files` found them). The old contents
// of `output` are removed on a second thread (FolderEmptying) while the compile writes:
// pass the result to finish_output when done. Nothing (with a message, nothing touched)
// when emptying `output` would destroy project files.
std::unique_ptr<FolderEmptying> prepare_output(const Project& project, const ProjectReader& files,
                                               const stdfs::path& output, CompileReport& report);
// Waits for the old contents of the output folder to be gone; adds what could not go.
void finish_output(FolderEmptying& emptying, CompileReport& report);

}  // namespace pm

// The whole-project compile written over the old Output instead of into an emptied one:
// every file the compile makes is written over its old copy, and whatever else Output
// holds goes, so the end is the same folder an emptied Output gives. With the state of the
// last compile (site_state.h) only the files whose inputs changed are made again.
#pragma once

#include <string>
#include <vector>

#include "compiler/page_renderer.h"
#include "compiler/site_compiler.h"
#include "project/project_reader.h"

namespace pm {

enum class OutputState {
  Drop,     // every file written, no state kept (a book handed to readers)
  Rebuild,  // every file written, the state kept for the next compile
  Reuse,    // only what changed since the kept state (all of it when the state does not fit)
};

// Brings `output` to what the compile of `rooms` (room-list order) gives. report.pages
// counts the pages written, report.kept the pages left as they were. A page that cannot be
// written stops the compile with one message, and takes the start page and the pages not
// yet written with it; no state is then kept.
void update_site(const Project& project, const ProjectReader& reader, const std::vector<std::string>& rooms,
                 const stdfs::path& output, PageStyle style, OutputState state, CompileReport& report);

// After a save of the texts of `saved` rooms: their pages made again and written, nothing
// else looked at, when the state kept in `output` answers for the rest (the pages of those
// rooms among it). False, with nothing written or reported, when it does not: the whole
// compile is then to run. The next whole compile still finds anything else that changed
// meanwhile.
bool update_saved_rooms(const Project& project, const ProjectReader& reader, const std::vector<std::string>& saved,
                        const stdfs::path& output, PageStyle style, CompileReport& report);

}  // namespace pm

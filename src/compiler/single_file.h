// The single-file compile: the whole book in Output/index.htm, every room a section behind
// an anchor, links rewritten into jumps to the anchors.
#pragma once

#include <string>
#include <vector>

#include "compiler/site_compiler.h"

namespace pm {

// The document as written to index.htm (the buffer after the rewrites, plus CR LF).
// `rooms` are room numbers in room-list order. Files that exist but cannot be read are
// named in `errors` when given.
std::string render_single_file(const Project& project, const std::vector<std::string>& rooms,
                               std::vector<std::string>* errors = nullptr);

// The document's rewrites (a room link, "N.htm" between quotes or after "url=", becomes the
// jump "#N"; CR LF becomes "<br>"; every other byte stays), appended to `out` in one pass.
void rewrite_single_file_piece(std::string_view raw, std::string& out);

// Prepares `output` like the whole-project compile and writes output/index.htm (run_compile,
// compile_request.h, with the report only).
CompileReport compile_single_file(const Project& project, const std::vector<std::string>& rooms,
                                  const stdfs::path& output);
// The rest of the single-file compile, for run_compile, which prepares the output folder
// itself (prepare_output, with `reader` made for `project`): writes output/index.htm and
// waits for the emptying (finish_output).
void write_single_file(const Project& project, const ProjectReader& reader, const std::vector<std::string>& rooms,
                       const stdfs::path& output, FolderEmptying& emptying, CompileReport& report);

}  // namespace pm

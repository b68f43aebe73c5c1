// The single-file compile: the whole book in Output/index.htm, every room a section behind
// an anchor, links rewritten into jumps to the anchors.
#pragma once

#include <string>
#include <vector>

#include "compiler/site_compiler.h"

namespace pm {

// The document as written to index.htm (the buffer after the three rewrites, plus CR LF).
std::string render_single_file(const Project& project, const std::vector<std::string>& rooms);

// Prepares `output` like the whole-project compile and writes output/index.htm.
CompileReport compile_single_file(const Project& project, const std::vector<std::string>& rooms,
                                  const stdfs::path& output);

}  // namespace pm

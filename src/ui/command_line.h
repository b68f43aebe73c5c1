// The program folder a windowed program works in, from its command line: --home DIR or
// PAGIMOND_HOME when given, else the installed folder or its per-user copy. Used by the
// tool's and Registro's main().
#pragma once

#include <optional>

#include "base/files.h"

namespace pm {

// Reads QApplication's arguments. A wrong command line or a folder that does not exist is
// reported on standard error under `program` and gives nothing; a per-user folder that
// could not be made is reported and the installed one is used.
std::optional<stdfs::path> programFolderFromCommandLine(const char* program, const char* argv0);

}  // namespace pm

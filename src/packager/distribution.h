// What the compile dialog's installer build and `pagimond-cli package` share: the book
// compiled in the classic style into Output with the Extra files beside it (Help.txt,
// ReadMe.txt and the Start launcher), and the portable package of that folder,
// Distribuisci/<project folder name>.zip, which a reader on any system unzips to open
// index.htm.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compiler/compile_request.h"
#include "base/program_folder.h"

namespace pm {

inline constexpr std::string_view kExtraFolder = "Extra";
inline constexpr std::string_view kDistributeFolder = "Distribuisci";

inline stdfs::path distribute_folder(const ProgramFolder& home) { return home.file(kDistributeFolder); }

// Distribuisci/<project folder name>.zip.
stdfs::path portable_package_path(const ProgramFolder& home, const Project& project);

// `request` (which names the project, and the rooms where they are known) made the
// distribution's compile: the whole book in the classic style into the program folder's
// Output, then every file of Extra copied beside the pages. Extra is not copied after a
// compile that failed in any part: no package is made of a broken book.
CompileRequest for_distribution(const ProgramFolder& home, CompileRequest request);

// Packs the whole Output folder into the portable package, under a top folder named after
// the project, creating Distribuisci when missing. Only the package itself is replaced,
// and only once it is complete. WriteFailed, with a message, when it cannot be written.
Status write_portable_package(const ProgramFolder& home, const Project& project);

}  // namespace pm

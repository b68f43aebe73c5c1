// The editor's recovery files: while a file of the book has unsaved changes the editor
// writes its text every few seconds beside the history (Versioni/Recupero/<name>.rec,
// atomically); a clean close removes it. One left behind means the tool ended without
// closing the editor, and the next opening of the book offers it back.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/files.h"

namespace pm {

struct Recovery {
  std::string name;  // the edited file's name in the book ("3", "Global.cod")
  std::string text;  // the editor's text (UTF-8, lines separated by "\n")
  long long time = 0;
  stdfs::path file;
};

struct Recoveries {
  std::vector<Recovery> found;
  std::vector<std::string> damaged;  // a message for each recovery file that was skipped
};

// WriteFailed, with a message naming the file, when it could not be written.
Status write_recovery(const stdfs::path& book, std::string_view name, std::string_view text);
// True when there was none or it is gone.
bool remove_recovery(const stdfs::path& book, std::string_view name);
Recoveries find_recoveries(const stdfs::path& book);

}  // namespace pm

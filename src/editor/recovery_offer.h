// What the tool does with a recovery file the editor left behind (recovery_files.h): the
// question it asks, showing the differences from the file as saved, and the two answers.
// Either answer removes the recovery file, and neither loses a text: one saves the
// recovered text (what it replaces going into the history), the other keeps the recovered
// text in the history as a version that was not saved.
#pragma once

#include <string>

#include "project/recovery_files.h"

namespace pm {

// "Il testo della Stanza 3 non è stato salvato ..." with up to `max_lines` lines of
// differences (line_differences) from the saved file.
std::string recovery_question(const stdfs::path& book, const Recovery& recovery, size_t max_lines = 30);

Status accept_recovery(const stdfs::path& book, const Recovery& recovery);
Status decline_recovery(const stdfs::path& book, const Recovery& recovery);

}  // namespace pm

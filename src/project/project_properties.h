// The project's properties as the properties window edits them: the seven texts and the
// skip-start-page flag read from the project file, and the rules of saving them back
// (an empty width is "100%", a double quote is stored as two apostrophes, fields 8 and 9
// are written empty, and a project file that could not be read is never written over).
#pragma once

#include <array>
#include <string>

#include "project/project.h"
#include "base/status.h"

namespace pm {

// What the window shows: fields 1 to 7 as texts (bytes as in the file) and field 10.
struct PropertiesForm {
  std::array<std::string, 7> text;
  bool skip_start_page = false;
  bool operator==(const PropertiesForm&) const = default;
};

struct PropertiesLoad {
  // Ok, also for a missing project file (read as empty fields); ReadFailed when the file
  // is there but cannot be read: the form is then empty.
  Status status;
  PropertiesForm form;
};

PropertiesLoad load_properties(const Project& project);

// Writes `form` as the ten-field project line. A width that is empty (or only blanks)
// becomes "100%". Nothing is written when the load failed (`loaded` not ok): the file that
// could not be read keeps whatever it holds, and the result is ReadFailed with a message
// saying the changes were not saved. A failed write is WriteFailed and leaves the old file.
Status save_properties(const Project& project, const PropertiesLoad& loaded, const PropertiesForm& form);

}  // namespace pm

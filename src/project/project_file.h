// The project file <name>.dat: one line of comma-separated fields, texts in double quotes,
// numbers bare.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/text.h"  // read_data_field

namespace pm {

// The ten fields, index 0 = field 1 (folder name) ... index 9 = field 10 (skip start page).
struct ProjectFields {
  std::array<std::string, 10> f;

  const std::string& name() const { return f[0]; }
  const std::string& title() const { return f[1]; }
  const std::string& date() const { return f[2]; }
  const std::string& author() const { return f[3]; }
  const std::string& site() const { return f[4]; }
  const std::string& email() const { return f[5]; }
  const std::string& width() const { return f[6]; }
  // Field 10 as a number: "1" means the compiled book skips its start page.
  bool skip_start_page() const;
};

// Reads the fields of one project-file line; a missing field is empty.
ProjectFields parse_project_line(std::string_view data);

// Nine fields as project creation writes them, all quoted.
std::string format_creation_line(const ProjectFields& fields);
// Ten fields as the properties window writes them: 1-7 quoted, 8 and 9 empty, 10 bare 0/1.
std::string format_properties_line(const ProjectFields& fields);

}  // namespace pm

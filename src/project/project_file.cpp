// The project file and comma-separated data fields (see project_file.h).
#include "project/project_file.h"

#include "base/text.h"

namespace pm {

bool ProjectFields::skip_start_page() const {
  std::string_view v = trim_blanks(f[9]);
  // A bare number: any value that reads as 1 (also 1.0) means skip.
  size_t i = 0;
  if (i < v.size() && (v[i] == '+')) ++i;
  while (i < v.size() && v[i] == '0') ++i;
  if (i >= v.size() || v[i] != '1') return false;
  ++i;
  if (i < v.size() && v[i] == '.') {
    ++i;
    while (i < v.size() && v[i] == '0') ++i;
  }
  return i == v.size();
}

ProjectFields parse_project_line(std::string_view data) {
  ProjectFields out;
  size_t pos = 0;
  for (auto& field : out.f) {
    if (pos >= data.size() || data[pos] == '\r' || data[pos] == '\n') break;  // line end
    field = read_data_field(data, pos);
  }
  return out;
}

static std::string quoted(std::string_view v) {
  // The format has no escape for a double quote: keep the line readable by writing
  // two apostrophes instead, as creation does for the title.
  return "\"" + replace_all(v, "\"", "''") + "\"";
}

std::string format_creation_line(const ProjectFields& fields) {
  std::string line;
  for (size_t i = 0; i < 9; ++i) {
    if (i) line += ',';
    line += quoted(fields.f[i]);
  }
  return line + std::string(kCrLf);
}

std::string format_properties_line(const ProjectFields& fields) {
  std::string line;
  for (size_t i = 0; i < 7; ++i) {
    line += quoted(fields.f[i]);
    line += ',';
  }
  line += ",,";
  line += fields.skip_start_page() ? "1" : "0";
  return line + std::string(kCrLf);
}

}  // namespace pm

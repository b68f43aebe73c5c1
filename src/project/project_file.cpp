// The project file and comma-separated data fields (see project_file.h).
#include "project/project_file.h"

#include "project/text.h"

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

static bool at_line_end(std::string_view d, size_t p) {
  return p >= d.size() || d[p] == '\r' || d[p] == '\n';
}

std::string read_data_field(std::string_view d, size_t& pos, bool* quoted) {
  while (!at_line_end(d, pos) && (d[pos] == ' ' || d[pos] == '\t')) ++pos;
  std::string field;
  if (!at_line_end(d, pos) && d[pos] == '"') {
    if (quoted) *quoted = true;
    size_t close = d.find('"', pos + 1);
    size_t stop = close;
    // A quote left open runs to the end of the line.
    if (close == std::string_view::npos) {
      stop = pos + 1;
      while (!at_line_end(d, stop)) ++stop;
    } else {
      size_t eol = pos + 1;
      while (eol < close && !at_line_end(d, eol)) ++eol;
      if (eol < close) stop = eol;
    }
    field.assign(d.substr(pos + 1, stop - pos - 1));
    pos = (stop < d.size() && d[stop] == '"') ? stop + 1 : stop;
    // Skip whatever stands between the closing quote and the next separator.
    while (!at_line_end(d, pos) && d[pos] != ',') ++pos;
  } else {
    if (quoted) *quoted = false;
    size_t start = pos;
    while (!at_line_end(d, pos) && d[pos] != ',') ++pos;
    field.assign(trim_blanks(d.substr(start, pos - start)));
  }
  if (!at_line_end(d, pos) && d[pos] == ',') ++pos;
  return field;
}

ProjectFields parse_project_line(std::string_view data) {
  ProjectFields out;
  size_t pos = 0;
  for (auto& field : out.f) {
    if (at_line_end(data, pos)) break;
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

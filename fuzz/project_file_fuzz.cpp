// The project file <name>.dat and the data fields it is made of: any line is read without
// fault, every field reader moves on, and fields the format can hold survive a write and
// a read.
#include "fuzz_support.h"
#include "project/project_file.h"

namespace {

bool representable(const std::string& field) {
  return field.find_first_of("\"\r\n") == std::string::npos;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  const pm::ProjectFields fields = pm::parse_project_line(line);
  (void)fields.skip_start_page();

  // Every field read ends past where it started, or at the end of the line.
  for (size_t pos = 0, guard = 0; pos < line.size() && guard <= line.size(); ++guard) {
    const size_t before = pos;
    bool quoted = false;
    (void)pm::read_data_field(line, pos, &quoted);
    if (pos <= before) break;  // the end of the line: the field reader stops there
  }

  // What the properties window and project creation write read back as the same fields,
  // for fields the format can hold (no double quote, no line end).
  pm::ProjectFields kept = fields;
  bool all = true;
  for (size_t i = 0; i < 9; ++i) all = all && representable(kept.f[i]);
  if (all) {
    kept.f[7].clear();
    kept.f[8].clear();
    kept.f[9] = fields.skip_start_page() ? "1" : "0";
    const pm::ProjectFields back = pm::parse_project_line(pm::format_properties_line(kept));
    fuzz::check(back.f == kept.f, "properties line reads back as its fields");
    pm::ProjectFields created = fields;
    created.f[9].clear();
    fuzz::check(pm::parse_project_line(pm::format_creation_line(created)).f == created.f,
                "creation line reads back as its fields");
  }
  return 0;
}

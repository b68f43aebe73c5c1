// Loading and saving the project's properties (see project_properties.h).
#include "project/project_properties.h"

#include "base/text.h"

namespace pm {

PropertiesLoad load_properties(const Project& project) {
  PropertiesLoad out;
  std::string bytes;
  const Status read = read_file_checked(project.project_file(), bytes);
  if (read.kind() == StatusKind::ReadFailed) {
    out.status = {StatusKind::ReadFailed, read.message() + ".\nLe proprietà non potranno essere salvate."};
    return out;
  }
  const ProjectFields fields = parse_project_line(bytes);
  for (size_t i = 0; i < out.form.text.size(); ++i) out.form.text[i] = fields.f[i];
  out.form.skip_start_page = fields.skip_start_page();
  return out;
}

Status save_properties(const Project& project, const PropertiesLoad& loaded, const PropertiesForm& form) {
  if (!loaded.status.ok())
    return {StatusKind::ReadFailed, "Le proprietà non sono state salvate: il file del progetto " +
                                        path_text(project.project_file()) + " non si può leggere."};
  ProjectFields fields;
  for (size_t i = 0; i < form.text.size(); ++i) fields.f[i] = form.text[i];
  if (trim_blanks(fields.f[6]).empty()) fields.f[6] = "100%";
  fields.f[9] = form.skip_start_page ? "1" : "0";
  return project.write_properties_fields(fields);
}

}  // namespace pm

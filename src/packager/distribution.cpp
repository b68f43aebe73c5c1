// The distribution compile and the portable package (see distribution.h).
#include "packager/distribution.h"

#include <system_error>

#include "packager/zip_archive.h"

namespace pm {

stdfs::path portable_package_path(const ProgramFolder& home, const Project& project) {
  return distribute_folder(home) / (project.folder().filename().string() + ".zip");
}

CompileReport compile_for_distribution(const ProgramFolder& home, const Project& project,
                                       const std::vector<std::string>& rooms) {
  const stdfs::path output = home.output();
  CompileReport report = compile_project(project, rooms, output, PageStyle::Classic);
  if (!report.ok()) return report;
  const stdfs::path extra = home.file(kExtraFolder);
  if (!copy_matching(extra, "*", output))
    report.errors.push_back("Impossibile copiare i file di " + path_text(extra) + " in " + path_text(output));
  return report;
}

Status write_portable_package(const ProgramFolder& home, const Project& project) {
  const stdfs::path output = home.output();
  const stdfs::path package = portable_package_path(home, project);
  std::error_code ec;
  stdfs::create_directories(package.parent_path(), ec);
  if (ec)
    return {StatusKind::WriteFailed,
            "Impossibile creare la cartella " + path_text(package.parent_path()) + ": " + ec.message()};
  return write_zip_archive(package, folder_archive_entries(output, project.folder().filename().string()));
}

}  // namespace pm

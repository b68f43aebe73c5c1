// The distribution compile and the portable package (see distribution.h).
#include "packager/distribution.h"

#include <system_error>

#include "packager/zip_archive.h"

namespace pm {

stdfs::path portable_package_path(const ProgramFolder& home, const Project& project) {
  return distribute_folder(home) / (project.folder().filename().string() + ".zip");
}

CompileRequest for_distribution(const ProgramFolder& home, CompileRequest request) {
  request.output = home.output();
  request.form = CompileForm::Site;
  request.style = PageStyle::Classic;
  request.extra = home.file(kExtraFolder);
  return request;
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

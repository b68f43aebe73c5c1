// The installer script Zell.iss, filled from the template Hg.iss of the program folder with
// the project's names: the words in square brackets of the template are replaced by the
// project's folder name, title, author and site, the program folder and the launcher.
#pragma once

#include <string>
#include <string_view>

#include "project/files.h"
#include "project/project_file.h"

namespace pm {

inline constexpr std::string_view kInstallerTemplate = "Hg.iss";
inline constexpr std::string_view kInstallerScript = "Zell.iss";
// What an empty title or author becomes in the installer.
inline constexpr std::string_view kDefaultBookTitle = "Avventura";
inline constexpr std::string_view kDefaultPublisher = "Pagimond";
// The launcher the installed book starts with, as the installer names it.
inline constexpr std::string_view kLauncherFileName = "Start.exe";

// The values of the template's placeholders.
struct InstallerValues {
  std::string file_title;    // [titolo_file]: the project's folder name
  std::string title;         // [titolo]
  std::string publisher;     // [appub]
  std::string site;          // [sito]
  std::string program_path;  // [app.path]: as the installer compiler sees the program folder
  std::string launcher;      // [navig]
};

// The values for a project: title, author and site fall back to "Avventura", "Pagimond"
// and the product's address when empty; the program folder is spelled by
// installer_path_text().
InstallerValues installer_values(const ProjectFields& fields, const stdfs::path& program_folder);

// The program folder as the installer compiler sees it, without a final separator: the
// path itself on Windows; elsewhere the compiler runs under Wine, whose drive Z: is the
// root of the file system, so /home/ana/Pagimond is Z:\home\ana\Pagimond.
std::string installer_path_text(const stdfs::path& program_folder);

// Fills the template: each line (ending at CR LF, CR or LF) with every placeholder
// replaced, followed by CR LF. Placeholders match with exact case ([TITOLO] stays), and a
// value is inserted as it is: a title that itself reads "[sito]" is not replaced again.
// All other bytes pass through unchanged.
std::string fill_installer_template(std::string_view template_bytes, const InstallerValues& values);

// Reads Hg.iss of the program folder and writes the filled Zell.iss beside it through the
// atomic writer. A missing or unreadable template, or a failed write, gives false and a
// message in `error`; the old Zell.iss is then left as it was.
bool write_installer_script(const stdfs::path& program_folder, const InstallerValues& values,
                            std::string* error = nullptr);

}  // namespace pm

// The installer script Zell.iss, filled from the template Hg.iss of the program folder with
// the project's names: the words in square brackets of the template are replaced by the
// project's folder name, title, author and site, the program folder and the launcher.
#pragma once

#include <string>
#include <string_view>

#include "base/files.h"
#include "project/project_file.h"

namespace pm {

inline constexpr std::string_view kInstallerTemplate = "Hg.iss";
inline constexpr std::string_view kInstallerScript = "Zell.iss";
// What an empty title or author becomes in the installer.
inline constexpr std::string_view kDefaultBookTitle = "Avventura";
inline constexpr std::string_view kDefaultPublisher = "Pagimond";
// The launcher the installed book starts with, as the installer names it.
inline constexpr std::string_view kLauncherFileName = "Start.exe";

// The values of the template's placeholders, in UTF-8.
struct InstallerValues {
  std::string file_title;    // [titolo_file]: the project's name, made a safe file name
  std::string title;         // [titolo]
  std::string publisher;     // [appub]
  std::string site;          // [sito]
  std::string program_path;  // [app.path]: as the installer compiler sees the program folder
  std::string launcher;      // [navig]
};

// The values for a project, each field decoded by its own bytes (UTF-8 or Windows-1252) and
// its character references ("&#337;") made characters: title, author and site fall back to
// "Avventura", "Pagimond" and the product's address when empty; the name is made a safe file
// name (the installer's file is named after it); the program folder is spelled by
// installer_path_text().
InstallerValues installer_values(const ProjectFields& fields, const stdfs::path& program_folder);

// `name` (UTF-8) as Windows takes it for a file name: each character Windows forbids (one of
// < > : " / \ | ? * or a control character) becomes "_", trailing dots and blanks go, a
// reserved device name (CON, PRN, AUX, NUL, COM1-9, LPT1-9, with or without an extension)
// gets "_" after its first part; `fallback` when nothing is left.
std::string safe_file_name(std::string_view name, std::string_view fallback);

// The program folder as the installer compiler sees it, without a final separator: the
// path itself on Windows; elsewhere the compiler runs under Wine, whose drive Z: is the
// root of the file system, so /home/ana/Pagimond is Z:\home\ana\Pagimond.
std::string installer_path_text(const stdfs::path& program_folder);

// Fills the template: a UTF-8 byte-order mark (the installer compiler then reads the script
// as UTF-8), then each line (ending at CR LF, CR or LF), decoded by its own bytes, with every
// placeholder replaced, followed by CR LF. Placeholders match with exact case ([TITOLO]
// stays), and a value is inserted as it is: a title that itself reads "[sito]" is not
// replaced again.
std::string fill_installer_template(std::string_view template_bytes, const InstallerValues& values);

// Reads Hg.iss of the program folder and writes the filled Zell.iss beside it through the
// atomic writer. A missing template (NotFound), an unreadable one (ReadFailed) or a failed
// write (WriteFailed) leaves the old Zell.iss as it was.
Status write_installer_script(const stdfs::path& program_folder, const InstallerValues& values);

}  // namespace pm

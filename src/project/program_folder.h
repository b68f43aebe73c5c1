// The program folder: where it is (the program's own folder, or --home / PAGIMOND_HOME)
// and the small files kept there: Last.ini, the window placement files and Res.ini.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "project/files.h"

namespace pm {

// Top, left, width and height in twips; a value missing from the file is empty.
struct Placement {
  std::array<std::optional<long>, 4> v;
  std::optional<long> top() const { return v[0]; }
  std::optional<long> left() const { return v[1]; }
  std::optional<long> width() const { return v[2]; }
  std::optional<long> height() const { return v[3]; }
};

class ProgramFolder {
 public:
  explicit ProgramFolder(stdfs::path home) : home_(std::move(home)) {}

  // --home DIR first, then PAGIMOND_HOME, then the folder of the running program.
  static ProgramFolder locate(const std::optional<std::string>& home_option, const char* argv0);

  const stdfs::path& home() const { return home_; }
  stdfs::path projects() const { return resolve(home_, "Projects"); }
  stdfs::path output() const { return resolve(home_, "Output"); }
  stdfs::path file(std::string_view name) const { return resolve(home_, name); }

  // Last.ini: the path of the project opened last, the file's first line as written
  // (quotes around it, if any, are dropped).
  std::optional<std::string> read_last_project() const;
  bool write_last_project(const std::string& folder, std::string* error = nullptr) const;

  // Manager.ini, Editor.ini, Editor2.ini, Mappa.ini.
  Placement read_placement(std::string_view file_name) const;
  bool write_placement(std::string_view file_name, long top, long left, long width, long height,
                       std::string* error = nullptr) const;

  // Res.ini: the drive and folder last shown by the resource upload browser.
  std::array<std::string, 2> read_res_ini() const;
  bool write_res_ini(const std::string& drive, const std::string& folder, std::string* error = nullptr) const;

 private:
  stdfs::path home_;
};

// The folder of the running program file as the operating system tells it, or an empty
// path when the system cannot tell.
stdfs::path own_program_folder();
// The same, falling back to the folder of argv0, then to the working folder.
stdfs::path program_file_folder(const char* argv0);

}  // namespace pm

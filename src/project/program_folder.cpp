// The program folder and its small state files (see program_folder.h).
#include "project/program_folder.h"

#include <cstdlib>
#include <vector>

#include "project/project_file.h"
#include "project/text.h"

#if defined(_WIN32)
#include <windows.h>
#elif defined(__APPLE__)
#include <climits>
#include <cstdint>
#include <mach-o/dyld.h>
#endif

namespace pm {

stdfs::path own_program_folder() {
#if defined(_WIN32)
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return stdfs::path(std::wstring(buf.data(), n)).parent_path();
    buf.resize(buf.size() * 2);  // the name was cut short: try a larger buffer
    if (buf.size() > 32768 * 2) return {};
  }
#elif defined(__APPLE__)
  uint32_t size = 0;
  _NSGetExecutablePath(nullptr, &size);
  std::vector<char> buf(size + 1);
  if (_NSGetExecutablePath(buf.data(), &size) != 0) return {};
  char resolved[PATH_MAX];
  if (realpath(buf.data(), resolved) == nullptr) return stdfs::path(buf.data()).parent_path();
  return stdfs::path(resolved).parent_path();
#else
  std::error_code ec;
  stdfs::path exe = stdfs::read_symlink("/proc/self/exe", ec);
  if (ec) return {};
  return exe.parent_path();
#endif
}

stdfs::path program_file_folder(const char* argv0) {
  if (stdfs::path own = own_program_folder(); !own.empty()) return own;
  std::error_code ec;
  if (argv0) return stdfs::absolute(argv0, ec).parent_path();
  return stdfs::current_path(ec);
}

ProgramFolder ProgramFolder::locate(const std::optional<std::string>& home_option, const char* argv0) {
  std::error_code ec;
  if (home_option && !home_option->empty()) return ProgramFolder(stdfs::absolute(*home_option, ec));
  if (const char* env = std::getenv("PAGIMOND_HOME"); env && *env)
    return ProgramFolder(stdfs::absolute(env, ec));
  return ProgramFolder(program_file_folder(argv0));
}

std::optional<std::string> ProgramFolder::read_last_project() const {
  std::string data;
  if (!read_file(file("Last.ini"), data)) return std::nullopt;
  // The path is written bare, so it is read back as the whole first line: a folder name
  // may hold a comma or end with a blank (a cleaned title does), and reading it as a data
  // field would cut or trim it. A path someone put in quotes is read as a quoted field.
  std::string_view line = data;
  line = line.substr(0, line.find_first_of("\r\n"));
  std::string path;
  if (!line.empty() && trim_blanks(line).substr(0, 1) == "\"") {
    size_t pos = 0;
    path = read_data_field(line, pos);
  } else {
    path = std::string(line);
  }
  if (trim_blanks(path).empty()) return std::nullopt;
  return path;
}

bool ProgramFolder::write_last_project(const std::string& folder, std::string* error) const {
  return write_file_atomic(file("Last.ini"), folder + std::string(kCrLf), error);
}

Placement ProgramFolder::read_placement(std::string_view file_name) const {
  Placement p;
  std::string data;
  if (!read_file(file(file_name), data)) return p;
  auto lines = split_line_views(data);
  for (size_t i = 0; i < 4 && i < lines.size(); ++i) {
    std::string_view v = trim_blanks(lines[i]);
    while (!v.empty() && (v.back() == '\t')) v.remove_suffix(1);
    if (v.empty()) continue;
    try {
      size_t used = 0;
      long n = std::stol(std::string(v), &used);
      if (used == v.size()) p.v[i] = n;
    } catch (...) {
    }
  }
  return p;
}

bool ProgramFolder::write_placement(std::string_view file_name, long top, long left, long width, long height,
                                    std::string* error) const {
  std::string out;
  for (long n : {top, left, width, height}) out += std::to_string(n) + std::string(kCrLf);
  return write_file_atomic(file(file_name), out, error);
}

std::array<std::string, 2> ProgramFolder::read_res_ini() const {
  std::array<std::string, 2> out;
  auto lines = split_lines(read_file_or_empty(file("Res.ini")));
  for (size_t i = 0; i < 2 && i < lines.size(); ++i) out[i] = lines[i];
  return out;
}

bool ProgramFolder::write_res_ini(const std::string& drive, const std::string& folder, std::string* error) const {
  return write_file_atomic(file("Res.ini"), drive + std::string(kCrLf) + folder + std::string(kCrLf), error);
}

}  // namespace pm

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

namespace {

stdfs::path absolute_or_as_is(const stdfs::path& p) {
  std::error_code ec;
  stdfs::path a = stdfs::absolute(p, ec);
  return ec ? p : a;
}

// The fallback rule shared by every program: the --home value when there is one, then
// PAGIMOND_HOME when not empty, then the program's own folder.
stdfs::path home_or_fallback(const std::optional<stdfs::path>& home_option, const char* env_home,
                             const stdfs::path& own_folder) {
  if (home_option && !home_option->empty()) return absolute_or_as_is(*home_option);
  if (env_home && *env_home) return absolute_or_as_is(env_home);
  return own_folder;
}

stdfs::path utf8_path(std::string_view name) { return stdfs::path(std::u8string(name.begin(), name.end())); }

Status write_state_file(const stdfs::path& p, const std::string& bytes) {
  std::string error;
  if (!write_file_atomic(p, bytes, &error)) return Status(StatusKind::WriteFailed, error);
  return {};
}

}  // namespace

HomeChoice choose_home(const std::vector<std::string>& args, const char* env_home, const stdfs::path& own_folder) {
  std::optional<stdfs::path> option;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string_view dir;
    if (args[i] == "--home") {
      if (i + 1 < args.size()) dir = args[++i];
    } else if (args[i].rfind("--home=", 0) == 0) {
      dir = std::string_view(args[i]).substr(7);
    } else {
      continue;
    }
    if (dir.empty()) return {Status(StatusKind::Usage, std::string(kMsgHomeNeedsFolder)), {}};
    option = utf8_path(dir);
  }
  return {Status(), home_or_fallback(option, env_home, own_folder)};
}

ProgramFolder ProgramFolder::locate(const std::optional<std::string>& home_option, const char* argv0) {
  std::optional<stdfs::path> option;
  if (home_option) option = stdfs::path(*home_option);
  const char* env = std::getenv("PAGIMOND_HOME");
  // The program's own folder is looked up only when it is the answer.
  if ((option && !option->empty()) || (env && *env)) return ProgramFolder(home_or_fallback(option, env, {}));
  return ProgramFolder(program_file_folder(argv0));
}

std::optional<std::string> last_project_path(std::string_view last_ini, const FolderCheck& is_folder) {
  std::string_view line = last_ini.substr(0, last_ini.find_first_of("\r\n"));
  if (trim_blanks(line).empty()) return std::nullopt;
  std::string path(line);
  if (is_folder && is_folder(path)) return path;
  if (trim_blanks(line).substr(0, 1) == "\"") {
    size_t pos = 0;
    path = read_data_field(line, pos);
  }
  if (trim_blanks(path).empty()) return std::nullopt;
  return path;
}

std::optional<std::string> ProgramFolder::read_last_project(const FolderCheck& is_folder) const {
  std::string data;
  if (!read_file(file("Last.ini"), data)) return std::nullopt;
  return last_project_path(data, is_folder);
}

std::optional<std::string> ProgramFolder::read_last_project() const {
  return read_last_project([](const std::string& p) { return is_folder(stdfs::path(p)); });
}

Status ProgramFolder::write_last_project(const std::string& folder) const {
  return write_state_file(file("Last.ini"), folder + std::string(kCrLf));
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

Status ProgramFolder::write_placement(std::string_view file_name, long top, long left, long width, long height) const {
  std::string out;
  for (long n : {top, left, width, height}) out += std::to_string(n) + std::string(kCrLf);
  return write_state_file(file(file_name), out);
}

std::array<std::string, 2> ProgramFolder::read_res_ini() const {
  std::array<std::string, 2> out;
  auto lines = split_lines(read_file_or_empty(file("Res.ini")));
  for (size_t i = 0; i < 2 && i < lines.size(); ++i) out[i] = lines[i];
  return out;
}

Status ProgramFolder::write_res_ini(const std::string& drive, const std::string& folder) const {
  return write_state_file(file("Res.ini"), drive + std::string(kCrLf) + folder + std::string(kCrLf));
}

}  // namespace pm

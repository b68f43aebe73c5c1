// The program folder and its small state files (see program_folder.h).
#include "base/program_folder.h"

#include <cstdlib>
#include <random>
#include <vector>

#include "base/text.h"

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

// An environment value as a path; nothing when unset or empty. Windows gives it wide.
std::optional<stdfs::path> environment_path(const char* name) {
#if defined(_WIN32)
  std::wstring wide_name(name, name + std::char_traits<char>::length(name));
  const wchar_t* value = ::_wgetenv(wide_name.c_str());
#else
  const char* value = std::getenv(name);
#endif
  if (!value || !*value) return std::nullopt;
  return stdfs::path(value);
}

// Every folder and file below `dir` gets its owner's write permission: a copy of a
// read-only installed tree keeps the modes of its source.
void make_writable(const stdfs::path& dir, std::error_code& ec) {
  stdfs::permissions(dir, stdfs::perms::owner_write, stdfs::perm_options::add, ec);
  for (stdfs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code link_ec;
    if (it->is_symlink(link_ec)) continue;
    stdfs::permissions(it->path(), stdfs::perms::owner_write, stdfs::perm_options::add, ec);
  }
}

std::optional<stdfs::path> absolute_path(const stdfs::path& p) {
  std::error_code ec;
  stdfs::path a = stdfs::absolute(p, ec);
  return ec ? p : a;
}

// The rule every program shares: the --home value when there is one, then PAGIMOND_HOME.
std::optional<stdfs::path> named_folder(const std::optional<stdfs::path>& home_option,
                                        const std::optional<stdfs::path>& env_home) {
  if (home_option && !home_option->empty()) return absolute_path(*home_option);
  if (env_home && !env_home->empty()) return absolute_path(*env_home);
  return std::nullopt;
}

Status write_state_file(const stdfs::path& p, const std::string& bytes) { return write_file_atomic(p, bytes); }

}  // namespace

std::optional<stdfs::path> named_program_folder(const std::optional<std::string>& home_option) {
  std::optional<stdfs::path> option;
  if (home_option) option = path_from_text(*home_option);
  return named_folder(option, environment_path("PAGIMOND_HOME"));
}

HomeChoice choose_home(const std::vector<std::string>& args, const char* env_home) {
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
    if (dir.empty()) return {Status(StatusKind::Usage, std::string(kMsgHomeNeedsFolder)), std::nullopt};
    option = path_from_text(dir);
  }
  std::optional<stdfs::path> env;
  if (env_home && *env_home) env = path_from_text(env_home);
  return {Status(), named_folder(option, env)};
}

stdfs::path installed_program_folder(const char* argv0) {
  stdfs::path own = program_file_folder(argv0);
  stdfs::path installed = (own / PAGIMOND_DATA_FROM_BIN).lexically_normal();
  return is_folder(installed) ? installed : own;
}

stdfs::path per_user_folder_location() {
  if (auto data = environment_path("XDG_DATA_HOME"); data && data->is_absolute()) return *data / "Pagimond";
#if defined(_WIN32)
  if (auto local = environment_path("LOCALAPPDATA")) return *local / "Pagimond";
#endif
  if (auto home = environment_path("HOME")) return *home / ".local" / "share" / "Pagimond";
  return {};
}

ProgramFolderChoice per_user_program_folder(const stdfs::path& installed, const stdfs::path& user) {
  if (user.empty())
    return {installed, "the program folder " + path_text(installed) +
                           " is read-only and no per-user folder can be named (neither XDG_DATA_HOME nor HOME is set)"};
  if (is_folder(user)) return {user, {}};
  // The copy is made under a temporary name and moved into place whole, so a first start
  // that is interrupted never leaves a half-filled folder that later starts would trust.
  std::error_code ec;
  stdfs::create_directories(user.parent_path(), ec);
  ec.clear();
  const std::string aside_name = "." + user.filename().string() + ".new" + std::to_string(std::random_device{}());
  const stdfs::path aside = user.parent_path() / path_from_text(aside_name);
  bool copied = copy_folder_contents(installed, aside);
  if (copied) make_writable(aside, ec);
  if (copied && !ec) stdfs::rename(aside, user, ec);
  if (!copied || ec) {
    std::error_code ignored;
    stdfs::remove_all(aside, ignored);
    if (is_folder(user)) return {user, {}};  // another start made it meanwhile
    return {installed, "cannot make the per-user program folder " + path_text(user) +
                           (ec ? ": " + ec.message() : std::string()) + "; working in the read-only " +
                           path_text(installed)};
  }
  return {user, {}};
}

ProgramFolderChoice choose_program_folder(const std::optional<stdfs::path>& named, const char* argv0) {
  if (named) return {*named, {}};
  stdfs::path installed = installed_program_folder(argv0);
  if (can_write_in(installed)) return {installed, {}};
  return per_user_program_folder(installed, per_user_folder_location());
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

std::optional<std::string> ProgramFolder::read_last_project() const {
  std::string data;
  if (!read_file(file("Last.ini"), data)) return std::nullopt;
  return last_project_path(data, [](const std::string& p) { return is_folder(path_from_text(p)); });
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

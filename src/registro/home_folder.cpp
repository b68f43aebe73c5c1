// Picking Registro's home folder from the command line, the environment or itself.
#include "home_folder.h"

namespace registro {

namespace {
std::filesystem::path utf8_path(const std::string& name) {
  return std::filesystem::path(std::u8string(name.begin(), name.end()));
}
}  // namespace

HomeChoice choose_home(const std::vector<std::string>& args, const char* env_home,
                       const std::filesystem::path& program_folder) {
  HomeChoice choice;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string dir;
    if (args[i] == "--home") {
      if (i + 1 >= args.size() || args[i + 1].empty()) {
        choice.error = "--home needs a folder: --home DIR";
        return choice;
      }
      dir = args[++i];
    } else if (args[i].rfind("--home=", 0) == 0) {
      dir = args[i].substr(7);
      if (dir.empty()) {
        choice.error = "--home needs a folder: --home DIR";
        return choice;
      }
    } else {
      continue;
    }
    choice.folder = utf8_path(dir);
  }
  if (choice.folder.empty()) {
    choice.folder = (env_home && *env_home) ? std::filesystem::path(env_home) : program_folder;
  }
  return choice;
}

}  // namespace registro

// Where Registro keeps Dati.txt: its own folder unless told otherwise.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace registro {

struct HomeChoice {
  std::filesystem::path folder;
  std::string error;  // set when the command line is wrong; `folder` is then empty
};

// `--home DIR` (or `--home=DIR`) on the command line wins, then the PAGIMOND_HOME
// environment value when not empty, then the program's own folder. Other arguments
// are left to the toolkit. `args` are in UTF-8.
HomeChoice choose_home(const std::vector<std::string>& args, const char* env_home,
                       const std::filesystem::path& program_folder);

}  // namespace registro

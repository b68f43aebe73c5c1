// Reads the #include lines of src/ and fails on an include arrow the house does not allow:
// the table below is the whole rule (docs/ARCHITECTURE.md prints it).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace {
namespace fs = std::filesystem;

// The floor a file stands on. Plain C++ (the core, the CLI, Start, Registro's logic), the Qt
// toolkit (src/ui), and windows (*_window, *_dialog, the programs' main.cpp, src/shell).
enum class Floor { Core, Ui, Window };

Floor floor_of(const std::string& folder, const std::string& name) {
  if (folder == "ui") return Floor::Ui;
  if (folder == "shell" || (folder == "registro" && name == "main.cpp")) return Floor::Window;
  if (name.find("_window.") != std::string::npos || name.find("_dialog.") != std::string::npos)
    return Floor::Window;
  return Floor::Core;
}

// Plain C++ of a folder may include the plain C++ of these folders (and its own).
const std::map<std::string, std::set<std::string>> kCoreArrows = {
    {"base", {}},
    {"project", {"base"}},
    {"compiler", {"base", "project", "rooms"}},  // a compile lists the rooms in the room list's order
    {"rooms", {"base", "project"}},
    {"editor", {"base", "project"}},
    {"map", {"base", "project", "rooms"}},
    {"check", {"base", "project", "compiler", "rooms"}},
    {"packager", {"base", "project", "compiler"}},
    {"exchange", {"base", "project", "editor", "check"}},  // links as the editor writes them; roads not carried
    {"paper", {"base", "project", "compiler", "rooms", "check", "packager"}},  // renumbering and export
    {"preview", {"base", "project", "compiler"}},  // the live preview compiles and serves Output
    {"cli", {"base", "project", "compiler", "rooms", "map", "check", "packager", "exchange", "paper", "preview",
             "start"}},  // serve --open hands the address on as Start does
    {"start", {"base"}},
    {"registro", {"base"}},
    {"ui", {"base", "project", "rooms"}},  // the requests between windows name rooms and links
};

// A window may include src/ui, the plain C++ of its own folder and of these folders, and no
// other window; only the top (src/shell) includes windows of other folders.
const std::map<std::string, std::set<std::string>> kWindowArrows = {
    {"project", {"base"}},
    {"packager", {"base", "project", "compiler"}},
    {"rooms", {"base", "project", "editor"}},
    {"editor", {"base", "project", "compiler", "rooms", "preview"}},
    {"map", {"base", "project", "rooms"}},
    {"check", {"base", "project", "compiler", "rooms"}},
    {"exchange", {"base", "project"}},
    {"paper", {"base", "project", "compiler", "rooms", "check", "packager"}},
    {"registro", {"base"}},
    {"shell", {"base", "project", "compiler", "rooms", "editor", "map", "check", "packager", "exchange", "paper",
               "preview"}},
};

struct Arrow {
  std::string file;     // as "folder/name"
  std::string include;  // as written between the quotes
};

// Every include arrow in `src` that the tables do not allow.
std::vector<Arrow> arrows_not_allowed(const fs::path& src) {
  std::vector<Arrow> out;
  static const std::regex include_line(R"(^\s*#\s*include\s+"([a-z_]+)/([^"]+)\")");
  for (const auto& entry : fs::recursive_directory_iterator(src)) {
    if (!entry.is_regular_file()) continue;
    const fs::path rel = fs::relative(entry.path(), src);
    if (std::distance(rel.begin(), rel.end()) != 2) continue;
    const std::string folder = rel.begin()->string();
    const std::string name = rel.filename().string();
    const Floor floor = floor_of(folder, name);
    std::ifstream in(entry.path());
    std::string line;
    std::smatch m;
    while (std::getline(in, line)) {
      if (!std::regex_search(line, m, include_line)) continue;
      const std::string to = m[1], to_name = m[2];
      const Floor to_floor = floor_of(to, to_name);
      bool ok = false;
      if (to == folder) {
        ok = floor == Floor::Window || to_floor != Floor::Window;
      } else if (to_floor == Floor::Window) {
        ok = folder == "shell";
      } else if (to == "ui") {
        ok = floor != Floor::Core;
      } else {
        const auto& table = floor == Floor::Window ? kWindowArrows : kCoreArrows;
        const auto row = table.find(folder);
        ok = row != table.end() && row->second.count(to) > 0;
      }
      if (!ok) out.push_back({folder + "/" + name, m[1].str() + "/" + to_name});
    }
  }
  return out;
}

std::string listed(const std::vector<Arrow>& arrows) {
  std::ostringstream text;
  for (const auto& a : arrows) text << "\n  " << a.file << " includes " << a.include;
  return text.str();
}

TEST(IncludeArrows, EveryArrowInTheSourcesIsAllowed) {
  const auto arrows = arrows_not_allowed(fs::path(PAGIMOND_SOURCE_DIR) / "src");
  EXPECT_TRUE(arrows.empty()) << "include arrows outside the allowed table:" << listed(arrows);
}

TEST(IncludeArrows, APlantedArrowUpOrSidewaysIsCaught) {
  pmtest::TempDir dir;
  const fs::path src = dir.path() / "src";
  const auto write = [&](const std::string& file, const std::string& text) {
    fs::create_directories((src / file).parent_path());
    std::ofstream(src / file) << text;
  };
  write("base/files.cpp", "#include \"base/text.h\"\n#include \"project/project.h\"\n");
  write("compiler/page.cpp", "#include \"project/project.h\"\n#include \"ui/child_window.h\"\n");
  write("map/map_window.cpp", "#include \"map/map_text.h\"\n#include \"check/graph_window.h\"\n");
  write("shell/main_window.cpp", "#include \"check/graph_window.h\"\n#include \"cli/cli_output.h\"\n");
  const auto arrows = arrows_not_allowed(src);
  std::set<std::string> found;
  for (const auto& a : arrows) found.insert(a.file + " -> " + a.include);
  EXPECT_EQ(found, (std::set<std::string>{"base/files.cpp -> project/project.h",
                                          "compiler/page.cpp -> ui/child_window.h",
                                          "map/map_window.cpp -> check/graph_window.h",
                                          "shell/main_window.cpp -> cli/cli_output.h"}))
      << listed(arrows);
}

}  // namespace

// Which program folder a run works in: the one named by --home or PAGIMOND_HOME, the
// installed one, or the per-user copy made from a read-only installed one; and the files
// it keeps: Last.ini, the window placements and Res.ini.
#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/program_folder.h"
#include "support/folder_names.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::ScopedEnv;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

TEST(ProgramFolderTest, HomeOptionComesFirstThenTheEnvironmentThenNothing) {
  TempDir t;
  // The command line of the window programs: the last --home wins, other arguments stay
  // theirs, and --home without a folder is a wrong command line.
  struct Case {
    std::vector<std::string> args;
    const char* env;
    std::optional<fs::path> folder;  // nothing: the program folder is not named
  } cases[] = {
      {{}, nullptr, std::nullopt},
      {{}, "", std::nullopt},
      {{}, "/env", "/env"},
      {{"--home", "/a dir"}, "/env", "/a dir"},
      {{"-style", "x", "--home=/b"}, nullptr, "/b"},
      {{"--home", "/a", "--home=/b"}, nullptr, "/b"},
      {{"--home", "/Citt\xC3\xA0"}, nullptr, fs::path(u8"/Città")},
      {{"--home", "rel"}, nullptr, fs::current_path() / "rel"},
  };
  for (const auto& c : cases) {
    pm::HomeChoice h = pm::choose_home(c.args, c.env);
    EXPECT_TRUE(h.status.ok());
    EXPECT_EQ(h.named, c.folder ? std::optional(fs::absolute(*c.folder)) : std::nullopt);
  }
  for (auto args : {std::vector<std::string>{"--home"}, std::vector<std::string>{"--home="},
                    std::vector<std::string>{"--home", ""}}) {
    pm::HomeChoice bad = pm::choose_home(args, "/env");
    EXPECT_EQ(bad.status.kind(), pm::StatusKind::Usage);
    EXPECT_EQ(bad.status.message(), "--home needs a folder: --home DIR");
    EXPECT_FALSE(bad.named);
  }

  // The command-line tool's --home: an empty --home= is not given.
  ScopedEnv env("PAGIMOND_HOME", (t / "env").string());
  EXPECT_EQ(pm::named_program_folder((t / "opt").string()), t / "opt");
  EXPECT_EQ(pm::named_program_folder(std::string()), t / "env");
  ScopedEnv unset("PAGIMOND_HOME", std::nullopt);
  EXPECT_EQ(pm::named_program_folder(std::nullopt), std::nullopt);

  // A named folder is used as it is, read-only or not; without one, a build tree's own
  // folder (writable, with no share/pagimond beside it) is the program folder.
  EXPECT_EQ(pm::choose_program_folder(t / "opt", nullptr).folder, t / "opt");
  pm::ProgramFolderChoice own = pm::choose_program_folder(std::nullopt, nullptr);
  EXPECT_EQ(own.folder, pm::program_file_folder(nullptr));
  EXPECT_EQ(own.warning, "");
  pm::ProgramFolder home(t.path());
  fs::create_directories(t / "projects");
  EXPECT_EQ(home.projects(), t / "projects");
  EXPECT_EQ(home.output(), t / "Output");
}

TEST(ProgramFolderTest, ThePerUserFolderFollowsXdgDataHomeElseHome) {
  TempDir t;
  ScopedEnv data("XDG_DATA_HOME", t.path().string());  // relative values are ignored, as XDG says
  EXPECT_EQ(pm::per_user_folder_location(), t / "Pagimond");
#if !defined(_WIN32)
  ScopedEnv relative("XDG_DATA_HOME", "data");
  ScopedEnv home("HOME", "/home/autore");
  EXPECT_EQ(pm::per_user_folder_location(), fs::path("/home/autore/.local/share/Pagimond"));
  ScopedEnv no_home("HOME", std::nullopt);
  EXPECT_EQ(pm::per_user_folder_location(), fs::path());
#endif
}

TEST(ProgramFolderTest, ThePerUserFolderIsMadeOnceFromTheInstalledOne) {
  TempDir t;
  fs::path installed = t / "share" / "pagimond";
  write_bytes(installed / "adv.css", "body{}\r\n");
  write_bytes(installed / "Projects" / "Il Libro" / "Room" / "0", "Luogo di partenza\r\n");
  write_bytes(installed / "Extra" / "Help.txt", "aiuto");
  fs::path user = t / "dati" / "Pagimond";  // its parent does not exist yet

  pm::ProgramFolderChoice first = pm::per_user_program_folder(installed, user);
  EXPECT_EQ(first.folder, user);
  EXPECT_EQ(first.warning, "");
  EXPECT_EQ(read_bytes(user / "Projects" / "Il Libro" / "Room" / "0"), "Luogo di partenza\r\n");
  EXPECT_EQ(read_bytes(user / "Extra" / "Help.txt"), "aiuto");
  EXPECT_TRUE(pm::can_write_in(user / "Projects"));
  EXPECT_EQ(pmtest::names_in(t / "dati"), std::vector<std::string>{"Pagimond"});  // nothing left beside it

  // Later starts use it as it is: what the author changed there stays.
  write_bytes(user / "adv.css", "mine");
  fs::remove_all(user / "Extra");
  EXPECT_EQ(pm::per_user_program_folder(installed, user).folder, user);
  EXPECT_EQ(read_bytes(user / "adv.css"), "mine");
  EXPECT_FALSE(fs::exists(user / "Extra"));
}

TEST(ProgramFolderTest, APerUserFolderThatCannotBeMadeLeavesTheInstalledOneWithAWarning) {
  TempDir t;
  fs::path installed = t / "installed";
  write_bytes(installed / "adv.css", "body{}");
  write_bytes(t / "a file", "not a folder");
  for (const fs::path& user : {t / "a file" / "Pagimond", fs::path()}) {
    pm::ProgramFolderChoice choice = pm::per_user_program_folder(installed, user);
    EXPECT_EQ(choice.folder, installed);
    EXPECT_NE(choice.warning.find(pm::path_text(user.empty() ? installed : user)), std::string::npos)
        << choice.warning;
  }
  EXPECT_TRUE(pm::can_write_in(installed));
  EXPECT_FALSE(pm::can_write_in(t / "a file"));
  EXPECT_FALSE(pm::can_write_in(t / "missing"));
}

TEST(ProgramFolderTest, LastProjectRoundTripsAnyPath) {
  TempDir t;
  pm::ProgramFolder home(t.path());
  EXPECT_FALSE(home.read_last_project());
  // A cleaned project name may end with a blank and a parent folder may hold a comma:
  // the path read back must be the one written.
  std::string path = (t / "Progetti, vecchi" / "Storia  capitolo 1 ").string();
  ASSERT_TRUE(home.write_last_project(path).ok());
  EXPECT_EQ(read_bytes(t / "Last.ini"), path + "\r\n");
  EXPECT_EQ(home.read_last_project(), path);
#if !defined(_WIN32)  // Windows allows no quote in a name
  // A folder whose name itself starts with a quote is taken as written.
  fs::create_directories(t / "\"Libro\", copia");
  write_bytes(t / "Last.ini", (t / "\"Libro\", copia").string() + "\r\n");
  EXPECT_EQ(home.read_last_project(), (t / "\"Libro\", copia").string());
#endif

  // A folder as written is preferred to the quoted reading.
  const pm::FolderCheck folders = [](const std::string& p) { return p == "\"a\",b" || p == " c "; };
  struct Case {
    std::string ini;
    std::optional<std::string> path;
  } cases[] = {
      {"", std::nullopt},
      {"  \r\nx", std::nullopt},
      {"\"a\",b\r\n", "\"a\",b"},     // a folder as written wins over the quoted reading
      {"\"d\",e\r\n", "d"},             // no such folder: the quoted field
      {" c \nrest", " c "},             // blanks kept
      {"/no/such, place", "/no/such, place"},
      {"\"\"\r\n", std::nullopt},        // quotes around nothing
  };
  for (const auto& c : cases) EXPECT_EQ(pm::last_project_path(c.ini, folders), c.path) << c.ini;
}

TEST(ProgramFolderTest, PlacementAndResFilesAndTheirFailedWrites) {
  TempDir t;
  pm::ProgramFolder home(t.path());
  EXPECT_EQ(home.read_placement("Manager.ini").v, decltype(pm::Placement::v){});

  ASSERT_TRUE(home.write_placement("Mappa.ini", 400, 1200, 9600, 7200).ok());
  EXPECT_EQ(read_bytes(t / "Mappa.ini"), "400\r\n1200\r\n9600\r\n7200\r\n");
  using V = decltype(pm::Placement::v);
  EXPECT_EQ(home.read_placement("MAPPA.INI").v, (V{400, 1200, 9600, 7200}));
  write_bytes(t / "Editor.ini", "  120  \r\n\r\n 9000\n");
  EXPECT_EQ(home.read_placement("Editor.ini").v, (V{120, std::nullopt, 9000, std::nullopt}));
  write_bytes(t / "Editor2.ini", "abc\r\n-50\r\n12x\r\n");
  EXPECT_EQ(home.read_placement("Editor2.ini").v, (V{std::nullopt, -50, std::nullopt, std::nullopt}));

  // Res.ini holds the drive and the folder.
  EXPECT_EQ(home.read_res_ini(), (std::array<std::string, 2>{"", ""}));
  ASSERT_TRUE(home.write_res_ini("C:", "C:\\Immagini, mie").ok());
  EXPECT_EQ(read_bytes(t / "Res.ini"), "C:\r\nC:\\Immagini, mie\r\n");
  EXPECT_EQ(home.read_res_ini(), (std::array<std::string, 2>{"C:", "C:\\Immagini, mie"}));
  write_bytes(t / "Res.ini", "D:");
  EXPECT_EQ(home.read_res_ini(), (std::array<std::string, 2>{"D:", ""}));

  // Failed writes keep the old file.
  ASSERT_TRUE(home.write_placement("Manager.ini", 1, 2, 3, 4).ok());
  fs::create_directories(t / "Last.ini");  // a folder in the file's place
  pm::Status s = home.write_last_project("/x");
  EXPECT_EQ(s.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(s.message().find("Last.ini"), std::string::npos);
  pm::ProgramFolder broken(t / "Manager.ini");  // its "folder" is a file
  EXPECT_EQ(broken.write_placement("Mappa.ini", 1, 2, 3, 4).kind(), pm::StatusKind::WriteFailed);
  EXPECT_EQ(broken.write_res_ini("C:", "x").kind(), pm::StatusKind::WriteFailed);
  EXPECT_EQ(read_bytes(t / "Manager.ini"), "1\r\n2\r\n3\r\n4\r\n");
}

}  // namespace

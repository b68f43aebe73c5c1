// Which program folder a run works in: the one named by --home or PAGIMOND_HOME, the
// installed one, or the per-user copy made from a read-only installed one.
#include <gtest/gtest.h>

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
  ScopedEnv env("PAGIMOND_HOME", (t / "env").string());
  EXPECT_EQ(pm::named_program_folder((t / "opt").string()), t / "opt");
  EXPECT_EQ(pm::named_program_folder(std::string()), t / "env");  // an empty --home= is not given
  EXPECT_EQ(pm::named_program_folder(std::nullopt), t / "env");
  ScopedEnv unset("PAGIMOND_HOME", std::nullopt);
  EXPECT_EQ(pm::named_program_folder(std::nullopt), std::nullopt);

  // A named folder is used as it is, read-only or not; without one, a build tree's own
  // folder (writable, with no share/pagimond beside it) is the program folder.
  EXPECT_EQ(pm::choose_program_folder(t / "opt", nullptr).folder, t / "opt");
  pm::ProgramFolderChoice own = pm::choose_program_folder(std::nullopt, nullptr);
  EXPECT_EQ(own.folder, pm::program_file_folder(nullptr));
  EXPECT_EQ(own.warning, "");
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

}  // namespace

// Where Registro keeps its log: --home, then PAGIMOND_HOME, then its own folder.
#include <gtest/gtest.h>

#include "registro/home_folder.h"

using registro::choose_home;

TEST(RegistroHome, CommandLineThenEnvironmentThenProgramFolder) {
  const std::filesystem::path own = "/opt/book";
  EXPECT_EQ(choose_home({}, nullptr, own).folder, own);
  EXPECT_EQ(choose_home({}, "", own).folder, own);
  EXPECT_EQ(choose_home({}, "/env", own).folder, "/env");
  EXPECT_EQ(choose_home({"--home", "/a dir"}, "/env", own).folder, "/a dir");
  EXPECT_EQ(choose_home({"-style", "x", "--home=/b"}, nullptr, own).folder, "/b");
  EXPECT_EQ(choose_home({"--home", "/Citt\xC3\xA0"}, nullptr, own).folder, std::filesystem::path(u8"/Città"));

  for (auto args : {std::vector<std::string>{"--home"}, std::vector<std::string>{"--home="}}) {
    const registro::HomeChoice bad = choose_home(args, "/env", own);
    EXPECT_TRUE(bad.folder.empty());
    EXPECT_NE(bad.error.find("--home"), std::string::npos);
  }
}

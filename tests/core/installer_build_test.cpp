// The installer build as the compile dialog runs it: the classic compile with the Extra
// files, Zell.iss, Distribuisci emptied of the last build's files, the portable package,
// the command that starts the installer compiler, and what is said when it cannot run.
#include <gtest/gtest.h>

#include <string>

#include "packager/distribution.h"
#include "packager/installer_build.h"
#include "packager/installer_script.h"
#include "project/project_creation.h"
#include "support/folder_names.h"
#include "support/recording_platform.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;
using Outcome = pm::InstallerBuild::Outcome;
using State = pm::InstallerCompiler::State;

// Records, besides the calls, what Distribuisci holds when the compiler starts and how many
// messages had been shown by then and when a folder is shown.
struct WatchingPlatform : pm::RecordingPlatform {
  fs::path distribute;
  const pm::ScriptedPrompts* prompts = nullptr;
  std::vector<std::string> files_at_start;
  std::vector<size_t> messages_before;  // per call
  void start_program(const std::string& p, const std::vector<std::string>& a) override {
    files_at_start = pmtest::names_in(distribute);
    messages_before.push_back(prompts->calls.size());
    RecordingPlatform::start_program(p, a);
  }
  pm::Status show_folder(const std::string& f) override {
    messages_before.push_back(prompts->calls.size());
    return RecordingPlatform::show_folder(f);
  }
};

class InstallerBuild : public ::testing::Test {
 protected:
  void SetUp() override {
#if !defined(PAGIMOND_HAVE_LIBZIP)
    GTEST_SKIP() << "built without libzip";
#endif
    write_bytes(home() / "adv.css", "body{}\r\n");
    write_bytes(home() / "Hg.iss", "AppName=[titolo]\r\nOutputDir=[app.path]\\Distribuisci\r\n");
    write_bytes(home() / "Extra/Help.txt", "aiuto");
    write_bytes(home() / "Extra/Start", "launcher");
    write_bytes(distribute() / "Vecchio - Setup.exe", "last build");
    write_bytes(distribute() / "mio/nota.txt", "the author's");
    fs::create_directories(home() / "Projects");
    auto made = pm::create_project(home() / "Projects", "Il Drago", home(), "01/02/2026");
    ASSERT_TRUE(made.status.ok()) << made.status.message();
    book = pm::Project(made.folder, made.name);
  }

  fs::path home() const { return t / "Pagimond home"; }
  fs::path distribute() const { return home() / "Distribuisci"; }
  fs::path compiler() const { return home() / "Setup/Compil32.exe"; }
  pm::InstallerBuild run(State state) {
    pm::InstallerCompiler c;
    c.state = state;
    c.compiler = compiler();
    c.launch = {"compil32", {"/cc", "Zell.iss"}};
    return pm::run_installer_build(pm::ProgramFolder(home()), book, {"0"}, c);
  }

  // What the dialog shows for the build; the platform's calls are left in `platform`.
  void present(const pm::InstallerBuild& b) {
    platform.distribute = distribute();
    platform.prompts = &prompts;
    pm::present_installer_build(b, platform, prompts);
  }

  TempDir t;
  pm::Project book{"", ""};
  pm::ScriptedPrompts prompts;
  WatchingPlatform platform;
};

TEST_F(InstallerBuild, PreparesEverythingBeforeTheCompilerStarts) {
  auto b = run(State::Ready);
  ASSERT_EQ(b.outcome, Outcome::Ready) << pm::installer_build_message(b);
  EXPECT_EQ(pm::installer_build_message(b), "");
  // The compiler starts over an emptied Distribuisci (the author's folder and the new
  // package are there), then the message, then the folder.
  present(b);
  ASSERT_EQ(platform.calls.size(), 2u);
  EXPECT_EQ(platform.calls[0].kind, "program");
  EXPECT_EQ(platform.calls[0].target, "compil32");
  EXPECT_EQ(platform.calls[0].args, (std::vector<std::string>{"/cc", "Zell.iss"}));
  EXPECT_EQ(platform.files_at_start, (std::vector<std::string>{"Il Drago.zip", "mio"}));
  ASSERT_EQ(prompts.calls.size(), 1u);
  EXPECT_EQ(prompts.calls[0].text, "Premi Ok per continuare");
  EXPECT_EQ(platform.calls[1].kind, "folder");
  EXPECT_EQ(platform.calls[1].target, distribute().string());
  EXPECT_EQ(platform.messages_before, (std::vector<size_t>{0, 1}));
  // The classic compile with the Extra files beside the pages.
  const std::string index = read_bytes(home() / "Output/index.htm");
  EXPECT_NE(index.find("Creato con "), std::string::npos);
  EXPECT_EQ(index.find("viewport"), std::string::npos);
  EXPECT_TRUE(fs::is_regular_file(home() / "Output/0.htm"));
  EXPECT_EQ(read_bytes(home() / "Output/Help.txt"), "aiuto");
  EXPECT_EQ(read_bytes(home() / "Output/Start"), "launcher");
  EXPECT_EQ(read_bytes(home() / "Zell.iss"),
            "\xEF\xBB\xBF" "AppName=Il Drago\r\nOutputDir=" + pm::installer_path_text(home()) + "\\Distribuisci\r\n");
  // The last build's files are gone, the author's folder stays, the package is there.
  EXPECT_FALSE(fs::exists(distribute() / "Vecchio - Setup.exe"));
  EXPECT_EQ(read_bytes(distribute() / "mio/nota.txt"), "the author's");
  EXPECT_EQ(b.package, distribute() / "Il Drago.zip");
  EXPECT_EQ(b.distribute, distribute());
  EXPECT_TRUE(fs::is_regular_file(b.package));
}

TEST_F(InstallerBuild, ACompilerThatCannotRunIsSaidInsteadOfSuccess) {
  for (auto [state, outcome, words] : {std::tuple{State::Missing, Outcome::CompilerMissing, compiler().string()},
                                       std::tuple{State::NoWine, Outcome::NoWine, std::string("Wine")}}) {
    auto b = run(state);
    EXPECT_EQ(b.outcome, outcome);
    EXPECT_TRUE(b.launch.program.empty());
    const std::string msg = pm::installer_build_message(b);
    EXPECT_EQ(msg.rfind("L'installazione non è stata creata", 0), 0u) << msg;
    EXPECT_NE(msg.find(words), std::string::npos) << msg;
    EXPECT_NE(msg.find(b.package.string()), std::string::npos) << msg;  // the package is there all the same
    EXPECT_TRUE(fs::is_regular_file(b.package));
    // The dialog says so, starts nothing and shows the folder that holds the package.
    prompts.calls.clear();
    platform.calls.clear();
    present(b);
    ASSERT_EQ(prompts.calls.size(), 1u);
    EXPECT_EQ(prompts.calls[0].text, msg);
    ASSERT_EQ(platform.calls.size(), 1u);
    EXPECT_EQ(platform.calls[0].kind, "folder");
    // With no file manager to show it, one more message names the folder.
    prompts.calls.clear();
    platform.desktop_fails = true;
    present(b);
    ASSERT_EQ(prompts.calls.size(), 2u);
    EXPECT_EQ(prompts.calls[1].text,
              "Impossibile avviare il gestore dei file: aprire a mano la cartella " + distribute().string() + ".");
    platform.desktop_fails = false;
  }
}

TEST_F(InstallerBuild, AFailedStepStopsTheBuildAndLeavesDistribuisci) {
  fs::remove(home() / "Hg.iss");
  auto b = run(State::Ready);
  EXPECT_EQ(b.outcome, Outcome::Failed);
  EXPECT_NE(pm::installer_build_message(b).find("Hg.iss"), std::string::npos);
  EXPECT_EQ(read_bytes(distribute() / "Vecchio - Setup.exe"), "last build");
  present(b);
  EXPECT_EQ(prompts.calls.size(), 1u);
  EXPECT_TRUE(platform.calls.empty());

  // A compile that fails copies no Extra file and writes no script.
  write_bytes(home() / "Hg.iss", "[titolo]");
  fs::remove_all(home() / "Output");
  write_bytes(home() / "Output", "a file where Output should be");
  b = run(State::Ready);
  EXPECT_EQ(b.outcome, Outcome::Failed);
  EXPECT_FALSE(b.errors.empty());
  EXPECT_FALSE(fs::exists(home() / "Zell.iss"));
  EXPECT_EQ(read_bytes(home() / "Output"), "a file where Output should be");
  EXPECT_EQ(read_bytes(distribute() / "Vecchio - Setup.exe"), "last build");
}

TEST_F(InstallerBuild, AFailedPackageIsAWarningAndTheInstallerIsStillMade) {
  fs::create_directories(distribute() / "Il Drago.zip");  // a folder where the package goes
  auto b = run(State::Ready);
  ASSERT_EQ(b.outcome, Outcome::Ready) << pm::installer_build_message(b);
  EXPECT_FALSE(b.package_made);
  EXPECT_TRUE(fs::is_regular_file(home() / "Zell.iss"));
  present(b);
  ASSERT_EQ(prompts.calls.size(), 2u);
  EXPECT_EQ(prompts.calls[0].text.rfind("Il pacchetto portatile non è stato creato:", 0), 0u) << prompts.calls[0].text;
  EXPECT_EQ(prompts.calls[1].text, "Premi Ok per continuare");
  ASSERT_EQ(platform.calls.size(), 2u);
  EXPECT_EQ(platform.calls[0].kind, "program");
  // Without a compiler, the message does not promise the package.
  b = run(State::Missing);
  EXPECT_EQ(b.outcome, Outcome::CompilerMissing);
  EXPECT_EQ(pm::installer_build_message(b).find(b.package.string()), std::string::npos);
}

TEST_F(InstallerBuild, TheCompilerStartsNativelyOnWindowsAndThroughWineElsewhere) {
  const pm::ProgramFolder folder(home());
  EXPECT_EQ(pm::find_installer_compiler(folder, true, "").state, State::Missing);

  write_bytes(home() / "setup/COMPIL32.EXE", "exe");  // found in any case
  const fs::path found = home() / "setup/COMPIL32.EXE";
  auto native = pm::find_installer_compiler(folder, true, "");
  ASSERT_EQ(native.state, State::Ready);
  EXPECT_EQ(native.launch.program, found.string());
  EXPECT_EQ(native.launch.args, (std::vector<std::string>{"/cc", (home() / "Zell.iss").string()}));
  EXPECT_EQ(native.launch.command_line(),
            "\"" + found.string() + "\" /cc \"" + (home() / "Zell.iss").string() + "\"");

  write_bytes(t / "bin/wine", "not executable");
  write_bytes(t / "sbin/wine", "#!/bin/sh\n");
  fs::permissions(t / "sbin/wine", fs::perms(0755));
  EXPECT_EQ(pm::find_installer_compiler(folder, false, "").state, State::NoWine);
  EXPECT_EQ(pm::find_installer_compiler(folder, false, (t / "bin").string()).state, State::NoWine);
  auto wine = pm::find_installer_compiler(folder, false, "/nowhere::" + (t / "bin").string() + ":" + (t / "sbin").string());
  ASSERT_EQ(wine.state, State::Ready);
  EXPECT_EQ(wine.launch.program, (t / "sbin/wine").string());
  EXPECT_EQ(wine.launch.args,
            (std::vector<std::string>{found.string(), "/cc", pm::installer_path_text(home()) + "\\Zell.iss"}));
}

}  // namespace

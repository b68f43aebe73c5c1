// The compile entry point on real folders: a project named by its folder is checked, opened
// and its rooms listed in the room list's order; each refusal has its kind and leaves every
// file as it was; the distribution's Extra files follow a clean compile only. Then what a
// window shows after a compile, with a desktop that can or cannot open the page or folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "compiler/compile_request.h"
#include "compiler/single_file.h"
#include "support/recording_platform.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pm::StatusKind;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

constexpr std::string_view kIncomplete = "La compilazione non è riuscita del tutto:";

class RunCompile : public ::testing::Test {
 protected:
  void SetUp() override {
    // Field 10 is 1: the start page is skipped.
    write_bytes(book / "Libro.dat", "\"Libro\",\"Prova\",\"\",\"\",\"\",\"\",\"100%\",\"\",\"\",\"1\"\r\n");
    for (const char* room : {"0", "1", "2", "10"}) {
      write_bytes(book / "Room" / room, std::string("Stanza ") + room + "\r\n");
      write_bytes(book / room, std::string("Testo ") + room + "\r\n");
    }
  }
  pm::CompileRequest named(const fs::path& folder, const fs::path& output) const {
    pm::CompileRequest r;
    r.folder = folder;
    r.output = output;
    return r;
  }

  TempDir dir;
  fs::path book = dir / "Libro";
  fs::path out = dir / "Output";
};

TEST_F(RunCompile, AFolderIsOpenedAndItsRoomsListedInTheRoomListsOrder) {
  pm::CompileRequest request = named(book, out);
  request.form = pm::CompileForm::SingleFile;
  const pm::CompileResult result = pm::run_compile(request);
  ASSERT_TRUE(result.status.ok()) << result.status.message();
  ASSERT_TRUE(result.project);
  EXPECT_EQ(result.project->name(), "Libro");
  EXPECT_TRUE(result.skip_start_page);
  EXPECT_EQ(read_bytes(out / "index.htm"), pm::render_single_file(*result.project, {"0", "1", "10", "2"}));

  // The site from the same request: a page per room.
  request.form = pm::CompileForm::Site;
  ASSERT_TRUE(pm::run_compile(request).status.ok());
  for (const char* page : {"0.htm", "1.htm", "2.htm", "10.htm", "index.htm"}) EXPECT_TRUE(fs::exists(out / page)) << page;
}

TEST_F(RunCompile, EachRefusalHasItsKindAndLeavesEveryFileAsItWas) {
  write_bytes(dir / "Vuota/Vuota.dat", "\"Vuota\"\r\n");  // a .dat but no Room/0
  write_bytes(out / "vecchia.htm", "an earlier compile");
  const auto before = pmtest::snapshot(dir.path());
  const struct {
    fs::path folder, output;
    StatusKind kind;
  } cases[] = {
      {dir / "altrove", out, StatusKind::NotFound},
      {dir / "Vuota", out, StatusKind::NotAProject},
      {book, dir.path(), StatusKind::WouldDestroy},  // the output folder holds the project
      {book, book, StatusKind::WouldDestroy},
  };
  for (const auto& c : cases) {
    const pm::CompileResult result = pm::run_compile(named(c.folder, c.output));
    EXPECT_EQ(result.status.kind(), c.kind) << c.folder << " " << c.output;
    EXPECT_NE(result.status.message().find(c.kind == StatusKind::WouldDestroy ? c.output.string() : c.folder.string()),
              std::string::npos)
        << result.status.message();
    EXPECT_EQ(pmtest::snapshot(dir.path()), before) << c.folder << " " << c.output;
  }
  // The windows show the refusal as they show a compile's failures.
  const std::string refused = pm::run_compile(named(book, book)).status.message();
  EXPECT_EQ(refused.rfind(kIncomplete, 0), 0u) << refused;
}

TEST_F(RunCompile, TheExtraFilesFollowACleanCompileOnly) {
  write_bytes(dir / "Extra/Leggimi.txt", "leggimi");
  pm::CompileRequest request;
  request.project = pm::Project(book, "Libro");
  request.rooms = {"0"};
  request.output = out;
  request.extra = dir / "Extra";
  ASSERT_TRUE(pm::run_compile(request).status.ok());
  EXPECT_EQ(read_bytes(out / "Leggimi.txt"), "leggimi");

  request.rooms = {"0", "1/x"};
  const pm::CompileResult failed = pm::run_compile(request);
  EXPECT_EQ(failed.status.kind(), StatusKind::Incomplete);
  EXPECT_EQ(failed.status.message(), pm::compile_failure_message(failed.report));
  EXPECT_NE(failed.status.message().find("1/x"), std::string::npos);
  EXPECT_TRUE(fs::exists(out / "0.htm"));
  EXPECT_FALSE(fs::exists(out / "Leggimi.txt"));
}

// After a compile a window shows its message, then the page or the folder; a desktop that
// cannot open them is said once, naming what to open by hand.
TEST(PresentCompile, ThePageOrTheFolderOrOneMessageNamingIt) {
  using Show = pm::CompileFollowUp::Show;
  TempDir dir;
  const fs::path page = dir / "Output/3.htm";
  write_bytes(page, "pagina");
  pm::CompileResult done;
  pm::CompileResult failed;
  failed.status = pm::Status(StatusKind::Incomplete, "La compilazione non è riuscita del tutto: ...");
  const std::string no_browser = "Impossibile avviare il browser: aprire a mano il file " + page.string() + ".";
  const std::string no_file_manager =
      "Impossibile avviare il gestore dei file: aprire a mano la cartella " + (dir / "Output").string() + ".";
  const struct {
    const pm::CompileResult& result;
    pm::CompileFollowUp then;
    bool desktop_fails;
    std::vector<std::string> opened;    // the platform's calls, kind and target
    std::vector<std::string> messages;  // what the author reads
  } cases[] = {
      {done, {Show::Page, page}, false, {"open " + page.string()}, {}},
      {done, {Show::Page, page}, true, {"open " + page.string()}, {no_browser}},
      {done, {Show::Folder, dir / "Output"}, true, {"folder " + (dir / "Output").string()}, {no_file_manager}},
      {failed, {Show::Page, page}, true, {"open " + page.string()}, {failed.status.message(), no_browser}},
      {failed, {Show::Page, dir / "Output/index.htm"}, true, {}, {failed.status.message()}},  // not written
      {done, {Show::Nothing, {}}, true, {}, {}},
  };
  for (const auto& c : cases) {
    pm::RecordingPlatform platform;
    platform.desktop_fails = c.desktop_fails;
    pm::ScriptedPrompts prompts;
    pm::present_compile(c.result, c.then, platform, prompts);
    std::vector<std::string> opened, messages;
    for (const auto& call : platform.calls) opened.push_back(call.kind + " " + call.target);
    for (const auto& call : prompts.calls) messages.push_back(call.text);
    EXPECT_EQ(opened, c.opened) << c.then.target;
    EXPECT_EQ(messages, c.messages) << c.then.target;
  }
}

}  // namespace

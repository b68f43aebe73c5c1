// pagimond-cli run as a real program on projects in a temporary folder: exit statuses,
// standard output as bytes, one-line messages on standard error, and nothing written when
// a command is refused.
#include <gtest/gtest.h>

#if defined(PAGIMOND_CLI) && !defined(_WIN32)

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "compiler/single_file.h"
#include "map/map_text.h"
#include "project/project_creation.h"
#include "project/text.h"
#include "rooms/room_list.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

struct CliRun {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string out;  // standard output, bytes
  std::string err;  // standard error
};

// A listing of every file under `dir` with its bytes, to prove that nothing changed.
std::map<std::string, std::string> snapshot(const fs::path& dir) {
  std::map<std::string, std::string> files;
  if (!fs::exists(dir)) return files;
  for (auto& e : fs::recursive_directory_iterator(dir)) {
    std::string rel = fs::relative(e.path(), dir).string();
    files[rel] = e.is_directory() ? std::string("<dir>") : read_bytes(e.path());
  }
  return files;
}

size_t line_count(const std::string& s) { return size_t(std::count(s.begin(), s.end(), '\n')); }

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    write_bytes(home() / "adv.css", "body{}\r\n");
    fs::create_directories(home() / "Projects");
    write_bytes(output() / "old.htm", "left by an earlier compile");
  }

  fs::path home() const { return t_ / "home"; }
  fs::path output() const { return home() / "Output"; }

  // Runs the program with `args` through the shell; the environment is this one's, less
  // PAGIMOND_HOME, plus `env`. Standard output goes to `stdout_path` when given.
  CliRun run(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
             const std::string& stdout_path = "", const std::string& cwd = "") {
    auto quote = [](std::string s) { return "'" + pm::replace_all(s, "'", "'\\''") + "'"; };
    std::string out_file = stdout_path.empty() ? (captures_ / "stdout").string() : stdout_path;
    std::string cmd = (cwd.empty() ? "" : "cd " + quote(cwd) + " && ") + "env -u PAGIMOND_HOME";
    for (const auto& e : env) cmd += " " + quote(e);
    cmd += " " + quote(PAGIMOND_CLI);
    for (const auto& a : args) cmd += " " + quote(a);
    cmd += " </dev/null >" + quote(out_file) + " 2>" + quote((captures_ / "stderr").string());
    int status = std::system(cmd.c_str());
    CliRun r;
    if (WIFEXITED(status)) r.status = WEXITSTATUS(status);
    if (stdout_path.empty()) r.out = read_bytes(out_file);
    r.err = read_bytes(captures_ / "stderr");
    return r;
  }

  // A refusal: the status, one line on standard error naming `what`, nothing on output.
  void expect_refusal(const CliRun& r, int status, const std::string& what) {
    EXPECT_EQ(r.status, status) << r.err;
    EXPECT_EQ(line_count(r.err), 1u) << r.err;
    EXPECT_EQ(r.err.rfind("pagimond-cli: ", 0), 0u) << r.err;
    EXPECT_NE(r.err.find(what), std::string::npos) << "'" << what << "' not in: " << r.err;
    EXPECT_EQ(r.out, "");
  }

  // A small book: room 0 links to 1 and 2, room 1 has a timed jump, room 2 a script.
  fs::path make_book(const std::string& title = "Il Ponte") {
    auto made = pm::create_project(home() / "Projects", title, home(), "01/02/2026");
    EXPECT_TRUE(made.ok) << made.message;
    pm::Project p(made.folder, made.name);
    p.write_text("0", "  Sei sul ponte.  \r\nVai <a href=\"1.htm\">avanti</a> o <a href=\"2.htm\">indietro</a>.");
    p.write_description("1", "La riva");
    p.write_text("1", "La  riva.\r\n<meta http-equiv='refresh' content='3; url=0.htm'>");
    p.write_description("2", "Porta, chiusa");
    p.write_text("2", "Una porta.\r\n<a href='0.htm'>Torna</a>");
    p.write_script("2", "var stanza = 2;");
    write_bytes(made.folder / "res" / "ponte.png", "PNG");
    return made.folder;
  }

  TempDir t_;
  TempDir captures_;  // the program's output, kept apart from the files it may change
};

TEST_F(CliTest, VersionAndHelp) {
  CliRun v = run({"--version"});
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, "pagimond-cli " PAGIMOND_VERSION "\n");
  EXPECT_EQ(v.err, "");

  CliRun h = run({"--help"});
  EXPECT_EQ(h.status, 0);
  for (const char* word : {"compile", "single", "map", "new"}) EXPECT_NE(h.out.find(word), std::string::npos) << word;
}

TEST_F(CliTest, AWrongCommandLineIsOneLineAndStatusTwo) {
  fs::path book = make_book();
  auto before = snapshot(t_.path());
  expect_refusal(run({"frobnicate"}), 2, "frobnicate");
  expect_refusal(run({"compile"}), 2, "PROJECT");
  expect_refusal(run({"map"}), 2, "PROJECT");
  expect_refusal(run({"new"}), 2, "TITLE");
  expect_refusal(run({"compile", book.string(), "--home", home().string(), "--bogus"}), 2, "--bogus");
  expect_refusal(run({"single", book.string(), "--classic", "--home", home().string()}), 2, "--classic");
  expect_refusal(run({"map", book.string(), "--phrase"}), 2, "--phrase");
  // A phrase that spells a link's opening would be rewritten again with every room.
  expect_refusal(run({"map", book.string(), "--phrase", "<a href=\"<a href=\""}), 2, "--phrase");
  expect_refusal(run({"compile", book.string(), "another", "--home", home().string()}), 2, "another");
  EXPECT_EQ(snapshot(t_.path()), before);
}

TEST_F(CliTest, NoCommandAtAllPrintsTheUsageOnStandardError) {
  CliRun r = run({});
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.out, "");
  for (const char* word : {"Usage", "compile", "single", "map", "new", "--help"})
    EXPECT_NE(r.err.find(word), std::string::npos) << word << " in " << r.err;
}

TEST_F(CliTest, AFolderThatIsNoProjectIsRefusedAndNothingIsWritten) {
  fs::path not_project = t_ / "Progetti vari";
  write_bytes(not_project / "Libro.dat", "\"Libro\"\r\n");  // a .dat but no Room/0
  auto before = snapshot(t_.path());
  for (const char* cmd : {"compile", "single", "map"}) {
    std::vector<std::string> args{cmd, not_project.string()};
    if (std::string(cmd) != "map") args.insert(args.end(), {"--home", home().string()});
    expect_refusal(run(args), 1, not_project.string());
  }
  // The Projects folder itself is no project either, and a missing folder is named.
  expect_refusal(run({"compile", (home() / "Projects").string(), "--home", home().string()}), 1,
                 (home() / "Projects").string());
  expect_refusal(run({"map", (t_ / "nowhere").string()}), 1, (t_ / "nowhere").string());
  // A program folder that does not exist is named too.
  fs::path book = make_book();
  before = snapshot(t_.path());
  expect_refusal(run({"compile", book.string(), "--home", (t_ / "no home").string()}), 1,
                 (t_ / "no home").string());
  EXPECT_EQ(snapshot(t_.path()), before);
}

TEST_F(CliTest, NewCreatesAProjectAsTheStartPageDoes) {
  CliRun r = run({"new", "Storia: capitolo 1?", "--home", home().string()});
  fs::path made = home() / "Projects" / "Storia  capitolo 1 ";
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, made.string() + "\n");
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(pm::check_project_folder(made));
  EXPECT_EQ(read_bytes(made / "adv.css"), "body{}\r\n");  // from the chosen program folder

  // --in chooses the parent folder; a relative one is taken from the working folder.
  fs::create_directories(t_ / "altrove");
  r = run({"new", "Il \"Drago\"", "--in", "altrove", "--home", home().string()}, {}, "", t_.path().string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, (t_ / "altrove" / "Il  Drago ").string() + "\n");
}

TEST_F(CliTest, NewHonoursPagimondHomeAndMakesAMissingProjectsFolder) {
  fs::path env_home = t_ / "env home";
  fs::create_directories(env_home);
  CliRun r = run({"new", "Libro"}, {"PAGIMOND_HOME=" + env_home.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, (env_home / "Projects" / "Libro").string() + "\n");
  EXPECT_TRUE(pm::check_project_folder(env_home / "Projects" / "Libro"));
  // A refused project leaves no Projects folder behind.
  fs::path bare_home = t_ / "bare home";
  fs::create_directories(bare_home);
  expect_refusal(run({"new", "", "--home", bare_home.string()}), 1, "Inserire un titolo");
  EXPECT_TRUE(fs::is_empty(bare_home));
  // --home wins over the environment.
  r = run({"new", "Altro", "--home", home().string()}, {"PAGIMOND_HOME=" + env_home.string()});
  EXPECT_EQ(r.out, (home() / "Projects" / "Altro").string() + "\n");
}

TEST_F(CliTest, NewRefusesAnExistingNameAnEmptyTitleAndAMissingFolder) {
  fs::path existing = home() / "Projects" / "Il Ponte";
  write_bytes(existing / "note", "mine");
  auto before = snapshot(t_.path());
  expect_refusal(run({"new", "IL PONTE", "--home", home().string()}), 1, "Questo nome è già presente");
  expect_refusal(run({"new", "il ponte", "--home", home().string()}), 1, existing.string());
  expect_refusal(run({"new", "X", "--in", (t_ / "nowhere").string(), "--home", home().string()}), 1,
                 (t_ / "nowhere").string());
  EXPECT_EQ(snapshot(t_.path()), before);
}

TEST_F(CliTest, CompileWritesTheSiteIntoTheHomeOutput) {
  fs::path book = make_book();
  CliRun r = run({"compile", book.string(), "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  for (const char* f : {"0.htm", "1.htm", "2.htm", "index.htm", "adv.css", "2.js", "res/ponte.png"})
    EXPECT_TRUE(fs::is_regular_file(output() / f)) << f;
  EXPECT_FALSE(fs::exists(output() / "old.htm"));
  EXPECT_NE(read_bytes(output() / "index.htm").find("viewport"), std::string::npos);  // mobile style by default

  r = run({"compile", book.string(), "--classic", "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_bytes(output() / "index.htm").find("viewport"), std::string::npos);
}

TEST_F(CliTest, CompileFindsTheProgramFolderInTheEnvironment) {
  fs::path book = make_book();
  CliRun r = run({"compile", book.string()}, {"PAGIMOND_HOME=" + home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_TRUE(fs::is_regular_file(output() / "index.htm"));
}

TEST_F(CliTest, SingleWritesTheWholeBookIntoOnePage) {
  fs::path book = make_book();
  CliRun r = run({"single", book.string(), "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fs::exists(output() / "old.htm"));
  EXPECT_FALSE(fs::exists(output() / "0.htm"));
  EXPECT_TRUE(fs::is_regular_file(output() / "res" / "ponte.png"));
  EXPECT_EQ(read_bytes(output() / "index.htm"), pm::render_single_file(pm::Project(book, "Il Ponte"), {"0", "1", "2"}));
}

TEST_F(CliTest, MapWritesExactlyTheMapTextOnStandardOutput) {
  fs::path book = make_book();
  pm::Project project(book, "Il Ponte");
  auto entries = pm::build_room_list(project);

  CliRun r = run({"map", book.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, pm::build_map_text(project, entries, pm::MapOptions{}));
  EXPECT_NE(r.out.find("Vai (Si collega alla Stanza 1) avanti"), std::string::npos);

  pm::MapOptions options;
  options.numbers_only = true;
  options.phrase = "Vai alla";
  r = run({"map", book.string(), "--numbers-only", "--phrase", "Vai alla"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, pm::build_map_text(project, entries, options));
}

TEST_F(CliTest, MapReportsAnOutputThatCannotBeWritten) {
  if (!fs::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
  fs::path book = make_book();
  CliRun r = run({"map", book.string()}, {}, "/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(line_count(r.err), 1u) << r.err;
}

TEST_F(CliTest, AProjectInsideTheOutputFolderIsNeverEmptied) {
  fs::path inside = output() / "Libro";
  auto made = pm::create_project(output(), "Libro", home(), "d");
  ASSERT_TRUE(made.ok);
  auto before = snapshot(home());
  for (const char* cmd : {"compile", "single"})
    expect_refusal(run({cmd, inside.string(), "--home", home().string()}), 1, inside.string());
  EXPECT_EQ(snapshot(home()), before);
}

TEST_F(CliTest, ACompileThatFailsPrintsItsErrorsAndExitsOne) {
  fs::path book = make_book();
  fs::remove_all(output());
  write_bytes(output(), "a file where the Output folder should be");
  CliRun r = run({"compile", book.string(), "--home", home().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_GE(line_count(r.err), 1u);
  EXPECT_EQ(r.err.rfind("pagimond-cli: ", 0), 0u) << r.err;
  EXPECT_EQ(read_bytes(output()), "a file where the Output folder should be");
  r = run({"single", book.string(), "--home", home().string()});
  EXPECT_EQ(r.status, 1);
  EXPECT_GE(line_count(r.err), 1u);
}

}  // namespace

#endif

// pagimond-cli run as a real program on projects in a temporary folder: exit statuses,
// standard output as bytes, one-line messages on standard error, and nothing written when
// a command is refused.
#include <gtest/gtest.h>

#if defined(PAGIMOND_CLI)

#include <algorithm>
#include <cstdlib>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "compiler/single_file.h"
#include "map/map_text.h"
#include "project/project_creation.h"
#include "base/text.h"
#include "rooms/room_list.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::snapshot;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

struct CliRun {
  int status = -1;  // exit status, -1 when the program did not exit normally
  std::string out;  // standard output, bytes
  std::string err;  // standard error
};

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

  // Runs the program with `args`; the environment is this one's, less PAGIMOND_HOME,
  // plus `env`. Standard output goes to `stdout_path` when given.
  CliRun run(const std::vector<std::string>& args, const std::vector<std::string>& env = {},
             const std::string& stdout_path = "", const std::string& cwd = "") {
    std::string out_file = stdout_path.empty() ? (captures_ / "stdout").string() : stdout_path;
    CliRun r;
    r.status = pmtest::run_program(PAGIMOND_CLI, args, env, out_file, (captures_ / "stderr").string(), cwd);
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
    EXPECT_TRUE(made.status.ok()) << made.status.message();
    pm::Project p(made.folder, made.name);
    EXPECT_TRUE(p.write_text("0", "  Sei sul ponte.  \r\nVai <a href=\"1.htm\">avanti</a> o <a href=\"2.htm\">indietro</a>.").ok());
    EXPECT_TRUE(p.write_description("1", "La riva").ok());
    EXPECT_TRUE(p.write_text("1", "La  riva.\r\n<meta http-equiv='refresh' content='3; url=0.htm'>").ok());
    EXPECT_TRUE(p.write_description("2", "Porta, chiusa").ok());
    EXPECT_TRUE(p.write_text("2", "Una porta.\r\n<a href='0.htm'>Torna</a>").ok());
    EXPECT_TRUE(p.write_script("2", "var stanza = 2;").ok());
    write_bytes(made.folder / "res" / "ponte.png", "PNG");
    return made.folder;
  }

  TempDir t_;
  TempDir captures_;  // the program's output, kept apart from the files it may change
};

TEST_F(CliTest, VersionHelpUsageAndAWrongCommandLine) {
  CliRun v = run({"--version"});
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, "pagimond-cli 2.00\n");
  EXPECT_EQ(v.err, "");
  CliRun h = run({"--help"});
  EXPECT_EQ(h.status, 0);
  for (const char* word : {"compile", "single", "map", "package", "check", "encoding", "graph", "playtest", "new",
                           "history", "restore", "import", "export", "serve"})
    EXPECT_NE(h.out.find(word), std::string::npos) << word;
  // No command at all: the usage on standard error.
  CliRun u = run({});
  EXPECT_EQ(u.status, 2);
  EXPECT_EQ(u.out, "");
  for (const char* word : {"Usage", "compile", "single", "map", "new", "--help"})
    EXPECT_NE(u.err.find(word), std::string::npos) << word << " in " << u.err;

  // A wrong command line: one line naming the fault, status 2, nothing written.
  fs::path book = make_book();
  auto before = snapshot(t_.path());
  expect_refusal(run({"frobnicate"}), 2, "frobnicate");
  expect_refusal(run({"compile"}), 2, "PROJECT");
  expect_refusal(run({"map"}), 2, "PROJECT");
  expect_refusal(run({"new"}), 2, "TITLE");
  expect_refusal(run({"package", "--home", home().string()}), 2, "PROJECT");
  expect_refusal(run({"compile", book.string(), "--home", home().string(), "--bogus"}), 2, "--bogus");
  expect_refusal(run({"single", book.string(), "--classic", "--home", home().string()}), 2, "--classic");
  expect_refusal(run({"map", book.string(), "--phrase"}), 2, "--phrase");
  // A phrase that spells a link's opening would be rewritten again with every room.
  expect_refusal(run({"map", book.string(), "--phrase", "<a href=\"<a href=\""}), 2, "--phrase");
  expect_refusal(run({"compile", book.string(), "another", "--home", home().string()}), 2, "another");
  expect_refusal(run({"new", "Libro", "--home", ""}), 2, "--home needs a folder");
  expect_refusal(run({"serve", book.string(), "--port", "70000", "--home", home().string()}), 2, "--port");
  expect_refusal(run({"serve", "--home", home().string()}), 2, "PROJECT");
  EXPECT_EQ(snapshot(t_.path()), before);
}

// Folders that are no project, a missing program folder and a project inside the Output
// folder (which a compile would empty): refused with status 1, the folder named, nothing written.
TEST_F(CliTest, FoldersThatCannotBeUsedAreRefusedAndNothingIsWritten) {
  fs::path not_project = t_ / "Progetti vari";
  write_bytes(not_project / "Libro.dat", "\"Libro\"\r\n");  // a .dat but no Room/0
  fs::path book = make_book();
  fs::path inside = output() / "Libro";
  ASSERT_TRUE(pm::create_project(output(), "Libro", home(), "d").status.ok());
  auto before = snapshot(t_.path());
  for (const char* cmd : {"compile", "single", "map", "package"}) {
    std::vector<std::string> args{cmd, not_project.string()};
    if (std::string(cmd) != "map") args.insert(args.end(), {"--home", home().string()});
    expect_refusal(run(args), 1, not_project.string());
    if (std::string(cmd) != "map") expect_refusal(run({cmd, inside.string(), "--home", home().string()}), 1, inside.string());
  }
  expect_refusal(run({"compile", (home() / "Projects").string(), "--home", home().string()}), 1,
                 (home() / "Projects").string());
  expect_refusal(run({"map", (t_ / "nowhere").string()}), 1, (t_ / "nowhere").string());
  expect_refusal(run({"compile", book.string(), "--home", (t_ / "no home").string()}), 1, (t_ / "no home").string());
  EXPECT_EQ(snapshot(t_.path()), before);
}

TEST_F(CliTest, NewCreatesAProjectAsTheStartPageDoes) {
  CliRun r = run({"new", "Storia: capitolo 1?", "--home", home().string()});
  fs::path made = home() / "Projects" / pm::clean_project_name("Storia: capitolo 1?");
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, made.string() + "\n");
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(pm::check_project_folder(made));
  EXPECT_EQ(read_bytes(made / "adv.css"), "body{}\r\n");  // from the chosen program folder

  // --in chooses the parent folder; a relative one is taken from the working folder.
  fs::create_directories(t_ / "altrove");
  r = run({"new", "Il \"Drago\"", "--in", "altrove", "--home", home().string()}, {}, "", t_.path().string());
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, (t_ / "altrove" / pm::clean_project_name("Il \"Drago\"")).string() + "\n");

  // An accented title names the folder as written; the new book, Windows-1252, compiles to
  // pages that hold it in Windows-1252.
  const std::string title = "Citt\xC3\xA0 sul Fiume";
  made = home() / "Projects" / pm::path_from_text(title);
  r = run({"new", title, "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, pm::path_text(made) + "\n");
  ASSERT_TRUE(pm::check_project_folder(made));
  r = run({"compile", pm::path_text(made), "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(read_bytes(output() / "index.htm").find("Citt\xE0 sul Fiume"), std::string::npos);

  // PAGIMOND_HOME names the program folder, whose missing Projects folder is made; --home wins.
  fs::path env_home = t_ / "env home";
  fs::create_directories(env_home);
  r = run({"new", "Libro"}, {"PAGIMOND_HOME=" + env_home.string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, (env_home / "Projects" / "Libro").string() + "\n");
  EXPECT_TRUE(pm::check_project_folder(env_home / "Projects" / "Libro"));
  r = run({"new", "Altro", "--home", home().string()}, {"PAGIMOND_HOME=" + env_home.string()});
  EXPECT_EQ(r.out, (home() / "Projects" / "Altro").string() + "\n");
}

TEST_F(CliTest, NewRefusesAnExistingNameAnEmptyTitleAndAMissingFolder) {
  fs::path existing = home() / "Projects" / "Il Ponte";
  write_bytes(existing / "note", "mine");
  fs::path bare_home = t_ / "bare home";
  fs::create_directories(bare_home);
  auto before = snapshot(t_.path());
  expect_refusal(run({"new", "IL PONTE", "--home", home().string()}), 1, "Questo nome è già presente");
  expect_refusal(run({"new", "il ponte", "--home", home().string()}), 1, existing.string());
  expect_refusal(run({"new", "X", "--in", (t_ / "nowhere").string(), "--home", home().string()}), 1,
                 (t_ / "nowhere").string());
  // A refused project leaves no Projects folder behind.
  expect_refusal(run({"new", "", "--home", bare_home.string()}), 1, "Inserire un titolo");
  EXPECT_EQ(snapshot(t_.path()), before);
}

TEST_F(CliTest, CompileAndSingleWriteTheSiteIntoTheHomeOutput) {
  fs::path book = make_book();
  CliRun r = run({"compile", book.string(), "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
  for (const char* f : {"0.htm", "1.htm", "2.htm", "index.htm", "adv.css", "2.js", "res/ponte.png"})
    EXPECT_TRUE(fs::is_regular_file(output() / f)) << f;
  EXPECT_FALSE(fs::exists(output() / "old.htm"));
  EXPECT_NE(read_bytes(output() / "index.htm").find("viewport"), std::string::npos);  // mobile style by default

  // --classic, with the program folder found in the environment.
  r = run({"compile", book.string(), "--classic"}, {"PAGIMOND_HOME=" + home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_bytes(output() / "index.htm").find("viewport"), std::string::npos);

  // single: the whole book in one page, the earlier pages gone.
  write_bytes(output() / "old.htm", "left by an earlier compile");
  r = run({"single", book.string(), "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(fs::exists(output() / "old.htm"));
  EXPECT_FALSE(fs::exists(output() / "0.htm"));
  EXPECT_TRUE(fs::is_regular_file(output() / "res" / "ponte.png"));
  EXPECT_EQ(read_bytes(output() / "index.htm"), pm::render_single_file(pm::Project(book, "Il Ponte"), {"0", "1", "2"}));

  // An Output that cannot be written: the errors on standard error, status 1, the file kept.
  fs::remove_all(output());
  write_bytes(output(), "a file where the Output folder should be");
  for (const char* cmd : {"compile", "single"}) {
    r = run({cmd, book.string(), "--home", home().string()});
    EXPECT_EQ(r.status, 1) << cmd;
    EXPECT_GE(line_count(r.err), 1u) << cmd;
    EXPECT_EQ(r.err.rfind("pagimond-cli: ", 0), 0u) << r.err;
    EXPECT_EQ(read_bytes(output()), "a file where the Output folder should be");
  }
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

  // An output that cannot be written is reported.
  if (!fs::exists("/dev/full")) return;
  r = run({"map", book.string()}, {}, "/dev/full");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(line_count(r.err), 1u) << r.err;
}

// The sample book packed with the program folder's Extra files: an archive that unzip
// accepts, holding every room's page, the Extra files and an executable Start, in which
// every link of every page leads to a page of the archive. The book is named with a trailing
// separator, as a shell's completion writes it: its name is still the folder's own.
TEST_F(CliTest, PackageOfTheSampleBookIsAZipThatPlays) {
#if !defined(PAGIMOND_HAVE_LIBZIP)
  GTEST_SKIP() << "built without libzip";
#endif
  if (std::system("unzip -v >/dev/null 2>&1") != 0) GTEST_SKIP() << "no unzip";
  const fs::path sample = fs::path(PAGIMOND_SOURCE_DIR) / "app/Projects/Il Ponte sul Fiume";
  const fs::path book = home() / "Projects/Il Ponte sul Fiume";
  fs::copy(sample, book, fs::copy_options::recursive);
  fs::copy(fs::path(PAGIMOND_HOME_DIR) / "Extra", home() / "Extra", fs::copy_options::recursive);
  const fs::path zip = home() / "Distribuisci/Il Ponte sul Fiume.zip";

  CliRun r = run({"package", book.string() + "/", "--home", home().string()});
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, zip.string() + "\n");
  EXPECT_EQ(r.err, "");
  auto quote = [](const fs::path& p) { return pmtest::shell_quote(p.string()); };
  EXPECT_EQ(std::system(("unzip -tqq " + quote(zip) + " >/dev/null").c_str()), 0);
  const fs::path unpacked = t_ / "unpacked";
  ASSERT_EQ(std::system(("unzip -qq " + quote(zip) + " -d " + quote(unpacked)).c_str()), 0);
  const fs::path top = unpacked / "Il Ponte sul Fiume";

  for (const auto& room : pm::Project(book, "Il Ponte sul Fiume").room_names())
    EXPECT_TRUE(fs::is_regular_file(top / (room + ".htm"))) << room;
  for (const char* f : {"index.htm", "adv.css", "Help.txt", "ReadMe.txt", "res"}) EXPECT_TRUE(fs::exists(top / f)) << f;
  EXPECT_NE(fs::status(top / "Start").permissions() & fs::perms::owner_exec, fs::perms::none);

  const std::regex link(R"((?:href=|url=)['"]?([^'" >]+\.htm)\b)");
  std::set<std::string> reached;
  for (auto& e : fs::directory_iterator(top)) {
    if (e.path().extension() != ".htm") continue;
    const std::string page = read_bytes(e.path());
    for (std::sregex_iterator m(page.begin(), page.end(), link), end; m != end; ++m) reached.insert((*m)[1]);
  }
  EXPECT_TRUE(reached.count("0.htm") && reached.count("12.htm"));
  for (const auto& target : reached) EXPECT_TRUE(fs::is_regular_file(top / target)) << target;
}

TEST_F(CliTest, CheckPrintsCompilerLinesAndExitsOneOnErrors) {
  fs::path book = make_book();
  const std::string b = book.string();
  CliRun r = run({"check", b});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, b + ": 3 rooms checked, 0 errors, 0 warnings\n");
  EXPECT_EQ(r.err, "");

  ASSERT_TRUE(pm::Project(book, book.filename().string()).write_text("2", "Una porta.\r\n<a href='40.htm'>Avanti</a>").ok());
  r = run({"check", b});
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.out, b + "/2:2: error: link to 40.htm: no such room\n" + b + ": 3 rooms checked, 1 error, 0 warnings\n");
  r = run({"check", b, "--json"});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.out.find("\"errors\": 1,"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"line\": 2, \"text\": \"<a href='40.htm'>\""), std::string::npos) << r.out;

  expect_refusal(run({"check", home().string()}), 1, home().string());
  expect_refusal(run({"check"}), 2, "PROJECT");
}

// The small book's readers go round for ever (no ending): a closed loop of three rooms, in
// lines or in JSON; a wrong number of readers is a wrong command line.
TEST_F(CliTest, PlaytestReportsTheLoopAndRefusesABadCount) {
  const std::string b = make_book().string();
  CliRun r = run({"playtest", b, "--runs", "50", "--max-steps", "20"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("closed loop: rooms 0, 1, 2: probability 100.000%, readers 100.000%"), std::string::npos) << r.out;
  r = run({"playtest", b, "--json", "--seed", "3"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_NE(r.out.find("\"seed\": 3"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("\"endings\": [],"), std::string::npos) << r.out;
  expect_refusal(run({"playtest", b, "--runs", "0"}), 2, "--runs");
  expect_refusal(run({"playtest", b, "--max-steps", "many"}), 2, "--max-steps");
  expect_refusal(run({"playtest"}), 2, "PROJECT");
}

// A book made of files in two encodings: the check warns at each file's first line in the
// other one, the encoding command converts those files only, atomically, and again nothing.
TEST_F(CliTest, CheckWarnsOfAnotherEncodingAndEncodingMendsIt) {
  const fs::path book = make_book();
  const std::string b = book.string();
  write_bytes(book / "1", "Citt\xE0 vecchia\r\n<meta http-equiv='refresh' content='3; url=0.htm'>");
  write_bytes(book / "2", "Una porta.\r\nLa citt\xC3\xA0 nuova\r\n<a href='0.htm'>Torna</a>");
  CliRun r = run({"check", b});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, b + "/2:2: warning: line in UTF-8, the book is in Windows-1252 (pagimond-cli encoding converts it)\n" +
                       b + ": 3 rooms checked, 0 errors, 1 warning\n");

  const auto files = snapshot(book);
  expect_refusal(run({"encoding", b, "--to", "latin-1"}), 2, "--to");
  EXPECT_EQ(snapshot(book), files);
  r = run({"encoding", b + "/"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, b + "/2\n" + b + ": Windows-1252, 1 file converted\n");
  EXPECT_EQ(read_bytes(book / "2"), "Una porta.\r\nLa citt\xE0 nuova\r\n<a href='0.htm'>Torna</a>");
  EXPECT_EQ(read_bytes(book / "1"), "Citt\xE0 vecchia\r\n<meta http-equiv='refresh' content='3; url=0.htm'>");
  r = run({"encoding", b});
  EXPECT_EQ(r.out, b + ": Windows-1252, 0 files converted\n");
  EXPECT_EQ(run({"check", b}).out, b + ": 3 rooms checked, 0 errors, 0 warnings\n");

  r = run({"encoding", b, "--to", "UTF-8"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_bytes(book / "1"), "Citt\xC3\xA0 vecchia\r\n<meta http-equiv='refresh' content='3; url=0.htm'>");
  EXPECT_EQ(read_bytes(book / "2"), "Una porta.\r\nLa citt\xC3\xA0 nuova\r\n<a href='0.htm'>Torna</a>");
  expect_refusal(run({"encoding", home().string()}), 1, home().string());
}

TEST_F(CliTest, HistoryListsVersionsAndRestoreBringsOneBack) {
  const fs::path book = make_book();
  const std::string b = book.string();
  pm::Project p(book, book.filename().string());
  const std::string first = read_bytes(book / "1");
  ASSERT_TRUE(p.write_text("1", "Il grifone.").ok());
  ASSERT_TRUE(p.write_text("1", "Il grifone vola.").ok());

  CliRun r = run({"history", b, "1"});
  EXPECT_EQ(r.status, 0) << r.err;
  const std::regex line(R"(\d  \d\d/\d\d/\d{4} \d\d:\d\d:\d\d  \d+ byte  salvataggio\n)");
  ASSERT_EQ(line_count(r.out), 2u) << r.out;
  EXPECT_TRUE(std::regex_search(r.out, line)) << r.out;
  EXPECT_EQ(r.out.rfind("1  ", 0), 0u);
  EXPECT_NE(r.out.find("  13 byte  "), std::string::npos) << r.out;  // "Il grifone." and CR LF
  r = run({"history", b});
  EXPECT_NE(r.out.find("1  1  "), std::string::npos) << r.out;

  r = run({"restore", b, "1", "--version", "2", "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(read_bytes(book / "1"), first);
  EXPECT_EQ(line_count(run({"history", b, "1"}).out), 3u);  // the restore kept what it replaced

  const auto files = snapshot(book);
  expect_refusal(run({"restore", b, "1", "--version", "9"}), 1, "no version 9 of 1");
  expect_refusal(run({"restore", b, "1"}), 2, "--version");
  expect_refusal(run({"restore", b, "../x", "--version", "1"}), 2, "ROOM");
  EXPECT_EQ(snapshot(book), files);
}

TEST_F(CliTest, GraphDrawsSvgPngOrDotOnStandardOutput) {
#if !defined(PAGIMOND_HAVE_GRAPHVIZ)
  GTEST_SKIP() << "built without Graphviz";
#endif
  const std::string b = make_book().string();
  CliRun r = run({"graph", b});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("<?xml", 0), 0u);  // (the drawing itself is checked in graph_map_test)
  EXPECT_NE(r.out.find("class=\"node\""), std::string::npos);
  r = run({"graph", b, "--format", "png"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind("\x89PNG\r\n", 0), 0u);
  r = run({"graph", b, "--format", "dot"});
  EXPECT_EQ(r.out.rfind("digraph libro {", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("n1 -> n0 [style=dashed];"), std::string::npos) << r.out;
  expect_refusal(run({"graph", b, "--format", "pdf"}), 2, "pdf");
}

TEST_F(CliTest, ExportAsTweeAndImportBack) {
  fs::path book = make_book();
  // Wrong command lines: nothing is written, not even the story's IFID.
  auto before = snapshot(t_.path());
  expect_refusal(run({"export", book.string()}), 2, "--format");
  expect_refusal(run({"export", book.string(), "--format", "rtf"}), 2, "rtf");
  expect_refusal(run({"export", book.string(), "--format", "twee", "--story-format", "Harlowe"}), 2, "NAME@VERSION");
  expect_refusal(run({"import", "--home", home().string()}), 2, "FILE");
  expect_refusal(run({"import", (t_ / "manca.twee").string(), "--home", home().string()}), 1, "manca.twee");
  EXPECT_EQ(snapshot(t_.path()), before);

  CliRun r = run({"export", book.string(), "--format", "twee", "--story-format", "SugarCube@2.37.3"});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out.rfind(":: StoryTitle\nIl Ponte\n", 0), 0u) << r.out;
  EXPECT_NE(r.out.find("\"format\": \"SugarCube\",\n\t\"format-version\": \"2.37.3\""), std::string::npos);
  EXPECT_NE(r.out.find("Vai [[avanti->La riva]] o [[indietro->Porta, chiusa]]."), std::string::npos) << r.out;
  // The timed jump and the script are named on standard error, one line each.
  EXPECT_EQ(line_count(r.err), 2u) << r.err;
  EXPECT_NE(r.err.find("stanza 1 (\"La riva\"), riga 2: salto a tempo"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("2.js"), std::string::npos) << r.err;
  const std::string ifid = read_bytes(book / "story.ifid");
  ASSERT_EQ(ifid.size(), 38u);
  EXPECT_NE(r.out.find("\"ifid\": \"" + ifid.substr(0, 36) + "\""), std::string::npos);

  // --out writes the file; the IFID is the one kept.
  r = run({"export", book.string(), "--format", "twee", "--out", (t_ / "libro.twee").string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, "");
  const std::string twee = read_bytes(t_ / "libro.twee");
  EXPECT_NE(twee.find(ifid.substr(0, 36)), std::string::npos);
  EXPECT_NE(twee.find("\"format\": \"Harlowe\""), std::string::npos);

  // Back in, beside the original (an existing name is refused).
  expect_refusal(run({"import", (t_ / "libro.twee").string(), "--home", home().string()}), 1, "Il Ponte");
  fs::create_directories(t_ / "copie");
  r = run({"import", (t_ / "libro.twee").string(), "--in", (t_ / "copie").string(), "--home", home().string()});
  EXPECT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.out, (t_ / "copie" / "Il Ponte").string() + "\n");
  EXPECT_EQ(r.err, "");
  pm::Project copy(t_ / "copie" / "Il Ponte", "Il Ponte");
  EXPECT_EQ(copy.read_text("0"), pm::Project(book, "Il Ponte").read_text("0"));
  EXPECT_EQ(copy.read_description_text("2"), "Porta, chiusa");
}

}  // namespace

#endif

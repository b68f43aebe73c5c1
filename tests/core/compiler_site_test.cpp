// The whole-project compile on real folders: pages, copies, the start page, the emptied
// output folder and case-blind project file names.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "compiler/site_compiler.h"
#include "support/folder_names.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pm::PageStyle;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

class CompilerSite : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path book = dir / "Projects/Libro";
  fs::path out = dir / "Output";
  pm::Project project{book, "Libro"};

  void write(const std::string& rel, std::string_view bytes) { write_bytes(book / rel, bytes); }
  std::string output(const std::string& rel) { return read_bytes(out / rel); }
  bool exists(const std::string& rel) { return fs::exists(out / rel); }
};

pm::ProjectFields title_fields(std::string title, std::string date, std::string author, std::string site,
                               std::string email, std::string skip) {
  pm::ProjectFields f;
  f.f = {"Libro", title, date, author, site, email, "100%", "", "", skip};
  return f;
}

TEST_F(CompilerSite, CompilesPagesCopiesAndStartPage) {
  write("Libro.dat", "\"Libro\",\"Prova\",\"01/02/2024\",\"Io\",\"\",\"\",\"100%\",\"1\",\"Pagimond 2.00\"\r\n");
  write("0", "Inizio <a href=\"1.htm\">vai</a>\r\n");
  write("1", "Uno\r\n");
  write("2", "Due\r\n");
  write("3", "");  // a deleted room
  write("1.js", "alert(1);\r\n");
  write("adv.css", "body{}");
  write("res/ponte.png", "\x89PNG");
  write("res/suoni/a.wav", "RIFF");

  auto report = pm::compile_project(project, {"0", "1", "10", "2", "3"}, out, PageStyle::Mobile);
  EXPECT_TRUE(report.ok());
  EXPECT_EQ(report.pages, 3u);
  for (auto name : {"0.htm", "1.htm", "2.htm", "index.htm", "adv.css", "1.js", "res/ponte.png", "res/suoni/a.wav"})
    EXPECT_TRUE(exists(name)) << name;
  EXPECT_FALSE(exists("3.htm"));
  EXPECT_FALSE(exists("10.htm"));  // listed but without a text file
  EXPECT_NE(output("1.htm").find("Uno<br />\r\nalert(1);\r\n</td>"), std::string::npos);
  EXPECT_NE(output("0.htm").find("<title>Prova by Io -  - </title>"), std::string::npos);
  // Nine fields: no skip flag, so the title page, without the credit line in this style.
  EXPECT_NE(output("index.htm").find("<a href='0.htm'>Continua >></a>"), std::string::npos);
  EXPECT_EQ(output("index.htm").find("Creato con"), std::string::npos);
}

TEST_F(CompilerSite, OutputHoldsOnlyTheLastCompiledBook) {
  write_bytes(out / "7.htm", "old");
  write_bytes(out / "res/vecchio.png", "old");
  write_bytes(out / "altro/dentro/x.htm", "old");
  write("0", "Ciao\r\n");
  auto report = pm::compile_project(project, {"0"}, out, PageStyle::Classic);
  EXPECT_TRUE(report.ok());
  std::set<std::string> names;
  for (auto& e : fs::recursive_directory_iterator(out)) names.insert(fs::relative(e.path(), out).string());
  EXPECT_EQ(names, (std::set<std::string>{"0.htm", "index.htm", "res"}));
}

#if !defined(_WIN32)  // Windows empties Output in place, and links need rights there
TEST_F(CompilerSite, OutputIsEmptiedAsideAndNothingStaysBesideIt) {
  // What an interrupted compile left aside goes with the next one; Output keeps its place.
  write_bytes(dir / (pm::FolderEmptying::aside_prefix(out) + "42") / "res" / "x.png", "old");
  write_bytes(out / "9.htm", "old");
  write("0", "Ciao\r\n");
  EXPECT_TRUE(pm::compile_project(project, {"0"}, out, PageStyle::Classic).ok());
  EXPECT_EQ(pmtest::names_in(dir.path()), (std::vector<std::string>{"Output", "Projects"}));
  EXPECT_TRUE(exists("0.htm"));
  EXPECT_FALSE(exists("9.htm"));

  // An Output that is a link to a folder stays a link: the folder it names is emptied.
  fs::path target = dir / "altrove";
  write_bytes(target / "vecchio.htm", "old");
  fs::remove_all(out);
  fs::create_directory_symlink(target, out);
  EXPECT_TRUE(pm::compile_project(project, {"0"}, out, PageStyle::Classic).ok());
  EXPECT_TRUE(fs::is_symlink(out));
  EXPECT_TRUE(fs::exists(target / "0.htm"));
  EXPECT_FALSE(fs::exists(target / "vecchio.htm"));
}
#endif

TEST_F(CompilerSite, EveryPageOfALargeBookIsTheRenderedRoom) {
  // More rooms than are read ahead at once: missing and empty texts, scripts in any case,
  // names that are no file names, all in list order.
  write("Global.cod", "G\r\n");
  write("Global2.cod", "H\r\n");
  std::vector<std::string> rooms;
  for (int i = 0; i < 400; ++i) {
    const std::string n = std::to_string(i);
    rooms.push_back(n);
    if (i % 97 == 5) rooms.push_back("../" + n);
    if (i % 26 == 0) fs::create_directories(book / n);  // no text file but a folder of its name
    if (i % 13 == 0) continue;                          // listed, no text file
    write(n, i % 11 == 0 ? "" : "Stanza " + n + "  <a href=\"" + std::to_string(i + 1) + ".htm\">via</a>\r\n");
    if (i % 7 == 0) write(n + (i % 2 ? ".JS" : ".js"), "s" + n + "\r\n");
  }
  const pm::ProjectFields fields = project.read_fields();
  auto report = pm::compile_project(project, rooms, out, PageStyle::Mobile);
  size_t pages = 0;
  std::vector<std::string> bad_names;
  for (const auto& room : rooms) {
    if (room.find('/') != std::string::npos) {
      bad_names.push_back("Nome di stanza non valido: " + room);
      continue;
    }
    const int i = std::stoi(room);
    const std::string text = fs::is_regular_file(book / room) ? read_bytes(book / room) : "";
    const std::string script = i % 7 == 0 && i % 13 != 0 ? "s" + room + "\r\n" : "";
    auto expected = pm::render_room_page({text, script, "G\r\n", "H\r\n"}, fields, PageStyle::Mobile);
    ASSERT_EQ(exists(room + ".htm"), expected.has_value()) << room;
    if (!expected) continue;
    ++pages;
    ASSERT_EQ(output(room + ".htm"), *expected) << room;
  }
  EXPECT_EQ(report.pages, pages);
  EXPECT_EQ(report.errors, bad_names);
}

TEST_F(CompilerSite, ProjectFileNamesAreFoundInAnyCase) {
  write("global.cod", "PRIMA\r\n");
  write("GLOBAL2.COD", "DOPO\r\n");
  write("STYLE.CSS", "x");
  write("ADV.CSS", "a");
  write("Res/Img.PNG", "png");
  write("0", "Ciao\r\n");
  write("0.JS", "js0\r\n");
  auto report = pm::compile_project(project, {"0"}, out, PageStyle::Classic);
  EXPECT_TRUE(report.ok());
  EXPECT_EQ(output("STYLE.CSS"), "x");
  EXPECT_EQ(output("adv.css"), "a");  // the name the pages link
  EXPECT_EQ(output("res/Img.PNG"), "png");
  EXPECT_NE(output("0.htm").find("PRIMA<br>\r\nCiao<br>\r\njs0\r\nDOPO\r\n"), std::string::npos);
}

TEST_F(CompilerSite, LineEndsAndBytesOfAnyBookComeOutUnchangedWithCrLf) {
  write("Global.cod", "g1\ng2");
  write("0", "caff\xE8\nna\xC3\xAFve\rfine");
  pm::compile_project(project, {"0"}, out, PageStyle::Classic);
  EXPECT_NE(output("0.htm").find("g1<br>\r\ng2<br>\r\ncaff\xE8<br>\r\nna\xC3\xAFve<br>\r\nfine<br>\r\n"),
            std::string::npos);
}

TEST_F(CompilerSite, RefusesAnOutputFolderThatHoldsTheProject) {
  write("0", "Ciao\r\n");
  auto report = pm::compile_project(project, {"0"}, dir / "Projects", PageStyle::Classic);
  EXPECT_FALSE(report.ok());
  EXPECT_EQ(read_bytes(book / "0"), "Ciao\r\n");
  EXPECT_FALSE(fs::exists(book / "0.htm"));
  report = pm::compile_project(project, {"0"}, book / "res", PageStyle::Classic);
  EXPECT_FALSE(report.ok());
  EXPECT_EQ(read_bytes(book / "0"), "Ciao\r\n");
}

TEST(StartPage, TitlePageRedirectAndCreditLine) {
  const std::string head_end = "<td class='adventure' width='100%'>\r\n";
  const std::string tail = "</td>\r\n</tr>\r\n</table>\r\n</center>\r\n</div>\r\n</body>\r\n</html>\r\n";

  std::string full = pm::render_start_page(title_fields("Prova", "1/2/24", "Io", "http://io", "io@x", "0"),
                                           PageStyle::Classic);
  EXPECT_EQ(full.substr(full.find(head_end) + head_end.size()),
            "<center>\r\n<br><br>\r\nTitolo: <br><b>Prova</b><br><br>\r\nData: <br>1/2/24<br><br>\r\n"
            "Autore: <br>Io<br><br>\r\nSito Web: <br>http://io<br><br>\r\nEmail: <br>io@x<br><br>\r\n"
            "<a href='0.htm'>Continua >></a>\r\n<br><br>\r\n<br><br>\r\n" +
                pm::credit_line() + "\r\n</center>\r\n" + tail);

  // Mobile: viewport line, its own break tag, no credit line; empty fields leave their lines out.
  std::string mobile = pm::render_start_page(title_fields("Prova", "", "", "", "", ""), PageStyle::Mobile);
  EXPECT_NE(mobile.find("initial-scale=1'>\r\n"), std::string::npos);
  EXPECT_EQ(mobile.substr(mobile.find(head_end) + head_end.size()),
            "<center>\r\n<br /><br />\r\nTitolo: <br /><b>Prova</b><br /><br />\r\n"
            "<a href='0.htm'>Continua >></a>\r\n<br /><br />\r\n<br /><br />\r\n</center>\r\n" + tail);

  // Field 10 = 1: straight to room 0.
  std::string skip = pm::render_start_page(title_fields("Prova", "d", "a", "s", "e", "1"), PageStyle::Classic);
  EXPECT_EQ(skip.substr(skip.find(head_end) + head_end.size()),
            "<script>\r\nwindow.location='0.htm';\r\n</script>\r\n"
            "<meta http-equiv='refresh' content='0; url=0.htm'>\r\n" + tail);
}

TEST_F(CompilerSite, StartPageReadsTheProjectFile) {
  write("Libro.dat", "\"Libro\",\"T\",\"\",\"\",\"\",\"\",\"90%\",,,1\r\n");
  pm::compile_project(project, {}, out, PageStyle::Mobile);
  EXPECT_NE(output("index.htm").find("<table width='90%'>\r\n<tr>\r\n<td class='adventure' width='100%'>\r\n<script>"),
            std::string::npos);
}

}  // namespace

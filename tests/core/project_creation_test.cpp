// Creating a project on disk (folders, project file, style sheets, global.cod, room 0),
// the name made from the title, the refusals, and the check that tells a project folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "project/book_encoding.h"
#include "project/project.h"
#include "project/project_creation.h"
#include "rooms/room_list.h"
#include "support/folder_names.h"
#include "support/temp_dir.h"

namespace {

using pmtest::names_in;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

class CreationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    write_bytes(t_ / "home" / "adv.css", "body{}");
    write_bytes(t_ / "home" / "STAMPA.CSS", "@media print{}");
    write_bytes(t_ / "home" / "Hg.iss", "not a style sheet");
    fs::create_directories(projects());
  }
  fs::path home() const { return t_ / "home"; }
  fs::path projects() const { return t_ / "home" / "Projects"; }
  TempDir t_;
};

TEST_F(CreationTest, MakesTheWholeProjectFolder) {
  auto r = pm::create_project(projects(), "Il \"Drago\" rosso", home(), "07/12/2026");
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  EXPECT_EQ(r.name, "Il  Drago  rosso");
  EXPECT_EQ(r.folder, projects() / "Il  Drago  rosso");
  EXPECT_EQ(names_in(r.folder), (std::vector<std::string>{"0", "Il  Drago  rosso.dat", "Room", "STAMPA.CSS",
                                                          "adv.css", "global.cod", "res"}));
  // Nine quoted fields; the title keeps the words, each double quote made two apostrophes.
  EXPECT_EQ(read_bytes(r.folder / "Il  Drago  rosso.dat"),
            "\"Il  Drago  rosso\",\"Il ''Drago'' rosso\",\"07/12/2026\",\"Realizzato con Pagimond\",\"" +
                std::string(pm::kMakerSite) + "\",\"\",\"100%\",\"1\",\"Pagimond 2.00\"\r\n");
  EXPECT_EQ(read_bytes(r.folder / "adv.css"), "body{}");
  EXPECT_EQ(read_bytes(r.folder / "STAMPA.CSS"), "@media print{}");
  EXPECT_TRUE(fs::is_regular_file(r.folder / "global.cod"));
  EXPECT_EQ(fs::file_size(r.folder / "global.cod"), 0u);
  EXPECT_EQ(read_bytes(r.folder / "Room" / "0"), "Luogo di partenza\r\n");
  EXPECT_EQ(read_bytes(r.folder / "0"), "\r\n");
  EXPECT_TRUE(fs::is_directory(r.folder / "res"));
  EXPECT_TRUE(fs::is_empty(r.folder / "res"));

  // The new folder is a project, its list starts with room 0, and the title reads back.
  auto ref = pm::check_project_folder(r.folder);
  ASSERT_TRUE(ref);
  EXPECT_EQ(ref->name, r.name);
  pm::Project project(r.folder, r.name);
  EXPECT_EQ(pm::build_room_list(project), (std::vector<std::string>{" 0 | Luogo di partenza"}));
  EXPECT_EQ(project.read_fields().title(), "Il ''Drago'' rosso");
  EXPECT_EQ(project.read_fields().f[9], "");

  // A new book is Windows-1252: a title beyond ASCII is written so, "ő" as a reference; the
  // folder keeps the title's own spelling.
  auto city = pm::create_project(projects(), "Citt\xC3\xA0 di Lisz\xC5\x91", home(), "07/12/2026");
  ASSERT_TRUE(city.status.ok()) << city.status.message();
  EXPECT_TRUE(fs::is_directory(projects() / pm::path_from_text("Citt\xC3\xA0 di Lisz\xC5\x91")));
  EXPECT_EQ(read_bytes(city.folder / pm::path_from_text(city.name + ".dat")).rfind("\"Citt\xE0 di Lisz&#337;\",\"Citt\xE0 di Lisz&#337;\",\"", 0),
            0u);
  EXPECT_EQ(pm::book_encoding(city.folder), pm::TextEncoding::Windows1252);
}

TEST_F(CreationTest, TheNameIsTheTitleWithForbiddenCharactersBlanked) {
#if defined(_WIN32)  // a Windows folder name cannot end in a blank or a dot
  EXPECT_EQ(pm::clean_project_name("Storia: capitolo 1?"), "Storia  capitolo 1");
  EXPECT_EQ(pm::clean_project_name("Fine. ?"), "Fine");
  EXPECT_EQ(pm::clean_project_name("!|/?<>\\*,:\""), "");
  EXPECT_EQ(pm::clean_project_name("  Citt\xC3\xA0; (2)  "), "  Citt\xC3\xA0; (2)");
#else
  EXPECT_EQ(pm::clean_project_name("Storia: capitolo 1?"), "Storia  capitolo 1 ");
  EXPECT_EQ(pm::clean_project_name("!|/?<>\\*,:\""), "           ");
  EXPECT_EQ(pm::clean_project_name("  Città; (2)  "), "  Città; (2)  ");
#endif
  EXPECT_EQ(pm::clean_project_name("intro.htm"), "intro");
  EXPECT_EQ(pm::clean_project_name("INTRO.HTM"), "INTRO.HTM");
  EXPECT_EQ(pm::clean_project_name("a.html"), "al");
}

TEST_F(CreationTest, RefusesAnEmptyTitleAndAnExistingName) {
  for (const std::string title : {"", "\\"}) {
    auto r = pm::create_project(projects(), title, home());
    EXPECT_EQ(r.status.kind(), pm::StatusKind::NoTitle);
    EXPECT_EQ(r.status.message(), "Inserire un titolo");
  }
  fs::create_directories(projects() / "Il Ponte");
  write_bytes(projects() / "Il Ponte" / "keep", "mine");
  for (const std::string title : {"Il Ponte", "IL PONTE", "il ponte.htm"}) {
    auto r = pm::create_project(projects(), title, home());
    EXPECT_EQ(r.status.kind(), pm::StatusKind::NameExists) << title;
    EXPECT_EQ(r.status.message(), "Questo nome è già presente");
  }
  EXPECT_EQ(names_in(projects() / "Il Ponte"), (std::vector<std::string>{"keep"}));
  EXPECT_EQ(names_in(projects()), (std::vector<std::string>{"Il Ponte"}));
}

TEST_F(CreationTest, ATitleThatNamesNoFolderOfItsOwnIsRefused) {
  // These would write the project's files into the parent folder or above it.
  for (const std::string title : {".htm", "???", "  ", ".", "..", "...htm"}) {
    auto r = pm::create_project(projects(), title, home());
    EXPECT_EQ(r.status.kind(), pm::StatusKind::BadName) << title;
    EXPECT_FALSE(r.status.message().empty());
  }
  EXPECT_TRUE(fs::is_empty(projects()));
  EXPECT_EQ(names_in(home()), (std::vector<std::string>{"Hg.iss", "Projects", "STAMPA.CSS", "adv.css"}));
}

TEST_F(CreationTest, AMissingParentIsReportedAndNothingIsMade) {
  auto r = pm::create_project(t_ / "nowhere", "Libro", home());
  EXPECT_EQ(r.status.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(r.status.message().find((t_ / "nowhere" / "Libro").string()), std::string::npos) << r.status.message();
  EXPECT_FALSE(fs::exists(t_ / "nowhere"));

  write_bytes(t_ / "afile", "x");
  r = pm::create_project(t_ / "afile", "Libro", home());
  EXPECT_EQ(r.status.kind(), pm::StatusKind::WriteFailed);
  EXPECT_EQ(read_bytes(t_ / "afile"), "x");
}

TEST_F(CreationTest, AHomeWithoutStyleSheetsStillCreates) {
  auto r = pm::create_project(projects(), "Libro", t_ / "empty-home", "d");
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  EXPECT_EQ(names_in(r.folder), (std::vector<std::string>{"0", "Libro.dat", "Room", "global.cod", "res"}));
}

TEST_F(CreationTest, AStyleSheetThatCannotBeCopiedIsReportedAndNothingIsMade) {
  // A sheet whose name is as long as a name may be: the copy's temporary name beside it
  // is too long, so the copy fails whatever the rights of the user running the test.
  write_bytes(home() / (std::string(250, 'a') + ".css"), "x");
  auto r = pm::create_project(projects(), "Libro", home(), "d");
  EXPECT_EQ(r.status.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(r.status.message().find("fogli di stile"), std::string::npos) << r.status.message();
  EXPECT_TRUE(fs::is_empty(projects()));
}

TEST(ProjectCheckTest, NeedsADatFileAndRoomZero) {
  TempDir t;
  fs::path p = t / "Libro";
  EXPECT_FALSE(pm::check_project_folder(p));  // missing folder
  write_bytes(p / "Libro.dat", "\"Libro\"\r\n");
  EXPECT_FALSE(pm::check_project_folder(p));  // no Room/0
  write_bytes(p / "Room" / "1", "x\r\n");
  EXPECT_FALSE(pm::check_project_folder(p));
  fs::create_directories(p / "Room" / "0");  // a folder is not a readable room file
  EXPECT_FALSE(pm::check_project_folder(p));
  fs::remove(p / "Room" / "0");
  write_bytes(p / "Room" / "0", "");
  auto ref = pm::check_project_folder(p);
  ASSERT_TRUE(ref);
  EXPECT_EQ(ref->folder, p);
  EXPECT_EQ(ref->name, "Libro");

  fs::remove(p / "Libro.dat");
  fs::create_directories(p / "Libro.dat");  // a folder with a .dat name is no project file
  EXPECT_FALSE(pm::check_project_folder(p));
}

TEST(ProjectCheckTest, TakesTheFirstDatFileInNameOrderWhateverTheCase) {
  TempDir t;
  write_bytes(t / "room" / "0", "\r\n");
  write_bytes(t / "b.dat", "");
  write_bytes(t / "C.DAT", "");
  auto ref = pm::check_project_folder(t.path());
  ASSERT_TRUE(ref);
  EXPECT_EQ(ref->name, "b");
  write_bytes(t / "A.Dat", "");
  EXPECT_EQ(pm::check_project_folder(t.path())->name, "A");
}

}  // namespace

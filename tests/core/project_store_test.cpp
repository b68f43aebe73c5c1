// The project store on real files: the project file in its properties form (the creation
// form is checked by the creation test), comma-separated data fields, room description, text and script files by number, the
// room count, and the program folder's Last.ini, placement files and Res.ini.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "base/program_folder.h"
#include "project/project.h"
#include "project/project_file.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

pm::ProjectFields fields(std::array<std::string, 10> f) {
  pm::ProjectFields out;
  out.f = std::move(f);
  return out;
}

TEST(ProjectFileTest, PropertiesWriteTenFieldsWithEightAndNineEmptyAndTenBare) {
  TempDir t;
  pm::Project p(t.path(), "Libro");
  auto f = fields({"Libro", "Titolo, con virgola", "1/1/2025", "Io", "s", "e@x", "800", "1", "Pagimond 2.00", "1"});
  ASSERT_TRUE(p.write_properties_fields(f).ok());
  EXPECT_EQ(read_bytes(t / "Libro.dat"),
            "\"Libro\",\"Titolo, con virgola\",\"1/1/2025\",\"Io\",\"s\",\"e@x\",\"800\",,,1\r\n");
  auto back = p.read_fields();
  EXPECT_EQ(back.title(), "Titolo, con virgola");
  EXPECT_EQ(back.width(), "800");
  EXPECT_EQ(back.f[7], "");
  EXPECT_EQ(back.f[8], "");
  EXPECT_EQ(back.f[9], "1");
  EXPECT_TRUE(back.skip_start_page());

  f.f[9] = "";
  ASSERT_TRUE(p.write_properties_fields(f).ok());
  EXPECT_EQ(read_bytes(t / "Libro.dat").substr(read_bytes(t / "Libro.dat").size() - 6), ",,,0\r\n");
  EXPECT_FALSE(p.read_fields().skip_start_page());

  // A field cannot carry a double quote, and the line stays readable.
  f = fields({"x", "Il \"Drago\"", "", "", "", "", "", "", "", "0"});
  const std::string line = pm::format_properties_line(f);
  EXPECT_EQ(line, "\"x\",\"Il ''Drago''\",\"\",\"\",\"\",\"\",\"\",,,0\r\n");
  EXPECT_EQ(pm::parse_project_line(line).title(), "Il ''Drago''");
}

TEST(ProjectFileTest, MissingFieldsAndMissingFileReadEmptyAndDataFieldsReadAsData) {
  auto f = pm::parse_project_line("\"a\",\"b\"\r\n\"second line\"");
  EXPECT_EQ(f.name(), "a");
  EXPECT_EQ(f.title(), "b");
  for (size_t i = 2; i < 10; ++i) EXPECT_EQ(f.f[i], "") << "field " << i + 1;

  TempDir t;
  auto none = pm::Project(t.path(), "none").read_fields();
  for (const auto& v : none.f) EXPECT_EQ(v, "");
  EXPECT_FALSE(none.skip_start_page());

  // Field 10 counts as a number: empty or 0 shows the start page, 1 skips it.
  EXPECT_FALSE(pm::parse_project_line("\"a\",,,,,,,,,").skip_start_page());
  EXPECT_FALSE(pm::parse_project_line("\"a\",,,,,,,,,0").skip_start_page());
  EXPECT_TRUE(pm::parse_project_line("\"a\",,,,,,,,, 1 ").skip_start_page());
  EXPECT_FALSE(pm::parse_project_line("\"a\",,,,,,,,,2").skip_start_page());

  // Comma-separated data fields.
  size_t pos = 0;
  std::string_view line = "  Porta, chiusa \r\nnext";
  EXPECT_EQ(pm::read_data_field(line, pos), "Porta");
  EXPECT_EQ(pm::read_data_field(line, pos), "chiusa");
  EXPECT_EQ(pm::read_data_field(line, pos), "");  // stops at the line end
  // (Descriptions are checked through the room list in its test.)
}

TEST(ProjectTest, RoomFilesByNumber) {
  TempDir t;
  pm::Project p(t.path(), "Libro");
  fs::create_directories(t / "Room");
  ASSERT_TRUE(p.write_description("3", "La cantina").ok());
  EXPECT_EQ(read_bytes(t / "Room" / "3"), "La cantina\r\n");
  EXPECT_EQ(p.read_description_text("3"), "La cantina");

  ASSERT_TRUE(p.write_text("3", "riga 1\r\n\r\nriga 3").ok());
  EXPECT_EQ(read_bytes(t / "3"), "riga 1\r\n\r\nriga 3\r\n");
  EXPECT_EQ(p.read_text("3"), "riga 1\r\n\r\nriga 3\r\n");
  ASSERT_TRUE(p.write_text("4", "").ok());
  EXPECT_EQ(read_bytes(t / "4"), "\r\n");  // a new room's text: one empty line
  ASSERT_TRUE(p.write_text_bytes("4", "").ok());
  EXPECT_EQ(fs::file_size(t / "4"), 0u);  // a deleted room's text: zero bytes

  ASSERT_TRUE(p.write_script("3", "alert(1);").ok());
  EXPECT_EQ(read_bytes(t / "3.js"), "alert(1);\r\n");
  EXPECT_EQ(p.read_script("3"), "alert(1);\r\n");
  EXPECT_TRUE(p.remove_script("3"));
  EXPECT_FALSE(fs::exists(t / "3.js"));
  EXPECT_TRUE(p.remove_script("3"));  // already gone is fine

  // Missing files read as empty.
  EXPECT_EQ(p.read_text("9"), "");
  EXPECT_EQ(p.read_script("9"), "");
  EXPECT_EQ(p.read_description_text("9"), "");
}

TEST(ProjectTest, FilesAreFoundWhateverTheirCase) {
  TempDir t;
  write_bytes(t / "global.cod", "<b>prima</b>\r\n");
  write_bytes(t / "GLOBAL2.COD", "dopo\r\n");
  write_bytes(t / "room" / "0", "Luogo di partenza\r\n");
  write_bytes(t / "RES" / "a.png", "png");
  write_bytes(t / "LIBRO.DAT", "\"Libro\",\"T\"\r\n");
  pm::Project p(t.path(), "Libro");
  EXPECT_EQ(p.read_before_code(), "<b>prima</b>\r\n");
  EXPECT_EQ(p.read_after_code(), "dopo\r\n");
  EXPECT_EQ(p.read_description_text("0"), "Luogo di partenza");
  EXPECT_EQ(p.res_folder(), t / "RES");
  EXPECT_EQ(p.read_fields().title(), "T");
  // Writing keeps the spelling on disk.
  ASSERT_TRUE(p.write_description("0", "Inizio").ok());
  EXPECT_EQ(read_bytes(t / "room" / "0"), "Inizio\r\n");
  EXPECT_EQ(std::distance(fs::directory_iterator(t.path()), fs::directory_iterator()), 5);  // no second Room
}

TEST(ProjectTest, RoomCountIsTheFilesWithoutExtensionInRoom) {
  TempDir t;
  pm::Project p(t.path(), "Libro");
  EXPECT_EQ(p.room_count(), 0u);  // no Room folder
  for (int i = 0; i < 12; ++i) write_bytes(t / "Room" / std::to_string(i), "x\r\n");
  write_bytes(t / "Room" / ".hidden", "");
  write_bytes(t / "Room" / "3.bak", "");
  fs::create_directories(t / "Room" / "sub");
  // Room 5 deleted: its description is one empty line and it still counts.
  write_bytes(t / "Room" / "5", "\r\n");
  EXPECT_EQ(p.room_count(), 12u);
  auto names = p.room_names();
  EXPECT_EQ(names, (std::vector<std::string>{"0", "1", "10", "11", "2", "3", "4", "5", "6", "7", "8", "9"}));
  EXPECT_TRUE(pm::room_name_less("a", "B"));  // letters sort without regard to case
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
  // A path written in quotes by hand is read without them.
  write_bytes(t / "Last.ini", "\"C:\\Progetti\\Libro\"\r\n");
  EXPECT_EQ(home.read_last_project(), "C:\\Progetti\\Libro");
  write_bytes(t / "Last.ini", "\r\n");
  EXPECT_FALSE(home.read_last_project());
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

TEST(ProgramFolderTest, HomeOptionComesFirstThenTheEnvironment) {
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

  pm::ProgramFolder home(t.path());
  fs::create_directories(t / "projects");
  EXPECT_EQ(home.projects(), t / "projects");
  EXPECT_EQ(home.output(), t / "Output");
}

}  // namespace

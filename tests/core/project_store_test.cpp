// The project store on real files: the project file in its properties form (the creation
// form is checked by the creation test), comma-separated data fields, room description, text and script files by number, the
// room count.
#include <gtest/gtest.h>

#include <string>

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
  EXPECT_TRUE(p.remove_script("3").ok());
  EXPECT_FALSE(fs::exists(t / "3.js"));
  EXPECT_TRUE(p.remove_script("3").ok());  // already gone is fine

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
  // No second Room: the sixth entry is the history, which kept the old description.
  EXPECT_EQ(std::distance(fs::directory_iterator(t.path()), fs::directory_iterator()), 6);
  EXPECT_TRUE(fs::is_directory(t / "Versioni"));
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

}  // namespace

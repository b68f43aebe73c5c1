// The project's properties on a real project file: a creation file read and written back in
// the ten-field form, the width rule, double quotes, and an unreadable file never written.
#include <gtest/gtest.h>

#include <string>

#include "project/project_properties.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

const char* const kCreation =
    "\"Libro\",\"Il ''Drago''\",\"01/02/2025\",\"Realizzato con Pagimond\",\"http://x\",\"\",\"100%\",\"1\","
    "\"Pagimond 2.00\"\r\n";

TEST(PropertiesTest, ACreationFileComesBackInTheTenFieldForm) {
  TempDir t;
  write_bytes(t / "Libro.dat", kCreation);
  pm::Project p(t.path(), "Libro");
  const pm::PropertiesLoad load = pm::load_properties(p);
  ASSERT_TRUE(load.status.ok());
  EXPECT_EQ(load.form.text[1], "Il ''Drago''");
  EXPECT_EQ(load.form.text[6], "100%");
  EXPECT_FALSE(load.form.skip_start_page);
  ASSERT_TRUE(pm::save_properties(p, load, load.form).ok());
  EXPECT_EQ(read_bytes(t / "Libro.dat"),
            "\"Libro\",\"Il ''Drago''\",\"01/02/2025\",\"Realizzato con Pagimond\",\"http://x\",\"\",\"100%\",,,0\r\n");
}

TEST(PropertiesTest, SavedFieldsFollowTheRules) {
  struct Case {
    std::string width;
    std::string title;
    bool skip;
    std::string line;
  } cases[] = {
      {"", "T", false, "\"\",\"T\",\"\",\"\",\"\",\"\",\"100%\",,,0\r\n"},
      {"  ", "T", true, "\"\",\"T\",\"\",\"\",\"\",\"\",\"100%\",,,1\r\n"},
      {"800", "Il \"Drago\"", false, "\"\",\"Il ''Drago''\",\"\",\"\",\"\",\"\",\"800\",,,0\r\n"},
  };
  for (const auto& c : cases) {
    TempDir t;
    pm::Project p(t.path(), "Libro");
    pm::PropertiesForm form;
    form.text[1] = c.title;
    form.text[6] = c.width;
    form.skip_start_page = c.skip;
    ASSERT_TRUE(pm::save_properties(p, pm::load_properties(p), form).ok());  // missing file: created
    EXPECT_EQ(read_bytes(t / "Libro.dat"), c.line) << c.width;
    EXPECT_EQ(pm::load_properties(p).form.skip_start_page, c.skip);
  }
}

TEST(PropertiesTest, AnUnreadableProjectFileIsReportedAndNeverWritten) {
  TempDir t;
  fs::create_directories(t / "Libro.dat");  // there, but no file to read
  pm::Project p(t.path(), "Libro");
  const pm::PropertiesLoad load = pm::load_properties(p);
  EXPECT_EQ(load.status.kind(), pm::StatusKind::ReadFailed);
  EXPECT_EQ(load.form, pm::PropertiesForm{});
  pm::PropertiesForm form;
  form.text[1] = "Nuovo";
  EXPECT_EQ(pm::save_properties(p, load, form).kind(), pm::StatusKind::ReadFailed);
  EXPECT_TRUE(fs::is_directory(t / "Libro.dat"));
}

}  // namespace

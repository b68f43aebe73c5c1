// The resources of a project: the tags a chosen file puts into a room, the mode's name
// patterns on a real res folder, and the upload into the res folder found whatever its case,
// asking before it replaces a file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/resources.h"
#include "project/project.h"
#include "support/folder_names.h"
#include "support/scripted_prompts.h"
#include "support/temp_dir.h"

namespace {

using pm::ResourceMode;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

TEST(ResourceTagTest, NamesGoInAsListedWithOnlyTheClosingQuoteEscaped) {
  struct Case {
    ResourceMode mode;
    std::string name, tag;
  } cases[] = {
      {ResourceMode::Images, "drago.png", "<img src=\"res\\drago.png\">"},
      {ResourceMode::Images, "il drago rosso.JPG", "<img src=\"res\\il drago rosso.JPG\">"},
      {ResourceMode::Images, "il \"drago\".gif", "<img src=\"res\\il &quot;drago&quot;.gif\">"},
      {ResourceMode::Images, "l'alba & più.png", "<img src=\"res\\l'alba & più.png\">"},
      {ResourceMode::Sounds, "tema.mid", "<bgsound src='res\\tema.mid' loop='-1'>"},
      {ResourceMode::Sounds, "la notte.wav", "<bgsound src='res\\la notte.wav' loop='-1'>"},
      {ResourceMode::Sounds, "l'alba \"1\".mp3", "<bgsound src='res\\l&#39;alba &quot;1&quot;.mp3' loop='-1'>"},
  };
  for (const auto& c : cases) EXPECT_EQ(pm::resource_tag(c.mode, c.name), c.tag) << c.name;
}

TEST(ResourceListTest, EachModeListsItsOwnFilesSortedWithoutRegardToCase) {
  TempDir t;
  for (const char* n : {"b.PNG", "a.jpg", "c.gif", "d.bmp", "tema.MID", "x.wav", "y.mp3", "note.txt", "png", "z.jpeg"})
    write_bytes(t / n, "x");
  fs::create_directories(t / "cartella.png");
  EXPECT_EQ(pm::list_matching_files(t.path(), pm::resource_patterns(ResourceMode::Images)),
            (std::vector<std::string>{"a.jpg", "b.PNG", "c.gif", "d.bmp"}));
  EXPECT_EQ(pm::list_matching_files(t.path(), pm::resource_patterns(ResourceMode::Sounds)),
            (std::vector<std::string>{"tema.MID", "x.wav", "y.mp3"}));
  EXPECT_TRUE(pm::list_matching_files(t / "manca", pm::kImagePatterns).empty());
}

TEST(ResourceListTest, PatternListsSkipBlanksAndEmptyParts) {
  EXPECT_TRUE(pm::matches_any_pattern("a.png", "*.jpg; *.png"));
  EXPECT_TRUE(pm::matches_any_pattern("a.png", ";;*.png;"));
  EXPECT_FALSE(pm::matches_any_pattern("a.png", ""));
  EXPECT_FALSE(pm::matches_any_pattern("a.pngx", "*.png;*.jpg"));
}

// A file of the same name in res, in any case, is replaced only when the author says Yes,
// asked name by name; a file chosen from res itself is left alone without a question.
TEST(UploadTest, CopiesEveryChosenFileAskingBeforeReplacingSameNamesInAnyCase) {
  TempDir t;
  write_bytes(t / "da" / "uno.png", "UNO");
  write_bytes(t / "da" / "Due.JPG", "DUE");
  write_bytes(t / "da" / "tre.gif", "TRE");
  write_bytes(t / "da" / "quattro.bmp", "QUATTRO");
  write_bytes(t / "Res" / "due.jpg", "vecchio due");
  write_bytes(t / "Res" / "tre.gif", "vecchio tre");
  const fs::path res = pm::Project(t.path(), "Libro").res_folder();  // found whatever its case
  EXPECT_EQ(res, t / "Res");
  pm::ScriptedPrompts prompts;
  prompts.answer_question(true);   // Due.JPG: replace
  prompts.answer_question(false);  // tre.gif: keep
  ASSERT_TRUE(pm::upload_files(t / "da", {"uno.png", "Due.JPG", "tre.gif", "quattro.bmp"}, res, prompts).ok());
  ASSERT_EQ(prompts.calls.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(prompts.calls[i].kind, "question");
    EXPECT_EQ(prompts.calls[i].title, "UpLoad Immagini");
  }
  EXPECT_EQ(prompts.calls[0].text.substr(0, 20), "Sostituire Due.JPG?\n");
  EXPECT_EQ(prompts.calls[1].text.substr(0, 20), "Sostituire tre.gif?\n");
  const std::vector<std::pair<std::string, std::string>> after = {
      {"due.jpg", "DUE"},  // replaced, keeping the spelling on disk
      {"quattro.bmp", "QUATTRO"},
      {"tre.gif", "vecchio tre"},  // kept
      {"uno.png", "UNO"},
  };
  ASSERT_EQ(pmtest::names_in(t / "Res"), (std::vector<std::string>{"due.jpg", "quattro.bmp", "tre.gif", "uno.png"}));
  for (const auto& [name, bytes] : after) EXPECT_EQ(read_bytes(t / "Res" / name), bytes) << name;

  prompts.calls.clear();
  EXPECT_TRUE(pm::upload_files(t / "da", {}, res, prompts).ok());
  EXPECT_TRUE(pm::upload_files(res, {"tre.gif"}, res, prompts).ok());  // chosen from res itself
  EXPECT_TRUE(prompts.calls.empty());
  EXPECT_EQ(read_bytes(t / "Res" / "tre.gif"), "vecchio tre");
}

TEST(UploadTest, AFailedCopyIsReportedLeavesNoHalfFileAndTheOthersAreCopied) {
  TempDir t;
  write_bytes(t / "da" / "buono.png", "B");
  fs::create_directories(t / "da" / "cartella.png");  // a folder cannot be copied as a file
  write_bytes(t / "res" / "vecchio.png", "V");
  pm::ScriptedPrompts prompts;
  const pm::Status s = pm::upload_files(t / "da", {"cartella.png", "manca.png", "buono.png"}, t / "res", prompts);
  EXPECT_EQ(s.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(s.message().find("cartella.png, manca.png"), std::string::npos) << s.message();
  EXPECT_EQ(read_bytes(t / "res" / "buono.png"), "B");
  EXPECT_EQ(pmtest::names_in(t / "res"), (std::vector<std::string>{"buono.png", "vecchio.png"}));
}

}  // namespace

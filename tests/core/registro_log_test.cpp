// Registro's log file: the bytes written for a log, the log read back from them, the
// log's encoding kept, and Dati.txt on disk through LogStore.
#include <gtest/gtest.h>

#include "registro/log_store.h"
#include "registro/log_text.h"
#include "support/folder_names.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using namespace registro;
using pm::TextEncoding;
using pmtest::read_bytes;
using pmtest::write_bytes;

namespace {

class RegistroLogStore : public ::testing::Test {
 protected:
  pmtest::TempDir tmp_;
  fs::path dir_ = tmp_.path();
};

}  // namespace

TEST(RegistroLogText, SavedLinesEndInCrLfAndAnyLineEndReadsBack) {
  struct Case {
    std::string text, file;
  } cases[] = {
      {"Forza 12\nOro 30", "Forza 12\r\nOro 30\r\n"},  // two lines, no trailing empty line
      {"", "\r\n"},                                     // an empty log is a lone CR LF
      {"fine\n", "fine\r\n\r\n"},                       // a last line break is kept
      {"\n\n", "\r\n\r\n\r\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(log_to_file(c.text, TextEncoding::Utf8), c.file) << c.text;
    EXPECT_EQ(log_from_file(c.file).text, c.text) << c.text;
  }
  // Text with the line ends of other systems is written with CR LF all the same.
  EXPECT_EQ(log_to_file("a\r\nb\rc", TextEncoding::Utf8), "a\r\nb\r\nc\r\n");
  // Any line end is read, and a file without one.
  const std::pair<std::string, std::string> read[] = {
      {"", ""}, {"a\nb\n", "a\nb"}, {"a\rb\r", "a\nb"}, {"a\r\n\nb", "a\n\nb"}, {"senza a capo", "senza a capo"}};
  for (const auto& [file, text] : read)
    EXPECT_EQ(log_from_file(file).text, text) << file;
}

TEST(RegistroLogText, KeepsWindows1252LogsInTheirOwnBytes) {
  // "Città: spada €5" as written on Windows, with an unassigned byte kept as is.
  const std::string file = "Citt\xE0: spada \x80" "5\x81\r\n";
  LogText log = log_from_file(file);
  EXPECT_EQ(log.encoding, TextEncoding::Windows1252);
  EXPECT_EQ(log.text, "Citt\xC3\xA0: spada \xE2\x82\xAC" "5\xC2\x81");
  EXPECT_EQ(log_to_file(log.text, log.encoding), file);

  // A character Windows-1252 cannot hold sends the whole file to UTF-8 rather than lose it.
  const std::string edited = log.text + " \xE2\x86\x92";  // an arrow
  EXPECT_EQ(log_to_file(edited, TextEncoding::Windows1252), edited + "\r\n");
  // So does a text whose Windows-1252 bytes would read back as UTF-8 ("Ã©" is C3 A9, "é").
  const std::string lookalike = "Esito: \xC3\x83\xC2\xA9";
  EXPECT_EQ(log_from_file(log_to_file(lookalike, TextEncoding::Windows1252)).text, lookalike);

  // Valid UTF-8 stays UTF-8.
  EXPECT_EQ(log_from_file("Citt\xC3\xA0\r\n").encoding, TextEncoding::Utf8);
}

TEST_F(RegistroLogStore, RoundTripsAndKnowsWhatIsOnDisk) {
  LogStore store(dir_);
  std::string text;
  ASSERT_TRUE(store.load(text).ok());  // no Dati.txt yet: an empty log
  EXPECT_EQ(text, "");
  EXPECT_FALSE(fs::exists(dir_ / "Dati.txt"));
  EXPECT_FALSE(store.differs(""));
  EXPECT_TRUE(store.differs("x"));

  ASSERT_TRUE(store.save("Abilità 9\nResistenza 20").ok());
  EXPECT_EQ(read_bytes(dir_ / "Dati.txt"), "Abilit\xC3\xA0 9\r\nResistenza 20\r\n");
  EXPECT_FALSE(store.differs("Abilità 9\nResistenza 20"));

  LogStore again(dir_);
  ASSERT_TRUE(again.load(text).ok());
  EXPECT_EQ(text, "Abilità 9\nResistenza 20");
  EXPECT_EQ(pmtest::names_in(dir_), std::vector<std::string>{"Dati.txt"}) << "no temporary file left behind";
}

TEST_F(RegistroLogStore, UsesTheExistingSpellingAndKeepsItsEncoding) {
  write_bytes(dir_ / "DATI.TXT", "Citt\xE0\r\n");
  LogStore store(dir_);
  std::string text;
  ASSERT_TRUE(store.load(text).ok());
  EXPECT_EQ(text, "Città");
  ASSERT_TRUE(store.save("Città\nPorta").ok());
  EXPECT_EQ(pmtest::names_in(dir_), std::vector<std::string>{"DATI.TXT"});
  EXPECT_EQ(read_bytes(dir_ / "DATI.TXT"), "Citt\xE0\r\nPorta\r\n");
}

TEST_F(RegistroLogStore, ALogThatCannotBeReadIsNeverReplaced) {
  // A Dati.txt that is there but cannot be read: as root every file can be opened, so the
  // read fails through the store's read seam, as it does for a reader without the rights.
  write_bytes(dir_ / "Dati.txt", "Forza 12\r\n");
  write_bytes(dir_ / "Dati (2).txt", "another log");
  auto denied = [](const fs::path& p, std::string& out) {
    out.clear();
    return pm::Status(pm::StatusKind::ReadFailed, "Impossibile leggere il file " + p.string() + ": Permission denied");
  };
  LogStore store(dir_, denied);
  std::string text = "stale", notice;
  const pm::Status loaded = store.load(text);
  EXPECT_EQ(loaded.kind(), pm::StatusKind::ReadFailed);
  EXPECT_EQ(text, "");
  EXPECT_NE(loaded.message().find("Dati.txt"), std::string::npos);

  ASSERT_TRUE(store.save("Oro 3", &notice).ok());
  EXPECT_EQ(read_bytes(dir_ / "Dati.txt"), "Forza 12\r\n");
  EXPECT_EQ(read_bytes(dir_ / "Dati (2).txt"), "another log");
  EXPECT_EQ(read_bytes(dir_ / "Dati (3).txt"), "Oro 3\r\n");
  EXPECT_NE(notice.find("Dati.txt"), std::string::npos) << notice;
  EXPECT_NE(notice.find("Dati (3).txt"), std::string::npos) << notice;
  EXPECT_FALSE(store.differs("Oro 3"));

  // Later saves go to the same new file, without a second notice.
  notice.clear();
  ASSERT_TRUE(store.save("Oro 4", &notice).ok());
  EXPECT_EQ(notice, "");
  EXPECT_EQ(read_bytes(dir_ / "Dati (3).txt"), "Oro 4\r\n");
  EXPECT_EQ(pmtest::names_in(dir_), (std::vector<std::string>{"Dati (2).txt", "Dati (3).txt", "Dati.txt"}));
}

TEST_F(RegistroLogStore, AFailedSaveSaysWhyAndIsNotOnDisk) {
  LogStore store(dir_ / "gone");  // the folder is not there: read as empty, no write works
  std::string text;
  ASSERT_TRUE(store.load(text).ok());
  const pm::Status saved = store.save("nuovo");
  EXPECT_EQ(saved.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(saved.message().find("Dati.txt"), std::string::npos) << saved.message();
  EXPECT_TRUE(store.differs("nuovo")) << "a failed save is not on disk";
  EXPECT_FALSE(fs::exists(dir_ / "gone"));
}

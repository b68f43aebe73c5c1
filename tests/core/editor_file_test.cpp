// The editor's file: load and save rules, global code and room script deletion, restricted
// names, and the line-preserving save (untouched lines keep their bytes, line ends and
// encoding).
#include "editor/editor_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "editor/line_diff.h"
#include "project/project.h"
#include "support/temp_dir.h"

namespace {

using pm::LoadedText;

constexpr auto kBook = pm::TextEncoding::Windows1252;

std::string round_trip(const std::string& bytes) {
  return LoadedText(bytes).save_bytes(LoadedText(bytes).display(), kBook);
}

TEST(EditorFile, LoadJoinsLinesAndSaveAddsOneLineEnd) {
  LoadedText ab("a\r\nb\r\n");
  EXPECT_EQ(ab.display(), "a\nb");
  EXPECT_EQ(ab.save_bytes("a\nb", kBook), "a\r\nb\r\n");
  // A text ending with an empty line keeps it through save and reload.
  LoadedText fresh("");
  std::string saved = fresh.save_bytes("a\n", kBook);
  EXPECT_EQ(saved, "a\r\n\r\n");
  EXPECT_EQ(LoadedText(saved).display(), "a\n");
  // An emptied room is written as one CR LF; an empty file shows an empty text.
  EXPECT_EQ(ab.save_bytes("", kBook), "\r\n");
  EXPECT_EQ(fresh.display(), "");
  EXPECT_EQ(fresh.save_bytes("", kBook), "\r\n");
  EXPECT_EQ(LoadedText("\r\n").display(), "");
  // Untouched files come back byte for byte, whatever their line ends.
  for (std::string bytes : {"a\r\nb\r\n", "a\r\nb", "x\ny\rz\r\n\r\n", "\r\n\r\n", "only", "\n"})
    EXPECT_EQ(round_trip(bytes), bytes) << bytes;
  // Text handed over with CR LF or CR is taken line by line as well.
  EXPECT_EQ(fresh.save_bytes("a\r\nb\rc", kBook), "a\r\nb\r\nc\r\n");
}

TEST(EditorFile, EditsKeepEveryUntouchedLineWithItsLineEnd) {
  LoadedText t("uno\ndue\rtre\r\nquattro\ncinque");
  EXPECT_EQ(t.display(), "uno\ndue\ntre\nquattro\ncinque");
  // Edit line 2, delete line 4, add a line after the last one.
  EXPECT_EQ(t.save_bytes("uno\nDUE\ntre\ncinque\nsei", kBook), "uno\nDUE\r\ntre\r\ncinque\r\nsei\r\n");
  // Insert at the top and change the last line: the rest keeps its bytes.
  EXPECT_EQ(t.save_bytes("zero\nuno\ndue\ntre\nquattro\ncinque!", kBook), "zero\r\nuno\ndue\rtre\r\nquattro\ncinque!\r\n");
  // Repeated lines: an edit among identical blank lines moves no other line end.
  LoadedText blanks("a\n\n\nb\n\n\nc\n");
  EXPECT_EQ(blanks.save_bytes("a\n\n\nB\n\n\nc", kBook), "a\n\n\nB\r\n\n\nc\n");
}

TEST(EditorFile, EditedLinesAreWrittenInTheBooksEncodingWhateverTheFileHolds) {
  const auto W = pm::TextEncoding::Windows1252, U = pm::TextEncoding::Utf8;
  const std::string win = "perch\xE9\r\nprezzo 5 \x80\r\n";  // "perché", "€" in Windows-1252
  const std::string ascii = "La casa\r\n";
  const std::string utf = "citt\xC3\xA0\r\n";
  EXPECT_EQ(LoadedText(win).encoding(), W);
  EXPECT_EQ(LoadedText(win).display(), "perch\xC3\xA9\nprezzo 5 \xE2\x82\xAC");
  const struct {
    const std::string& file;
    pm::TextEncoding book;
    pm::TextUse use;
    std::string typed, saved;
  } cases[] = {
      // Untouched lines keep their bytes; a changed one is written in the book's encoding.
      {win, W, pm::TextUse::Html, "perch\xC3\xA9\nprezzo 6 \xE2\x82\xAC", "perch\xE9\r\nprezzo 6 \x80\r\n"},
      // A file of plain ASCII (a new room too) in a Windows-1252 book gets Windows-1252.
      {ascii, W, pm::TextUse::Html, "La citt\xC3\xA0 nuova", "La citt\xE0 nuova\r\n"},
      // What Windows-1252 cannot hold becomes a reference, or an escape in a script or sheet.
      {win, W, pm::TextUse::Html, "perch\xC3\xA9\nprezzo 5 \xE2\x82\xAC\nLisz\xC5\x91 \xF0\x9F\x98\x80",
       "perch\xE9\r\nprezzo 5 \x80\r\nLisz&#337; &#128512;\r\n"},
      {ascii, W, pm::TextUse::Script, "s = 'Lisz\xC5\x91 \xC3\xA0 \xF0\x9F\x98\x80';", "s = 'Lisz\\u0151 \xE0 \\uD83D\\uDE00';\r\n"},
      {ascii, W, pm::TextUse::StyleSheet, "p:before{content:'\xC5\x91'}", "p:before{content:'\\151 '}\r\n"},
      // "Ã©" in Windows-1252 is C3 A9, which reads back as UTF-8 "é": that line is written
      // with references, so that it reads back as typed.
      {win, W, pm::TextUse::Html, "\xC3\x83\xC2\xA9", "&#195;&#169;\r\n"},
      // A UTF-8 book gets UTF-8, even in a file still of Windows-1252.
      {utf, U, pm::TextUse::Html, "citt\xC3\xA0 \xC3\xA8", "citt\xC3\xA0 \xC3\xA8\r\n"},
      {win, U, pm::TextUse::Html, "perch\xC3\xA9\nLisz\xC5\x91", "perch\xE9\r\nLisz\xC5\x91\r\n"},
  };
  for (const auto& c : cases) {
    const std::string saved = LoadedText(c.file).save_bytes(c.typed, c.book, c.use);
    EXPECT_EQ(saved, c.saved) << c.typed;
    // Read again, every line shows as written (a reference as the reference).
    EXPECT_EQ(pm::decode_character_references(LoadedText(saved).display()),
              c.use == pm::TextUse::Html ? pm::decode_character_references(c.typed) : LoadedText(saved).display());
  }
}

TEST(EditorFile, NamesKindsAndPaths) {
  using K = pm::EditorFileKind;
  const std::pair<const char*, K> kinds[] = {{"global.COD", K::GlobalCode}, {"Global2.cod", K::GlobalCode2},
                                             {"ADV.CSS", K::StyleSheet},     {"adv.css.bak", K::StyleSheet},
                                             {"12", K::Room},                {"Global.cod2", K::Room},
                                             {"3.JS", K::RoomScript}};
  for (const auto& [name, kind] : kinds) EXPECT_EQ(pm::editor_file_kind(name), kind) << name;
  EXPECT_TRUE(pm::is_restricted_file("Global.cod"));
  EXPECT_FALSE(pm::is_restricted_file("3"));
  for (const char* bad : {"", ".", "..", "../3", "a/b", "a\\b", "c:x", "1\n"})
    EXPECT_FALSE(pm::editor_file_path("/p", bad).has_value()) << bad;
  EXPECT_TRUE(pm::editor_file_path("/p", "12").has_value());
}

TEST(EditorFile, SavingOnDiskDeletesEmptiedGlobalCodeAndReportsFailures) {
  pmtest::TempDir dir;
  pmtest::write_bytes(dir / "global.cod", "<b>\r\n");
  pmtest::write_bytes(dir / "3", "a\r\nb\r\n");

  auto g = pm::load_editor_file(dir.path(), "Global.cod");  // found whatever its case
  ASSERT_TRUE(g.ok());
  EXPECT_EQ(g->display(), "<b>");
  ASSERT_TRUE(pm::save_editor_file(dir.path(), "Global.cod", *g, "").ok());
  EXPECT_FALSE(std::filesystem::exists(dir / "global.cod"));
  EXPECT_FALSE(std::filesystem::exists(dir / "Global.cod"));
  auto g2 = pm::load_editor_file(dir.path(), "Global2.cod");  // missing: empty, nothing deleted
  ASSERT_TRUE(g2.ok());
  EXPECT_EQ(g2->bytes(), "");
  EXPECT_TRUE(pm::save_editor_file(dir.path(), "Global2.cod", *g2, "").ok());

  auto room = pm::load_editor_file(dir.path(), "3");
  ASSERT_TRUE(room.ok());
  ASSERT_TRUE(pm::save_editor_file(dir.path(), "3", *room, "").ok());
  EXPECT_EQ(pmtest::read_bytes(dir / "3"), "\r\n");  // an empty room is written, not deleted
  EXPECT_EQ(room->bytes(), "\r\n");                  // and is now what the editor compares against
  ASSERT_TRUE(pm::save_editor_file(dir.path(), "3", *room, "x").ok());
  EXPECT_EQ(pmtest::read_bytes(dir / "3"), "x\r\n");

#if !defined(_WIN32)  // a Windows folder is made read-only by its rights, not by mode bits
  // A failed write keeps the old file and names it.
  pmtest::write_bytes(dir / "ro" / "5", "old\r\n");
  auto ro = pm::load_editor_file(dir / "ro", "5");
  ASSERT_TRUE(ro.ok());
  std::filesystem::permissions(dir / "ro", std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  const pm::Status wrote = pm::save_editor_file(dir / "ro", "5", *ro, "new");
  std::filesystem::permissions(dir / "ro", std::filesystem::perms::owner_all);
  if (geteuid() != 0) {
    EXPECT_EQ(wrote.kind(), pm::StatusKind::WriteFailed);
    EXPECT_NE(wrote.message().find("5"), std::string::npos);
    EXPECT_EQ(pmtest::read_bytes(dir / "ro" / "5"), "old\r\n");
    EXPECT_EQ(ro->bytes(), "old\r\n");
  }
#endif
  // A folder where the file should be cannot be read: reported, not taken as empty.
  std::filesystem::create_directories(dir / "7");
  EXPECT_EQ(pm::load_editor_file(dir.path(), "7").kind(), pm::StatusKind::ReadFailed);
  EXPECT_EQ(pm::load_editor_file(dir.path(), "../3").kind(), pm::StatusKind::BadName);
}

TEST(EditorFile, RoomScriptIsDeletedWhenEmptiedAndWrittenWithOneLineEnd) {
  pmtest::TempDir dir;
  const std::string name = pm::room_script_name("3");
  EXPECT_EQ(name, "3.js");
  EXPECT_FALSE(pm::is_restricted_file(name));
  EXPECT_FALSE(pm::is_deleted_when_empty("3"));

  auto script = pm::load_editor_file(dir.path(), name);  // missing: an empty text
  ASSERT_TRUE(script.ok());
  EXPECT_EQ(script->bytes(), "");
  ASSERT_TRUE(pm::save_editor_file(dir.path(), name, *script, "alert(1);\n").ok());
  EXPECT_EQ(pmtest::read_bytes(dir / "3.js"), "alert(1);\r\n\r\n");
  script = pm::load_editor_file(dir.path(), name);  // the empty last line comes back
  ASSERT_TRUE(script.ok());
  EXPECT_EQ(script->display(), "alert(1);\n");
  ASSERT_TRUE(pm::save_editor_file(dir.path(), name, *script, "").ok());
  EXPECT_FALSE(std::filesystem::exists(dir / "3.js"));
  // Found and deleted whatever the case of its name on disk.
  pmtest::write_bytes(dir / "4.JS", "x\r\n");
  script = pm::load_editor_file(dir.path(), pm::room_script_name("4"));
  ASSERT_TRUE(script.ok());
  EXPECT_EQ(script->display(), "x");
  ASSERT_TRUE(pm::save_editor_file(dir.path(), "4.js", *script, "").ok());
  EXPECT_FALSE(std::filesystem::exists(dir / "4.JS"));
}

// The matching keeps as many lines as a longest common subsequence, and never pairs
// unequal lines, also when it falls back to the cheap pairing.
TEST(LineDiff, MatchesALongestCommonSubsequence) {
  std::mt19937 rng(7);
  const std::vector<std::string> alphabet = {"", "a", "b", "c"};
  for (int round = 0; round < 400; ++round) {
    std::vector<std::string> a(rng() % 12), b(rng() % 12);
    for (auto& s : a) s = alphabet[rng() % alphabet.size()];
    for (auto& s : b) s = alphabet[rng() % alphabet.size()];
    std::vector<std::string_view> av(a.begin(), a.end()), bv(b.begin(), b.end());
    std::vector<std::vector<int>> lcs(a.size() + 1, std::vector<int>(b.size() + 1, 0));
    for (size_t i = a.size(); i-- > 0;)
      for (size_t j = b.size(); j-- > 0;)
        lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    for (size_t max_edits : {size_t(2000), size_t(1)}) {
      auto m = pm::match_lines(av, bv, max_edits);
      ASSERT_EQ(m.size(), b.size());
      int kept = 0;
      size_t last = 0;
      bool first = true;
      for (size_t j = 0; j < m.size(); ++j) {
        if (m[j] == pm::kNoMatch) continue;
        ASSERT_LT(m[j], a.size());
        EXPECT_EQ(a[m[j]], b[j]);
        if (!first) {
          EXPECT_GT(m[j], last);
        }
        first = false;
        last = m[j];
        ++kept;
      }
      if (max_edits == 2000) {
        EXPECT_EQ(kept, lcs[0][0]) << "round " << round;
      } else {
        EXPECT_LE(kept, lcs[0][0]);
      }
    }
  }
}

}  // namespace

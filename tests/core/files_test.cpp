// Byte text helpers and file-system helpers: line splitting, case-blind names, the atomic
// writer and its failures, wildcard patterns, the copy service and emptying a folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/folder_emptying.h"
#include "base/open_folder.h"
#include "project/project.h"
#include "base/text.h"
#include "support/folder_names.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

TEST(TextTest, LinesSplitAndJoinedTrimReplaceAndCase) {
  EXPECT_EQ(pm::split_lines("a\r\nb\rc\nd"), (Lines{"a", "b", "c", "d"}));
  // A final line end starts no further line; an empty line in between stays.
  EXPECT_EQ(pm::split_lines("a\r\n"), (Lines{"a"}));
  EXPECT_EQ(pm::split_lines(""), Lines{});
  EXPECT_EQ(pm::split_lines("\r\n"), (Lines{""}));
  EXPECT_EQ(pm::split_lines("a\n\nb\r\r\nc"), (Lines{"a", "", "b", "", "c"}));
  // LF CR is two line ends, not one.
  EXPECT_EQ(pm::split_lines("a\n\rb"), (Lines{"a", "", "b"}));
  // Bytes that are not ASCII pass through untouched.
  EXPECT_EQ(pm::split_lines("citt\xe0\r\n\xc3\xa8"), (Lines{"citt\xe0", "\xc3\xa8"}));

  EXPECT_EQ(pm::join_lines_crlf({"a", "", "b"}), "a\r\n\r\nb\r\n");
  EXPECT_EQ(pm::join_lines_crlf({}), "");
  EXPECT_EQ(pm::trim_blanks("  a b  "), "a b");
  EXPECT_EQ(pm::trim_blanks("\ta "), "\ta");  // only blanks are trimmed
  // No re-scanning of what was inserted, no overlapping pairs.
  EXPECT_EQ(pm::replace_all("aaa", "aa", "b"), "ba");
  EXPECT_EQ(pm::replace_all("( ( x", "( ", "("), "((x");
  EXPECT_EQ(pm::replace_all("abc", "", "x"), "abc");
  std::string s = "x.htm y.htm";
  pm::replace_all_in_place(s, ".htm", "");
  EXPECT_EQ(s, "x y");
  EXPECT_TRUE(pm::iequals("Global.COD", "global.cod"));
  EXPECT_FALSE(pm::iequals("global.cod", "global.co"));
  EXPECT_TRUE(pm::istarts_with("<META http", "<meta"));
  EXPECT_TRUE(pm::is_digits("012"));
  EXPECT_FALSE(pm::is_digits(""));
  EXPECT_FALSE(pm::is_digits("1a"));
}

TEST(TextTest, WordAtATimeSearchesMatchTheByteByByteOnes) {
  // Line ends, blank pairs and the bytes the compiles look for at every offset of texts
  // longer than one word, and next to bytes with the high bit set.
  std::mt19937 rng(3);
  const std::string alphabet = " a\r\n<.\xE8\x80";
  for (int round = 0; round < 3000; ++round) {
    std::string s;
    for (int i = rng() % 40; i > 0; --i) s += alphabet[rng() % alphabet.size()];
    Lines naive;
    std::string line;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] != '\r' && s[i] != '\n') {
        line += s[i];
        continue;
      }
      naive.push_back(line);
      line.clear();
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    }
    if (!line.empty()) naive.push_back(line);
    ASSERT_EQ(pm::split_lines(s), naive) << s;

    std::string blanks;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == ' ' && i + 1 < s.size() && s[i + 1] == ' ') {
        blanks += "&nbsp;&nbsp;";
        ++i;
      } else {
        blanks += s[i];
      }
    }
    ASSERT_EQ(pm::replace_all(s, "  ", "&nbsp;&nbsp;"), blanks) << s;

    for (size_t from = 0; from <= s.size(); ++from) {
      size_t naive_hit = s.find_first_of("<.\r", from);
      ASSERT_EQ((pm::find_byte_of<'<', '.', '\r'>(s, from)), naive_hit) << s << " " << from;
      const size_t pair = s.find("  ", from);
      ASSERT_EQ((pm::find_byte_or_pair<' ', '<', '.'>(s, from)), std::min(s.find_first_of("<.", from), pair))
          << s << " " << from;
    }
  }
}

TEST(FilesTest, NamesAreFoundWithoutRegardToCaseAndKeepTheirBytes) {
  TempDir t;
  write_bytes(t / "global.cod", "before");
  fs::create_directories(t / "Res");

  auto found = pm::find_entry(t.path(), "Global.cod");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->filename(), "global.cod");
  EXPECT_EQ(pm::resolve(t.path(), "RES").filename(), "Res");
  EXPECT_EQ(pm::read_file_or_empty(pm::resolve(t.path(), "GLOBAL.COD")), "before");
  // A missing name resolves to the spelling asked for; a missing folder finds nothing.
  EXPECT_FALSE(pm::find_entry(t.path(), "Global2.cod"));
  EXPECT_EQ(pm::resolve(t.path(), "Global2.cod"), t / "Global2.cod");
  EXPECT_FALSE(pm::find_entry(t / "nowhere", "x"));
#if !defined(_WIN32)  // a disk blind to case holds one spelling only
  // The exact spelling wins when several exist.
  write_bytes(t / "Global.cod", "exact");
  EXPECT_EQ(pm::find_entry(t.path(), "Global.cod")->filename(), "Global.cod");
  EXPECT_EQ(pm::find_entry(t.path(), "global.cod")->filename(), "global.cod");
#endif

  // Accented names go and come back as the same bytes.
  TempDir u;
  const std::string name = "Citt\xC3\xA0.txt";
  ASSERT_TRUE(pm::write_file_atomic(u.path() / pm::path_from_text(name), "x").ok());
  ASSERT_TRUE(pm::write_file_atomic(pm::resolve(u.path(), name), "y").ok());  // replaces it
  EXPECT_EQ(pm::list_file_names(u.path()), std::vector<std::string>{name});
  EXPECT_EQ(pm::read_file_or_empty(pm::resolve(u.path(), "CITT\xC3\xA0.TXT")), "y");
  EXPECT_EQ(pm::path_text(pm::path_from_text(name)), name);
}

TEST(FilesTest, AtomicWriteReplacesWholeOrFailsKeepingWhatWasThere) {
  TempDir t;
  fs::path p = t / "3";
  ASSERT_TRUE(pm::write_file_atomic(p, std::string("a\0b\r\n", 5)).ok());
  EXPECT_EQ(read_bytes(p), std::string("a\0b\r\n", 5));
  ASSERT_TRUE(pm::write_file_atomic(p, "").ok());
  EXPECT_TRUE(fs::exists(p));
  EXPECT_EQ(fs::file_size(p), 0u);
  std::string big(3 * 1024 * 1024 + 7, 'x');
  ASSERT_TRUE(pm::write_file_atomic(p, big).ok());
  EXPECT_EQ(read_bytes(p), big);
#if !defined(_WIN32)  // Windows files keep no such permission bits
  // A careful write keeps the replaced file's permissions.
  fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_TRUE(pm::write_file_atomic(p, "new", pm::WriteCare::Careful).ok());
  EXPECT_EQ(read_bytes(p), "new");
  EXPECT_EQ(fs::status(p).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
#endif
  fs::remove(p);

  // The target is an existing folder: the folder and what it holds stay.
  fs::path folder_target = t / "Room";
  write_bytes(folder_target / "0", "Luogo di partenza\r\n");
  pm::Status written = pm::write_file_atomic(folder_target, "text");
  EXPECT_EQ(written.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(written.message().find(folder_target.string()), std::string::npos) << written.message();
  EXPECT_EQ(read_bytes(folder_target / "0"), "Luogo di partenza\r\n");
  // The parent is a file: the would-be parent keeps its bytes.
  fs::path parent_file = t / "adv.css";
  write_bytes(parent_file, "body{}");
  written = pm::write_file_atomic(parent_file / "x", "text");
  EXPECT_EQ(written.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(written.message().find((parent_file / "x").string()), std::string::npos) << written.message();
  EXPECT_EQ(read_bytes(parent_file), "body{}");
  // A missing parent folder fails too.
  EXPECT_FALSE(pm::write_file_atomic(t / "none" / "x", "text").ok());

  // No temporary file is left behind by the writes or the failures.
  EXPECT_EQ(pmtest::names_in(t.path()), (Lines{"Room", "adv.css"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(folder_target), fs::directory_iterator()), 1);
}

TEST(FilesTest, ReadingAMissingOrUnreadableFileGivesNothing) {
  TempDir t;
  write_bytes(t / "f", "x\ry");
  std::string big(200000, 'b');
  big[123456] = '\0';
  write_bytes(t / "big", big);
  std::string out;
  for (const fs::path& p : {t / "missing", t.path()}) {  // a folder reads as nothing too
    out = "stale";
    EXPECT_FALSE(pm::read_file(p, out)) << p;
    EXPECT_EQ(out, "");
  }
  EXPECT_TRUE(pm::read_file(t / "f", out));
  EXPECT_EQ(out, "x\ry");
  EXPECT_TRUE(pm::read_file(t / "big", out));
  EXPECT_EQ(out, big);

  // The checked read tells a missing file from one that cannot be read, and says why.
  EXPECT_EQ(pm::read_file_checked(t / "missing", out).kind(), pm::StatusKind::NotFound);
  EXPECT_EQ(pm::read_file_checked(t / "f" / "x", out).kind(), pm::StatusKind::NotFound);
  const pm::Status failed = pm::read_file_checked(t.path(), out);
  EXPECT_EQ(failed.kind(), pm::StatusKind::ReadFailed);
  EXPECT_NE(failed.message().find(t.path().string()), std::string::npos) << failed.message();
  EXPECT_TRUE(pm::read_file_checked(t / "f", out).ok());
  EXPECT_EQ(out, "x\ry");
}

#if !defined(_WIN32)
// The reader by path and the reader in an open folder answer alike: nothing there is
// NotFound without a message; a failed open and a failed read name the whole path and why.
TEST(FilesTest, BothReadersTellMissingFromUnreadableInTheSameWords) {
  TempDir t;
  write_bytes(t / "f", "x");
  fs::create_directories(t / "sub");
  const std::string too_long(300, 'n');
  const pm::OpenFolder folder(t.path());
  const struct {
    std::string name;
    pm::StatusKind kind;
    int err;  // the reason the message gives
  } cases[] = {
      {"missing", pm::StatusKind::NotFound, 0},
      {"f/x", pm::StatusKind::NotFound, 0},                   // through a file
      {"sub", pm::StatusKind::ReadFailed, EISDIR},            // opens, then the read fails
      {too_long, pm::StatusKind::ReadFailed, ENAMETOOLONG},   // the open fails
  };
  for (const auto& c : cases) {
    const fs::path p = t / c.name;
    const std::string expected =
        c.err ? "Impossibile leggere il file " + pm::path_text(p) + ": " + std::strerror(c.err) : "";
    std::string out = "stale";
    const pm::Status by_path = pm::read_file_checked(p, out);
    EXPECT_EQ(by_path.kind(), c.kind) << c.name;
    EXPECT_EQ(out, "");
    EXPECT_EQ(by_path.message(), expected);
    out = "stale";
    const pm::Status in_folder = folder.read(c.name, out);
    EXPECT_EQ(in_folder.kind(), c.kind) << c.name;
    EXPECT_EQ(out, "");
    EXPECT_EQ(in_folder.message(), expected);
  }
}
#endif

TEST(FilesTest, PatternsMatchWithoutRegardToCase) {
  for (auto [name, pattern] : {std::pair{"STYLE.CSS", "*.css"}, {"adv.css", "*.CSS"}, {"a.b.dat", "*.dat"},
                               {"x1.dat", "x?.dat"}, {"", "*"}, {"abcabd", "*ab*d"}})
    EXPECT_TRUE(pm::matches_pattern(name, pattern)) << name << " " << pattern;
  for (auto [name, pattern] : {std::pair{"adv.css.bak", "*.css"}, {"advcss", "*.css"}, {"x12.dat", "x?.dat"}})
    EXPECT_FALSE(pm::matches_pattern(name, pattern)) << name << " " << pattern;
}

TEST(FilesTest, CopyServiceCopiesMatchingFilesAndFoldersOverOldOnes) {
  TempDir t;
  write_bytes(t / "src" / "adv.css", "new adv");
  write_bytes(t / "src" / "STYLE.CSS", "style");
  write_bytes(t / "src" / "notes.txt", "no");
  fs::create_directories(t / "src" / "sub.css");  // a folder is not a file
  write_bytes(t / "dst" / "ADV.CSS", "old adv");  // replaced under the spelling it has

  EXPECT_TRUE(pm::copy_matching(t / "src", "*.css", t / "dst"));
  EXPECT_EQ(read_bytes(t / "dst" / "ADV.CSS"), "new adv");
  EXPECT_EQ(read_bytes(t / "dst" / "STYLE.CSS"), "style");
  EXPECT_EQ(std::distance(fs::directory_iterator(t / "dst"), fs::directory_iterator()), 2);  // no notes.txt, sub.css

  // A missing source copies nothing and fails nobody; a missing target is created.
  EXPECT_TRUE(pm::copy_matching(t / "none", "*.css", t / "dst2"));
  EXPECT_TRUE(fs::is_directory(t / "dst2"));

  // A folder is copied with its contents over the old ones; a missing one copies nothing.
  write_bytes(t / "res" / "ponte.png", "PNG");
  write_bytes(t / "res" / "suoni" / "acqua.wav", "RIFF");
  write_bytes(t / "out" / "res" / "ponte.png", "old");
  write_bytes(t / "out" / "res" / "suoni" / "acqua.wav", "old");

  EXPECT_TRUE(pm::copy_folder_contents(t / "res", t / "out" / "res"));
  EXPECT_EQ(read_bytes(t / "out" / "res" / "ponte.png"), "PNG");
  EXPECT_EQ(read_bytes(t / "out" / "res" / "suoni" / "acqua.wav"), "RIFF");
  EXPECT_FALSE(pm::copy_folder_contents(t / "missing", t / "out" / "x"));
  EXPECT_FALSE(fs::exists(t / "out" / "x"));
}

TEST(FilesTest, EmptyFolderRemovesEverythingInsideAndCreatesAMissingOne) {
  TempDir t;
  write_bytes(t / "Output" / "1.htm", "page");
  write_bytes(t / "Output" / "res" / "a.png", "png");
  write_bytes(t / "keep", "keep");
  EXPECT_TRUE(pm::empty_folder(t / "Output").ok());
  EXPECT_TRUE(fs::is_directory(t / "Output"));
  EXPECT_TRUE(fs::is_empty(t / "Output"));
  EXPECT_EQ(read_bytes(t / "keep"), "keep");
#if !defined(_WIN32)
  // A link to a folder is removed as a link: what it points to stays.
  write_bytes(t / "elsewhere" / "mine.txt", "mine");
  fs::create_directory_symlink(t / "elsewhere", t / "Output" / "link");
  EXPECT_TRUE(pm::empty_folder(t / "Output").ok());
  EXPECT_TRUE(fs::is_empty(t / "Output"));
  EXPECT_EQ(read_bytes(t / "elsewhere" / "mine.txt"), "mine");
#endif
  EXPECT_TRUE(pm::empty_folder(t / "New").ok());
  EXPECT_TRUE(fs::is_directory(t / "New"));
  // A file in the folder's place cannot be emptied, and is left alone.
  const pm::Status emptied = pm::empty_folder(t / "keep");
  EXPECT_EQ(emptied.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(emptied.message().find((t / "keep").string()), std::string::npos) << emptied.message();
  EXPECT_EQ(read_bytes(t / "keep"), "keep");
}

TEST(FilesTest, AFolderIsItselfHoweverItsPathIsWritten) {
  for (const char* written : {"/a/Il Ponte", "/a/Il Ponte/", "/a/Il Ponte//", "/a/Il Ponte/.", "/a/Il Ponte/./"})
    EXPECT_EQ(pm::folder_itself(written), fs::path("/a/Il Ponte")) << written;
  for (const char* kept : {"/", ".", "a", ""}) EXPECT_EQ(pm::folder_itself(kept), fs::path(kept)) << kept;
  EXPECT_EQ(pm::Project(fs::path("/a/Libro/"), "Libro").folder().filename(), "Libro");
}

TEST(FilesTest, PathIsWithin) {
  TempDir t;
  fs::create_directories(t.path() / "a" / "b" / "c");
  fs::create_directories(t.path() / "a" / "bc");
  const std::string base = t.path().string();
  struct Case {
    std::string inner, outer;
    bool within;
  } cases[] = {
      {"/a/b", "/a/b", true},
      {"/a/b/c", "/a/b", true},
      {"/a/b/c/", "/a/b/", true},       // trailing separators count for nothing
      {"/a/b/new/x", "/a/b", true},     // folders that do not exist yet
      {"/a/b/../bc", "/a/b", false},    // made normal before comparing
      {"/a/bc", "/a/b", false},         // a longer name is no child
      {"/a", "/a/b", false},
      {"/a/b", "/a/b/c", false},
#if !defined(_WIN32)
      {"/a/B/c", "/a/b", false},        // names compare exactly where the system does
#endif
  };
  for (const auto& c : cases)
    EXPECT_EQ(pm::path_is_within(base + c.inner, base + c.outer), c.within) << c.inner << " in " << c.outer;
  // A relative path is taken from the working folder.
  EXPECT_TRUE(pm::path_is_within(fs::current_path() / "x", "."));
}

#if !defined(_WIN32)  // Windows empties in place
TEST(FolderEmptyingTest, AnOperationDoneFirstHelpsWithTheRemovalAndNothingStaysAside) {
  // Finished at once, the removal of a big folder is shared between the two threads: every
  // entry goes exactly once, sub-folders with their contents, and the folder aside goes last.
  for (int round = 0; round < 3; ++round) {
    TempDir t;
    const fs::path out = t / "Output";
    for (int i = 0; i < 1000; ++i) write_bytes(out / (std::to_string(i) + ".htm"), "old");
    for (int i = 0; i < 5; ++i) write_bytes(out / ("cartella" + std::to_string(i)) / "dentro" / "x.png", "old");
    pm::FolderEmptying emptying(out);
    const pm::Status done = emptying.finish();
    ASSERT_TRUE(done.ok()) << done.message();
    EXPECT_EQ(pmtest::names_in(t.path()), Lines{"Output"});
    EXPECT_TRUE(fs::is_empty(out));
  }
}
#endif

}  // namespace

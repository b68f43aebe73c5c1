// A book's one encoding: how it is decided from the book's files, the conversion of a book
// made of files in two encodings, the check's warnings for them, and the differential proof
// that a converted book compiles to pages that read as its rooms do.
#include "project/book_encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "check/encoding_check.h"
#include "compiler/site_compiler.h"
#include "base/text.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
constexpr auto W = pm::TextEncoding::Windows1252;
constexpr auto U = pm::TextEncoding::Utf8;

TEST(BookEncoding, Windows1252UnlessTheBooksFilesHoldUtf8AndNothingElse) {
  const struct {
    const char* what;
    std::vector<std::pair<std::string, std::string>> files;
    pm::TextEncoding book;
  } cases[] = {
      {"a new book", {{"Libro.dat", "\"Libro\"\r\n"}, {"0", ""}, {"Room/0", "Luogo di partenza\r\n"}},
       pm::TextEncoding::Windows1252},
      {"UTF-8 only", {{"Libro.dat", "x\r\n"}, {"0", "citt\xC3\xA0"}, {"Room/0", "a"}}, pm::TextEncoding::Utf8},
      {"UTF-8 in a description", {{"0", "a"}, {"Room/0", "citt\xC3\xA0"}}, pm::TextEncoding::Utf8},
      {"one Windows-1252 room", {{"0", "citt\xC3\xA0"}, {"3", "citt\xE0"}}, pm::TextEncoding::Windows1252},
      {"Windows-1252 in the style sheet", {{"0", "citt\xC3\xA0"}, {"adv.css", "/* \xE0 */"}},
       pm::TextEncoding::Windows1252},
      {"not a book's file", {{"0", "citt\xC3\xA0"}, {"foto.png", "\xFF\xD8"}, {"res/x", "\xE0"}}, pm::TextEncoding::Utf8},
  };
  for (const auto& c : cases) {
    TempDir dir;
    for (const auto& [name, bytes] : c.files) write_bytes(dir / name, bytes);
    EXPECT_EQ(pm::book_encoding(dir.path()), c.book) << c.what;
  }
  TempDir dir;
  for (const char* name : {"Libro.dat", "Global.cod", "Global2.cod", "adv.css", "3.js", "3", "10", "foto.png", "Room/3"})
    write_bytes(dir / name, "x");
  std::vector<std::string> names;
  for (const auto& f : pm::book_text_files(dir.path())) names.push_back(f.name);
  EXPECT_EQ(names, (std::vector<std::string>{"Libro.dat", "Global.cod", "Global2.cod", "adv.css", "3.js", "10", "3",
                                             "Room/3"}));
}

TEST(BookEncoding, ConvertingRewritesOnlyTheLinesInTheOtherEncoding) {
  const struct {
    std::string in;
    pm::TextEncoding to;
    pm::TextUse use;
    std::string out;
  } cases[] = {
      {"citt\xC3\xA0\r\ncitt\xE0\nLisz\xC5\x91\rfine", W, pm::TextUse::Html, "citt\xE0\r\ncitt\xE0\nLisz&#337;\rfine"},
      {"citt\xC3\xA0\r\ncitt\xE0\r\n", U, pm::TextUse::Html, "citt\xC3\xA0\r\ncitt\xC3\xA0\r\n"},
      {"\xEF\xBB\xBF\xEF\xBB\xBF" "citt\xE0\r\n", W, pm::TextUse::Html, "citt\xE0\r\n"},
      {"s = '\xC5\x91';", W, pm::TextUse::Script, "s = '\\u0151';"},
      {"p{content:'\xC5\x91\xC3\xA0'}", W, pm::TextUse::StyleSheet, "p{content:'\\151 \xE0'}"},
      {"ASCII\r\n\r\n", W, pm::TextUse::Html, "ASCII\r\n\r\n"},
  };
  for (const auto& c : cases) {
    const std::string once = pm::convert_text_file(c.in, c.to, c.use);
    EXPECT_EQ(once, c.out) << c.in;
    EXPECT_EQ(pm::convert_text_file(once, c.to, c.use), once) << c.in;
  }

  // A book made of both: the check finds each file at its first line in the other encoding,
  // the conversion rewrites those files only, and a second one changes nothing.
  TempDir dir;
  write_bytes(dir / "Libro.dat", "\"Libro\",\"Citt\xC3\xA0\"\r\n");
  write_bytes(dir / "Room/3", "Piazza\r\n");
  write_bytes(dir / "3", "Citt\xE0 vecchia\r\n");
  write_bytes(dir / "4", "Una strada\r\nLa citt\xC3\xA0 nuova\r\n");
  write_bytes(dir / "adv.css", "body{}\r\n");
  pm::CheckResult check;
  pm::add_encoding_findings(dir.path(), check);
  std::vector<std::pair<std::string, uint32_t>> found;
  for (const auto& f : check.findings) {
    EXPECT_EQ(f.kind, pm::FindingKind::OtherEncoding);
    EXPECT_EQ(f.severity, pm::Severity::Warning);
    found.emplace_back(f.file, f.line);
  }
  EXPECT_EQ(found, (std::vector<std::pair<std::string, uint32_t>>{{"Libro.dat", 1}, {"4", 2}}));
  EXPECT_EQ(check.warnings, 2u);
  ASSERT_EQ(check.findings.size(), 2u);
  EXPECT_EQ(check.findings[1].room, "4");
  EXPECT_EQ(check.findings[1].text, "La citt\xC3\xA0 nuova");
  EXPECT_EQ(check.findings[1].message_it,
            "riga in UTF-8, il libro \xC3\xA8 in Windows-1252 (\xC2\xAB" "Correggi la codifica\xC2\xBB la converte)");

  const auto untouched = fs::last_write_time(dir / "3");
  const pm::BookConversion done = pm::convert_book(dir.path(), W);
  EXPECT_EQ(done.changed, (std::vector<std::string>{"Libro.dat", "4"}));
  EXPECT_TRUE(done.errors.empty());
  EXPECT_EQ(read_bytes(dir / "4"), "Una strada\r\nLa citt\xE0 nuova\r\n");
  EXPECT_EQ(read_bytes(dir / "Libro.dat"), "\"Libro\",\"Citt\xE0\"\r\n");
  EXPECT_EQ(fs::last_write_time(dir / "3"), untouched);
  EXPECT_TRUE(pm::convert_book(dir.path(), W).changed.empty());
  pm::CheckResult again;
  pm::add_encoding_findings(dir.path(), again);
  EXPECT_TRUE(again.findings.empty());
  // And the other way round, all of it.
  EXPECT_EQ(pm::convert_book(dir.path(), U).changed, (std::vector<std::string>{"Libro.dat", "3", "4"}));
  EXPECT_EQ(pm::book_encoding(dir.path()), U);
  EXPECT_EQ(read_bytes(dir / "3"), "Citt\xC3\xA0 vecchia\r\n");
}

// Rooms written line by line in either encoding, with characters that Windows-1252 holds and
// some it cannot; converted, then compiled: each page, decoded whole in the book's encoding
// as a browser reads it, holds each line of its room as the room read before.
TEST(BookEncoding, ConvertedBooksCompileToPagesThatReadAsTheirRooms) {
  std::mt19937 rng(5);
  const std::vector<std::string> words = {"Sei", "nella", "citt\xC3\xA0", "perch\xC3\xA9", "5 \xE2\x82\xAC",
                                          "Lisz\xC5\x91", "\xF0\x9F\x98\x80", "\xC3\x83\xC2\xA9", "&amp;", "Ni\xC3\xB1o"};
  for (int round = 0; round < 12; ++round) {
    TempDir dir;
    const fs::path book = dir / "Libro";
    write_bytes(book / "Libro.dat", "\"Libro\",\"Il Libro\",\"\",\"Io\",\"\",\"\",\"100%\",,,1\r\n");
    std::vector<std::string> rooms;
    std::vector<std::vector<std::string>> shown;  // each room's lines as read before converting
    for (int r = 0; r < 4; ++r) {
      const std::string n = std::to_string(r);
      rooms.push_back(n);
      write_bytes(book / "Room" / n, "Stanza\r\n");
      std::string bytes;
      std::vector<std::string> lines;
      for (int l = int(rng() % 4); l >= 0; --l) {
        std::string line;
        for (int w = int(rng() % 5) + 1; w > 0; --w) line += (line.empty() ? "" : " ") + words[rng() % words.size()];
        // Each line in either encoding, as files made by hand and by earlier versions hold them.
        bool fits = false;
        const std::string windows = pm::encode_from_utf8(line, W, &fits);
        const std::string written = fits && rng() % 2 && !pm::is_valid_utf8(windows) ? windows : line;
        bytes += written + "\r\n";
        lines.push_back(pm::decode_for_display(written));
      }
      write_bytes(book / n, bytes);
      shown.push_back(lines);
    }
    const auto to = round % 3 == 0 ? U : W;
    const pm::BookConversion done = pm::convert_book(book, to);
    ASSERT_TRUE(done.errors.empty());
    EXPECT_TRUE(pm::convert_book(book, to).changed.empty());  // converting again changes nothing
    const pm::Project project(book, "Libro");
    ASSERT_TRUE(pm::compile_project(project, rooms, dir / "Output", pm::PageStyle::Classic).ok());
    for (size_t r = 0; r < rooms.size(); ++r) {
      const std::string page = read_bytes(dir / "Output" / (rooms[r] + ".htm"));
      const std::string text = pm::decode_character_references(pm::decode_to_utf8(page, to));
      for (const auto& line : shown[r])
        EXPECT_NE(text.find(pm::decode_character_references(line)), std::string::npos)
            << "round " << round << " room " << r << ": " << line;
    }
  }
}

}  // namespace

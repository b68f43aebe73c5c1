// A book's one encoding: how it is decided from the book's files.
#include "project/book_encoding.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "project/text.h"
#include "support/temp_dir.h"

namespace {

using pmtest::TempDir;
using pmtest::write_bytes;

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

}  // namespace

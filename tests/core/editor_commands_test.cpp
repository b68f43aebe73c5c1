// Small editor commands: the inserted link, timer and back-link mark-up, the character
// count, the palette's colour notation and the compile failure message.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "check/road_scan.h"
#include "compiler/compile_request.h"
#include "compiler/page_renderer.h"
#include "compiler/single_file.h"
#include "compiler/site_compiler.h"
#include "editor/character_count.h"
#include "editor/colour_palette.h"
#include "editor/link_markup.h"

namespace {

TEST(EditorCommands, LinkTimerAndBackLinkMarkup) {
  EXPECT_EQ(pm::link_markup("7", "Vai"), "<a href=\"7.htm\">Vai</a>");
  EXPECT_EQ(pm::link_markup("12", ""), "<a href=\"12.htm\"></a>");
  EXPECT_EQ(pm::timer_markup("12", "5"), "<meta http-equiv='refresh' content='5; url=12.htm'>");

  // The back link goes back in the reader's history: no room address, no refresh to a
  // javascript: address; the one-page book's rewrites leave every byte of it as it is.
  const std::string back = pm::back_link_markup("5");
  EXPECT_EQ(back.rfind("<a href='javascript:history.back()'><--</a><script>", 0), 0u);
  EXPECT_NE(back.find("setTimeout(b,5*1000)"), std::string::npos);
  EXPECT_NE(back.find("sessionStorage.setItem('pagimond.indietro','1')"), std::string::npos);
  EXPECT_NE(pm::kForwardScript.find("sessionStorage.getItem('pagimond.indietro')"), std::string::npos);
  EXPECT_EQ(back.substr(back.size() - 9), "</script>");
  for (const char* never : {"\n", "\r", "\"", ".htm", "  ", "<meta", "refresh"})
    EXPECT_EQ(back.find(never), std::string::npos) << never;
  std::string one_page;
  pm::rewrite_single_file_piece(back, one_page);
  EXPECT_EQ(one_page, back);
  std::vector<pm::Road> roads;
  pm::scan_roads("Torna " + back, roads);
  ASSERT_EQ(roads.size(), 1u);
  EXPECT_EQ(roads[0].kind, pm::RoadKind::BackLink);

  // The seconds go into a script: only a number is taken.
  const std::vector<std::pair<std::string, std::optional<std::string>>> seconds = {
      {"5", "5"}, {" 10 ", "10"}, {"0", "0"}, {"2,5", "2.5"}, {"1.25", "1.25"},
      {"abc", std::nullopt}, {"5s", std::nullopt}, {"-1", std::nullopt}, {"1.", std::nullopt},
      {".5", std::nullopt}, {"1.2.3", std::nullopt}, {"5);alert(1", std::nullopt}, {"", std::nullopt},
  };
  for (const auto& [typed, taken] : seconds) EXPECT_EQ(pm::back_link_seconds(typed), taken) << typed;
}

TEST(EditorCommands, CharacterCount) {
  EXPECT_EQ(pm::count_characters("ab\r\nc"), 4u);
  EXPECT_EQ(pm::count_characters("ab\nc"), 4u);
  EXPECT_EQ(pm::count_characters("citt\xC3\xA0 \xE2\x82\xAC"), 7u);
  EXPECT_EQ(pm::count_characters(""), 0u);
  EXPECT_EQ(pm::count_characters("\r\n\r\n"), 2u);
}

TEST(EditorCommands, ColourNotationAndThePalette) {
  EXPECT_EQ(pm::colour_text(0), "#000000");
  EXPECT_EQ(pm::colour_text(247), "#F70000");  // red only: green and blue keep their zeros
  EXPECT_EQ(pm::colour_text(0x0A0B0C), "#0C0B0A");
  EXPECT_EQ(pm::colour_text(pm::colour_value(1, 2, 0xFE)), "#0102FE");
  EXPECT_EQ(pm::colour_text(0xFF000010), "#100000");  // only the colour bytes count
  // (The grid's cells and what they show: colour_palette_window_test.)
}

// (What each compile does afterwards is driven through the editor and the compile dialog
// in the editor's window test.)
TEST(EditorCommands, TheCompileFailureMessage) {
  pm::CompileReport fine;
  EXPECT_EQ(pm::compile_failure_message(fine), "");
  pm::CompileReport bad;
  for (int i = 0; i < 12; ++i) bad.errors.push_back("errore " + std::to_string(i));
  std::string msg = pm::compile_failure_message(bad);
  EXPECT_NE(msg.find("errore 0"), std::string::npos);
  EXPECT_EQ(msg.find("errore 11"), std::string::npos);
  EXPECT_NE(msg.find("altri 2"), std::string::npos);
}

}  // namespace

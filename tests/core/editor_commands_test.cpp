// Small editor commands: the inserted link, timer and back-link mark-up, the character
// count, and what a compile run from the editor does afterwards.
#include <gtest/gtest.h>

#include "compiler/compile_request.h"
#include "compiler/site_compiler.h"
#include "editor/character_count.h"
#include "editor/link_markup.h"

namespace {

TEST(EditorCommands, LinkTimerAndBackLinkMarkup) {
  EXPECT_EQ(pm::link_markup("7", "Vai"), "<a href=\"7.htm\">Vai</a>");
  EXPECT_EQ(pm::link_markup("12", ""), "<a href=\"12.htm\"></a>");
  EXPECT_EQ(pm::timer_markup("12", "5"), "<meta http-equiv='refresh' content='5; url=12.htm'>");
  EXPECT_EQ(pm::back_link_markup("7", "5"),
            "<a href='7.htm'><--</a><meta http-equiv='refresh' content='5; url=javascript:history.back()'>");
  EXPECT_EQ(pm::back_link_markup("7", "0").find('\n'), std::string::npos);
}

TEST(EditorCommands, CharacterCount) {
  EXPECT_EQ(pm::count_characters("ab\r\nc"), 4u);
  EXPECT_EQ(pm::count_characters("ab\nc"), 4u);
  EXPECT_EQ(pm::count_characters("citt\xC3\xA0 \xE2\x82\xAC"), 7u);
  EXPECT_EQ(pm::count_characters(""), 0u);
  EXPECT_EQ(pm::count_characters("\r\n\r\n"), 2u);
}

TEST(EditorCommands, CompileRequestsAndWhatFollows) {
  using R = pm::CompileRequest;
  EXPECT_EQ(pm::compile_request_from_flags("", ""), R::RoomTest);
  EXPECT_EQ(pm::compile_request_from_flags("1", ""), R::ProjectTest);
  EXPECT_EQ(pm::compile_request_from_flags("", "1"), R::BuildWithoutInstaller);
  EXPECT_EQ(pm::compile_request_from_flags("1", "1"), R::ProjectTest);

  const std::filesystem::path out = "/home/Output";
  auto room = pm::plan_compile(R::RoomTest, out, "3");
  EXPECT_TRUE(room.save_room_first);
  EXPECT_FALSE(room.close_host_without_saving);
  EXPECT_EQ(room.target, out / "3.htm");
  EXPECT_EQ(room.clear_flag, 0);
  EXPECT_EQ(room.style, pm::PageStyle::Mobile);

  auto test = pm::plan_compile(R::ProjectTest, out, "0");
  EXPECT_FALSE(test.save_room_first);
  EXPECT_TRUE(test.close_host_without_saving);
  EXPECT_FALSE(test.show_folder);
  EXPECT_EQ(test.target, out / "index.htm");
  EXPECT_EQ(test.clear_flag, 1);

  auto build = pm::plan_compile(R::BuildWithoutInstaller, out, "0");
  EXPECT_TRUE(build.show_folder);
  EXPECT_EQ(build.target, out);
  EXPECT_TRUE(build.close_host_without_saving);
  EXPECT_EQ(build.clear_flag, 2);

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

// The HTML formatting commands on the selected text, and the selection arithmetic the
// windows use: replacements applied to the whole text and offsets in UTF-16 units.
#include "editor/html_commands.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using pm::HtmlCommand;

TEST(HtmlCommands, EachCommandOnASelectionAndOnNone) {
  struct Case {
    HtmlCommand command;
    std::string selected, expected;
  };
  const Case cases[] = {
      {HtmlCommand::Bold, "Ciao", "<b>Ciao</b>"},
      {HtmlCommand::Bold, "", "<b></b>"},
      {HtmlCommand::Italic, "x", "<i>x</i>"},
      {HtmlCommand::Underline, "", "<u></u>"},
      {HtmlCommand::Font, "Testo", "<font size='1' face='verdana' color='#000000'>Testo</font>"},
      {HtmlCommand::AlignLeft, "a", "<div align='left'>a</div>"},
      {HtmlCommand::AlignCenter, "Ciao", "<div align='center'>Ciao</div>"},
      {HtmlCommand::AlignRight, "a\r\nb", "<div align='right'>a\r\nb</div>"},
      {HtmlCommand::AlignJustify, "", "<div align='justify'></div>"},
      // The snippets drop what was selected.
      {HtmlCommand::ImageWidth, "perso", " width=\"120\""},
      {HtmlCommand::ImageHeight, "", " height=\"90\""},
      {HtmlCommand::ImageWidthAndHeight, "perso", " width=\"120\" height=\"90\""},
      {HtmlCommand::NonBreakingSpace, "perso", "&nbsp;"},
      // The table leaves the selected text as it was, apostrophes and quotes included.
      {HtmlCommand::Table, "L'oste",
       "\r\n<table border=\"1\" bordercolor=\"#111111\" width=\"100%\">\r\n<tr>\r\n<td width=\"100%\">\r\n\r\n"
       "L'oste\r\n\r\n</td>\r\n</tr>\r\n</table>\r\n\r\n"},
      {HtmlCommand::Table, "<a onclick=\"alert('x')\">",
       "\r\n<table border=\"1\" bordercolor=\"#111111\" width=\"100%\">\r\n<tr>\r\n<td width=\"100%\">\r\n\r\n"
       "<a onclick=\"alert('x')\">\r\n\r\n</td>\r\n</tr>\r\n</table>\r\n\r\n"},
      {HtmlCommand::StripTags, "", ""},
  };
  for (const Case& c : cases) {
    const pm::Replacement r = pm::html_command(c.command, c.selected);
    EXPECT_EQ(r.text, c.expected) << c.selected;
    EXPECT_EQ(r.select_from, r.text.size());  // the caret after the inserted text
    EXPECT_EQ(r.select_to, r.text.size());
  }
  // The table's own line breaks follow the editor's when it asks.
  EXPECT_EQ(pm::html_command(HtmlCommand::Table, "x", "\n").text,
            "\n<table border=\"1\" bordercolor=\"#111111\" width=\"100%\">\n<tr>\n<td width=\"100%\">\n\nx\n\n"
            "</td>\n</tr>\n</table>\n\n");
}

TEST(HtmlCommands, TagStrippingKeepsValuesAndItsExactSpacing) {
  const std::pair<std::string, std::string> cases[] = {
      {"<div align='center'>Ciao</div>", " Ciao"},
      {"<b>Uno</b>  <i>due</i>", "Uno due"},
      {"<B>Uno</B>", "<B>Uno</B>"},  // case-sensitive
      {"<u>sotto</u>", "sotto"},
      // Links and images keep their targets as words; double quotes count as apostrophes.
      {"<a href=\"12.htm\">Vai</a>", " 12.htm Vai "},
      {"<a href='12.htm' target='_blank'>Vai</a> oltre", " 12.htm' Vai oltre"},
      {"<img src='res/a.jpg' width='120' height='90'>", " res/a.jpg' 120' 90 "},
      {"<font size='1' face='verdana' color='#000000'>Testo</font>", " '1' 'verdana' 000000 Testo</font>"},
      {"<meta http-equiv='refresh' content='5; url=12.htm'>", " 512.htm "},
      // Spaces: three become one before two become one, each once.
      {"a    b", "a b"},
      {"a     b", "a  b"},
      {"a      b", "a b"},
      {"L\"oste", "L'oste"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(pm::strip_html_tags(in), out) << in;
  // Stripping what the centre command made gives back the word after one space.
  const std::string centred = pm::html_command(HtmlCommand::AlignCenter, "Ciao").text;
  EXPECT_EQ(pm::html_command(HtmlCommand::StripTags, centred).text, " Ciao");
}

TEST(HtmlCommands, MenuItemsNameEveryCommandOnce) {
  int seen[int(HtmlCommand::StripTags) + 1] = {};
  for (const auto& item : pm::kHtmlContextItems) ++seen[int(item.command)];
  for (const auto& item : pm::kHtmlSubmenuItems) ++seen[int(item.command)];
  for (int n : seen) EXPECT_EQ(n, 1);
}

TEST(TextSelection, ApplyingAReplacementAndCountingInUtf16) {
  pm::Selection after;
  // Bold around "è bello" in "Tutto è bello": the caret lands after "</b>".
  const std::string text = "Tutto \xC3\xA8 bello!";
  const pm::Selection sel{6, 8};
  const std::string bold = pm::apply_replacement(
      text, sel, pm::html_command(HtmlCommand::Bold, std::string_view(text).substr(sel.start, sel.length)), &after);
  EXPECT_EQ(bold, "Tutto <b>\xC3\xA8 bello</b>!");
  EXPECT_EQ(after, (pm::Selection{21, 0}));
  EXPECT_EQ(pm::apply_replacement("abc", {1, 1}, pm::selected("XY"), &after), "aXYc");
  EXPECT_EQ(after, (pm::Selection{1, 2}));
  EXPECT_EQ(pm::apply_replacement("abc", {5, 3}, pm::caret_after("!"), &after), "abc!");  // clamped
  EXPECT_EQ(after, (pm::Selection{4, 0}));

  // "è" is 2 bytes and 1 unit, "€" 3 bytes and 1 unit, U+1F600 4 bytes and 2 units.
  const std::string mixed = "a\xC3\xA8\xE2\x82\xAC\xF0\x9F\x98\x80z";
  const size_t bytes[] = {0, 1, 3, 6, 10, 11};
  const size_t units[] = {0, 1, 2, 3, 5, 6};
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(pm::utf16_offset(mixed, bytes[i]), units[i]);
    EXPECT_EQ(pm::byte_offset(mixed, units[i]), bytes[i]);
  }
  EXPECT_EQ(pm::byte_offset(mixed, 4), 10u);    // inside the surrogate pair: after the character
  EXPECT_EQ(pm::utf16_offset(mixed, 2), 2u);    // inside "è": after it
  EXPECT_EQ(pm::byte_offset(mixed, 99), 11u);
  EXPECT_EQ(pm::selection_from_utf16(mixed, 2, 3), (pm::Selection{3, 7}));
  EXPECT_EQ(pm::utf16_offset("\xE9t\xE9", 3), 3u);  // stray bytes count one unit each
}

}  // namespace

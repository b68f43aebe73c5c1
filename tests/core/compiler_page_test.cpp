// Room pages: head, before-code, converted lines, the two directives, script, after-code
// and foot, in both page styles.
#include <gtest/gtest.h>

#include <string>

#include "compiler/page_renderer.h"

namespace {

using pm::PageStyle;

pm::ProjectFields fields(std::string title = "Prova", std::string author = "Io", std::string site = "",
                         std::string email = "", std::string width = "100%") {
  pm::ProjectFields f;
  f.f[1] = title;
  f.f[3] = author;
  f.f[4] = site;
  f.f[5] = email;
  f.f[6] = width;
  return f;
}

const std::string kHeadStart =
    "<html>\r\n<head>\r\n<title>Prova by Io -  - </title>\r\n"
    "<link href='adv.css' media='all' rel='stylesheet' type='text/css'>\r\n";
const std::string kViewport = "<meta name=viewport content='width=device-width, initial-scale=1'>\r\n";
const std::string kHeadEnd =
    "</head>\r\n<body>\r\n<div align='center'>\r\n<center>\r\n<table width='100%'>\r\n<tr>\r\n"
    "<td class='adventure' width='100%'>\r\n";
const std::string kClassicHead = kHeadStart + kHeadEnd;
const std::string kMobileHead = kHeadStart + kViewport + kHeadEnd;
const std::string kFoot =
    "</td>\r\n</tr>\r\n</table>\r\n</center>\r\n</div>\r\n"
    "<script language='javascript'> function noRightClick() { if (event.button==2) { alert('') } "
    "}document.onmousedown=noRightClick </script>\r\n"
    "<script language='javascript'>try{var r=sessionStorage.getItem('pagimond.indietro');"
    "sessionStorage.removeItem('pagimond.indietro')}catch(e){}if(!r&&history.length>0)history.forward()</script>\r\n"
    "</body>\r\n</html>\r\n";

std::string page(std::string_view text, PageStyle style = PageStyle::Classic, std::string_view before = "",
                 std::string_view after = "", std::string_view script = "") {
  auto p = pm::render_room_page({text, script, before, after}, fields(), style);
  return p ? *p : "<no page>";
}

TEST(CompilerPage, WholePageInBothStyles) {
  EXPECT_EQ(page("Ciao\r\n"), kClassicHead + "Ciao<br>\r\n" + kFoot);
  EXPECT_EQ(page("Ciao\r\n", PageStyle::Mobile), kMobileHead + "Ciao<br />\r\n" + kFoot);

  // Before-code as read (not trimmed) with break tags, the script and after-code as read.
  EXPECT_EQ(page("Ciao", PageStyle::Mobile, " prima \r\n\r\nb", "dopo 1\r\n dopo 2", "var x;\r\n"),
            kMobileHead + " prima <br />\r\n<br />\r\nb<br />\r\nCiao<br />\r\nvar x;\r\ndopo 1\r\n dopo 2\r\n" + kFoot);
  // No after-code: the foot follows the script directly.
  EXPECT_EQ(page("Ciao", PageStyle::Classic, "", "", "s()"), kClassicHead + "Ciao<br>\r\ns()\r\n" + kFoot);
}

TEST(CompilerPage, HeadTakesTheFieldsAsTheyAre) {
  std::string out;
  pm::append_page_head(out, fields("<b>A & B</b>", "", "http://x", "a@b", "800"), PageStyle::Classic);
  EXPECT_NE(out.find("<title><b>A & B</b> by  - http://x - a@b</title>\r\n"), std::string::npos);
  EXPECT_NE(out.find("<table width='800'>\r\n"), std::string::npos);
}

TEST(CompilerPage, LineConversion) {
  // Outer blanks dropped; inner pairs replaced left to right without overlap.
  EXPECT_EQ(page("  a   b  "), kClassicHead + "a&nbsp;&nbsp; b<br>\r\n" + kFoot);
  EXPECT_EQ(page("  a   b  ", PageStyle::Mobile), kMobileHead + "a  b<br />\r\n" + kFoot);
  EXPECT_EQ(page("a    b", PageStyle::Mobile), kMobileHead + "a  b<br />\r\n" + kFoot);
  // Only spaces are trimmed; a tab stays.
  EXPECT_EQ(page("\ta \r\n"), kClassicHead + "\ta<br>\r\n" + kFoot);
  // Lines end at CR LF, CR or LF; the page is written with CR LF; an empty line is a break.
  EXPECT_EQ(page("a\nb\rc\r\n\r\nd"), kClassicHead + "a<br>\r\nb<br>\r\nc<br>\r\n<br>\r\nd<br>\r\n" + kFoot);
  // Bytes pass through: Windows-1252 and UTF-8 letters alike.
  EXPECT_EQ(page("citt\xE0 citt\xC3\xA0 \x93q\x94"), kClassicHead + "citt\xE0 citt\xC3\xA0 \x93q\x94<br>\r\n" + kFoot);
}

TEST(CompilerPage, RawHtmlDirective) {
  // First line, any case: no head, no before-code, no break tags (typed ones included);
  // script, after-code and foot follow.
  EXPECT_EQ(page("<LANG=HTML>\r\n<html><body>\r\na<br>b\r\n", PageStyle::Classic, "PRIMA", "DOPO", "js"),
            "<html><body>\r\nab\r\njs\r\nDOPO\r\n" + kFoot);
  // Surrounding blanks are trimmed first; followed by more text it is an ordinary line.
  EXPECT_EQ(page("  <lang=html>  \r\nx"), "x\r\n" + kFoot);
  EXPECT_EQ(page("<LANG=HTML> x"), kClassicHead + "<LANG=HTML> x<br>\r\n" + kFoot);
  // Mobile removes its own tag only.
  EXPECT_EQ(page("<lang=html>\r\na<br />b<br>c", PageStyle::Mobile), "ab<br>c\r\n" + kFoot);
  // A later directive keeps head and before-code and only stops the break tags.
  EXPECT_EQ(page("uno\r\n<lang=html>\r\ndue<br>", PageStyle::Classic, "G", "H"),
            kClassicHead + "G<br>\r\nuno<br>\r\ndue\r\nH\r\n" + kFoot);
}

TEST(CompilerPage, NoGlobalCodeDirective) {
  // First line: head without before-code, no break tags, no after-code; the directive
  // alone leaves an empty line.
  EXPECT_EQ(page("<vcode=no>\r\nuno<br>\r\ndue", PageStyle::Classic, "G", "H", "js"),
            kClassicHead + "\r\nuno\r\ndue\r\njs\r\n" + kFoot);
  // Only the lower-case form is removed; every occurrence of it.
  EXPECT_EQ(page("<VCODE=NO>a<vcode=no>b", PageStyle::Classic, "G", "H"), kClassicHead + "<VCODE=NO>ab\r\n" + kFoot);
  // Not at the start of the line: an ordinary line.
  EXPECT_EQ(page("x <vcode=no>", PageStyle::Classic, "G", "H"),
            kClassicHead + "G<br>\r\nx <vcode=no><br>\r\nH\r\n" + kFoot);
  // A later line: before-code already written, breaks and after-code stop from there.
  EXPECT_EQ(page("uno\r\n<vcode=no>due", PageStyle::Mobile, "G", "H"),
            kMobileHead + "G<br />\r\nuno<br />\r\ndue\r\n" + kFoot);
}

TEST(CompilerPage, RoomsWithoutAWrittenLineHaveNoPage) {
  EXPECT_EQ(page(""), "<no page>");
  EXPECT_EQ(page("<lang=html>"), "<no page>");
  EXPECT_EQ(page("<lang=html>\r\n<LANG=html>\r\n", PageStyle::Mobile, "G", "H", "js"), "<no page>");
  // One empty line (a new room) does write a page.
  EXPECT_EQ(page("\r\n"), kClassicHead + "<br>\r\n" + kFoot);
}

}  // namespace

// The one reader of HTML tags that the book check, the paper forms and the story exchange share.
#include <gtest/gtest.h>

#include "base/html_scan.h"

using namespace pm;

TEST(ScanTag, SplitsTagsAsBrowsersDo) {
  constexpr auto npos = std::string_view::npos;
  struct Case {
    std::string_view text, name, href;
    bool closing;
    size_t end;
  } cases[] = {
      {"<a href='1.htm'>uno</a>", "a", "1.htm", false, 16},
      {"<A HREF = \"2.htm\" >", "A", "2.htm", false, 19},        // any case, spaces around '='
      {"<a href=3.htm>", "a", "3.htm", false, 14},               // no quotes
      {"<a title='x > y' href=4.htm>", "a", "4.htm", false, 28},  // '>' inside quotes
      {"<tw-passagedata name='a'>", "tw-passagedata", "", false, 25},
      {"<br/>", "br", "", false, 5},
      {"</a >", "a", "", true, 5},
      {"<a href='5.htm", "a", "5.htm", false, npos},  // a quote left open takes the rest
      {"<a href=6.htm", "a", "6.htm", false, npos},   // never closed
  };
  TagView tag;
  for (const Case& c : cases) {
    scan_tag(c.text, 0, tag);
    EXPECT_EQ(tag.name, c.name) << c.text;
    EXPECT_EQ(tag.value("href"), c.href) << c.text;
    EXPECT_EQ(tag.closing, c.closing) << c.text;
    EXPECT_EQ(tag.end, c.end) << c.text;
  }
}

// The HTML formatting commands (see html_commands.h).
#include "editor/html_commands.h"

namespace pm {

namespace {

std::string wrap(std::string_view open, std::string_view selected, std::string_view close) {
  std::string s;
  s.reserve(open.size() + selected.size() + close.size());
  s.append(open).append(selected).append(close);
  return s;
}

struct Step {
  std::string_view find, replace;
};

// Applied in order, each to the result of the one before. The first step quotes every
// attribute with apostrophes, so the later steps, written for apostrophes, also match
// attributes typed with double quotes.
constexpr Step kStripSteps[] = {
    {"\"", "'"},
    {"<b>", ""},
    {"</b>", ""},
    {"<i>", ""},
    {"</i>", ""},
    {"<u>", ""},
    {"</u>", ""},
    {"<a href='", "  "},
    {"</a>", "  "},
    {"<img src='", "  "},
    {"width='", ""},
    {"height='", ""},
    {"target='", ""},
    {"_blank", ""},
    {"_top", ""},
    {"<div", ""},
    {"align=", ""},
    {"</div>", ""},
    {"'center", ""},
    {"'right", ""},
    {"'left", ""},
    {"'justify", ""},
    {"<font", ""},
    {"size=", ""},
    {"face=", ""},
    {"color='#", ""},
    {"color=", ""},
    {"<meta http-equiv='refresh' content='", " "},
    {"; url=", ""},
    {"'>", " "},
    {"   ", " "},
    {"  ", " "},
};

}  // namespace

std::string html_table(std::string_view selected, std::string_view eol) {
  // The table's own attributes in double quotes; the selected text goes in as it was.
  std::string s;
  s.reserve(selected.size() + 120);
  s.append(eol).append("<table border=\"1\" bordercolor=\"#111111\" width=\"100%\">").append(eol);
  s.append("<tr>").append(eol);
  s.append("<td width=\"100%\">").append(eol).append(eol);
  s.append(selected).append(eol).append(eol);
  s.append("</td>").append(eol);
  s.append("</tr>").append(eol);
  s.append("</table>").append(eol).append(eol);
  return s;
}

std::string strip_html_tags(std::string_view selected) {
  std::string s(selected);
  for (const Step& step : kStripSteps) replace_all_in_place(s, step.find, step.replace);
  return s;
}

Replacement html_command(HtmlCommand command, std::string_view selected, std::string_view eol) {
  switch (command) {
    case HtmlCommand::Bold: return caret_after(wrap("<b>", selected, "</b>"));
    case HtmlCommand::Italic: return caret_after(wrap("<i>", selected, "</i>"));
    case HtmlCommand::Underline: return caret_after(wrap("<u>", selected, "</u>"));
    case HtmlCommand::Font:
      return caret_after(wrap("<font size='1' face='verdana' color='#000000'>", selected, "</font>"));
    case HtmlCommand::AlignLeft: return caret_after(wrap("<div align='left'>", selected, "</div>"));
    case HtmlCommand::AlignCenter: return caret_after(wrap("<div align='center'>", selected, "</div>"));
    case HtmlCommand::AlignRight: return caret_after(wrap("<div align='right'>", selected, "</div>"));
    case HtmlCommand::AlignJustify: return caret_after(wrap("<div align='justify'>", selected, "</div>"));
    // The attribute snippets and the space drop the selected text.
    case HtmlCommand::ImageWidth: return caret_after(" width=\"120\"");
    case HtmlCommand::ImageHeight: return caret_after(" height=\"90\"");
    case HtmlCommand::ImageWidthAndHeight: return caret_after(" width=\"120\" height=\"90\"");
    case HtmlCommand::NonBreakingSpace: return caret_after("&nbsp;");
    case HtmlCommand::Table: return caret_after(html_table(selected, eol));
    case HtmlCommand::StripTags: return caret_after(strip_html_tags(selected));
  }
  return caret_after(std::string(selected));
}

}  // namespace pm

// The HTML formatting commands of the editor's context menu: wrapping the selected text in
// tags, inserting attribute snippets, a non-breaking space or a one-cell table, and
// stripping the editor's own tags out of the selection again. Each command rewrites only
// the selected text (with no selection, the empty text at the caret) and leaves the caret
// after what it put there. The window hands over the selected text and puts the
// replacement in its place as one change of the text, which the history records as it
// records typing.
#pragma once

#include <string>
#include <string_view>

#include "editor/text_selection.h"
#include "base/text.h"

namespace pm {

enum class HtmlCommand {
  Bold,
  Italic,
  Underline,
  Font,
  AlignLeft,
  AlignCenter,
  AlignRight,
  AlignJustify,
  ImageWidth,
  ImageHeight,
  ImageWidthAndHeight,
  NonBreakingSpace,
  Table,
  StripTags,
};

// A menu item: the command, the item's object name and its caption.
struct HtmlMenuItem {
  HtmlCommand command;
  std::string_view name;
  std::string_view caption;
};

// The three items of the context menu itself, in order.
inline constexpr HtmlMenuItem kHtmlContextItems[] = {
    {HtmlCommand::Bold, "Grassetto", "Grassetto"},
    {HtmlCommand::Italic, "Corsivo", "Corsivo"},
    {HtmlCommand::Underline, "Sottolineato", "Sottolineato"},
};
// The items of "Avanzate" -> "HTML", in order.
inline constexpr HtmlMenuItem kHtmlSubmenuItems[] = {
    {HtmlCommand::NonBreakingSpace, "Spazio_HTML", "Spazio HTML"},
    {HtmlCommand::Table, "Table", "Table"},
    {HtmlCommand::Font, "FontHtml", "Font"},
    {HtmlCommand::AlignLeft, "LeftHTML", "Left"},
    {HtmlCommand::AlignCenter, "CenterHTML", "Center"},
    {HtmlCommand::AlignRight, "RightHTML", "Right"},
    {HtmlCommand::ImageWidth, "WidthImg", "Width"},
    {HtmlCommand::AlignJustify, "JustifyHTML", "Justify"},
    {HtmlCommand::ImageHeight, "HeightImg", "Height"},
    {HtmlCommand::ImageWidthAndHeight, "WidtheHeight", "Width e Height"},
    {HtmlCommand::StripTags, "TagTogli", "Elimina HTML e Doppi Spazi"},
};

// What replaces the selected text `selected`, with the caret after it. `eol` is the line
// break the table command writes; line breaks inside `selected` pass through unchanged.
Replacement html_command(HtmlCommand command, std::string_view selected, std::string_view eol = kCrLf);

// The table command's text: `selected`, as it was, alone in the one cell of a full-width
// table whose attributes are in double quotes.
std::string html_table(std::string_view selected, std::string_view eol = kCrLf);

// The tag stripping command's text: the editor's own tags and their quoting removed (the
// values stay as words), then runs of blanks narrowed by one pass of three spaces to one
// and one pass of two spaces to one. Case-sensitive.
std::string strip_html_tags(std::string_view selected);

}  // namespace pm

// A room's text (UTF-8, HTML as authors write it) turned into well-formed XHTML for a paper
// book: paragraphs, line breaks, bold and italics, links between rooms, pictures of res.
// A link to a room is followed by the room's number ("(vai al 12)") unless its text shows it.
// Mark-up paper has no use for is written as its text; what a page cannot carry on paper
// (scripts, timed jumps, back links, sounds) is dropped and named in `lost`.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

struct PaperMarkupRules {
  // The address of a room's section, or nothing when the book has no section for it.
  std::function<std::optional<std::string>(std::string_view room)> room_href;
  // True when the picture at `path` (inside res, '/' separators) goes into the book.
  std::function<bool(std::string_view path)> picture;
};

struct PaperMarkup {
  std::string xhtml;                  // <p> elements; UTF-8, only the five XML references
  std::vector<std::string> lost;      // what paper cannot carry, in Italian, each once
  std::vector<std::string> pictures;  // the res paths of the pictures shown, each once
};

// `text` as a room's lines: each line ends with a line break, an empty line ends a
// paragraph, and the <lang=html> and <vcode=no> directives stop the line breaks as the
// compiled page does.
PaperMarkup paper_markup(std::string_view text, const PaperMarkupRules& rules);

// `text` with &, < and > (and " for attributes) written as XML references.
std::string xml_escaped(std::string_view text);

}  // namespace pm

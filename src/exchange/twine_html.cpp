// The reader of the published HTML form of a story (see twine_html.h). One pass over the
// bytes: each element is looked for from where the previous one ended.
#include "exchange/twine_html.h"

#include <algorithm>

#include "base/text.h"
#include "base/text_codec.h"
#include "exchange/html_tag.h"

namespace pm {

namespace {

// Lines before `pos`, counted from `from` (at line `line`) onwards.
uint32_t line_at(std::string_view s, size_t& from, uint32_t& line, size_t pos) {
  line += uint32_t(std::count(s.begin() + long(from), s.begin() + long(pos), '\n'));
  from = pos;
  return line;
}

}  // namespace

bool looks_like_twine_html(std::string_view bytes) { return ifind(bytes, "<tw-storydata") != std::string_view::npos; }

Result<Story> read_twine_html(std::string_view bytes) {
  const std::string utf8 = story_bytes_as_utf8(bytes);
  const std::string_view s = utf8;
  const size_t open = ifind(s, "<tw-storydata");
  if (open == std::string_view::npos)
    return Status(StatusKind::ReadFailed, "Il file non contiene una storia: manca l'elemento <tw-storydata>.");
  const HtmlTag story_tag = read_html_tag(s, open);
  if (story_tag.end == std::string_view::npos)
    return Status(StatusKind::ReadFailed, "L'elemento <tw-storydata> non \xC3\xA8 chiuso da \">\".");
  Story story;
  story.title = story_tag.attr("name");
  story.ifid = story_tag.attr("ifid");
  story.format = story_tag.attr("format");
  story.format_version = story_tag.attr("format-version");
  const std::string startnode = story_tag.attr("startnode");

  size_t close = ifind(s, "</tw-storydata", story_tag.end);
  if (close == std::string_view::npos) close = s.size();
  const std::string_view body = s.substr(0, close);
  size_t counted = 0;
  uint32_t line = 1;
  size_t i = story_tag.end;
  while ((i = body.find('<', i)) != std::string_view::npos) {
    const std::string_view rest = body.substr(i);
    const bool passage = istarts_with(rest, "<tw-passagedata");
    const bool style = istarts_with(rest, "<style");
    const bool script = istarts_with(rest, "<script");
    if (!passage && !style && !script) {
      ++i;
      continue;
    }
    const HtmlTag tag = read_html_tag(body, i);
    if (tag.end == std::string_view::npos) break;
    const std::string_view end_name = passage ? "</tw-passagedata" : style ? "</style" : "</script";
    size_t end = ifind(body, end_name, tag.end);
    if (end == std::string_view::npos) end = body.size();
    const std::string_view content = body.substr(tag.end, end - tag.end);
    if (passage) {
      StoryPassage p;
      p.name = tag.attr("name");
      std::string tag_word;
      for (char c : tag.attr("tags") + " ") {
        if (c != ' ') {
          tag_word += c;
        } else if (!tag_word.empty()) {
          p.tags.push_back(std::move(tag_word));
          tag_word.clear();
        }
      }
      std::string text = decode_html_text(content);
      replace_all_in_place(text, "\r\n", "\n");
      p.line = line_at(s, counted, line, tag.end);
      size_t lead = 0;  // a line break right after the tag is not part of the text
      while (lead < text.size() && text[lead] == '\n') ++lead, ++p.line;
      text.erase(0, lead);
      while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '\t')) text.pop_back();
      p.text = std::move(text);
      if (tag.attr("pid") == startnode && !startnode.empty()) story.start = p.name;
      story.passages.push_back(std::move(p));
    } else if (style) {
      std::string css = std::string(trim_space(content));
      if (!css.empty()) story.stylesheet += (story.stylesheet.empty() ? "" : "\n") + css;
    } else {
      std::string js = std::string(trim_space(content));
      if (!js.empty()) story.script += (story.script.empty() ? "" : "\n") + js;
    }
    i = end;
  }
  if (ifind(s, "<tw-storydata", close) != std::string_view::npos)
    story.warnings.push_back("il file \xC3\xA8 un archivio con pi\xC3\xB9 storie: \xC3\xA8 stata importata solo la prima (\"" +
                             story.title + "\")");
  return story;
}

}  // namespace pm

// The Twee 3 reader and writer (see twee.h).
#include "exchange/twee.h"

#include "base/text.h"
#include "exchange/story_json.h"

namespace pm {

namespace {

struct Header {
  std::string name;
  std::vector<std::string> tags;
};

// Reads the text of a header from `i` up to an unescaped character of `stops` (or the end),
// each escaped character taken without its backslash.
std::string read_escaped(std::string_view s, size_t& i, std::string_view stops) {
  std::string out;
  while (i < s.size() && stops.find(s[i]) == std::string_view::npos) {
    if (s[i] == '\\' && i + 1 < s.size()) ++i;
    out += s[i++];
  }
  return out;
}

Header parse_header(std::string_view line) {
  Header h;
  size_t i = 2;  // after "::"
  h.name = std::string(trim_blanks(read_escaped(line, i, "[{")));
  if (i < line.size() && line[i] == '[') {
    ++i;
    std::string tag;
    while (i < line.size() && line[i] != ']') {
      if (line[i] == ' ' || line[i] == '\t') {
        if (!tag.empty()) h.tags.push_back(std::move(tag));
        tag.clear();
        ++i;
        continue;
      }
      if (line[i] == '\\' && i + 1 < line.size()) ++i;
      tag += line[i++];
    }
    if (!tag.empty()) h.tags.push_back(std::move(tag));
  }
  return h;  // the metadata block (the passage's place on the map) is not needed
}

bool has_tag(const Header& h, std::string_view tag) {
  for (const auto& t : h.tags)
    if (t == tag) return true;
  return false;
}

std::string joined_tags(const std::vector<std::string>& tags) {
  std::string out;
  for (const auto& t : tags) {
    if (!out.empty()) out += ' ';
    out += escape_twee_name(t);
  }
  return out;
}

}  // namespace

std::string escape_twee_name(std::string_view name) {
  std::string out;
  for (char c : name) {
    if (c == '[' || c == ']' || c == '{' || c == '}' || c == '\\') out += '\\';
    out += c;
  }
  return out;
}

Result<Story> read_twee(std::string_view bytes) {
  const std::string utf8 = story_bytes_as_utf8(bytes);
  const std::vector<std::string_view> lines = split_line_views(utf8);
  Story story;
  bool any = false;
  size_t i = 0;
  while (i < lines.size() && lines[i].substr(0, 2) != "::") ++i;
  while (i < lines.size()) {
    const Header h = parse_header(lines[i]);
    const uint32_t first = uint32_t(i + 2);
    size_t end = ++i;
    while (end < lines.size() && lines[end].substr(0, 2) != "::") ++end;
    size_t last = end;  // trailing blank lines are not part of the passage
    while (last > i && trim_space(lines[last - 1]).empty()) --last;
    std::string text;
    for (size_t k = i; k < last; ++k) {
      if (k > i) text += '\n';
      text += lines[k];
    }
    i = end;
    any = true;
    if (h.name == "StoryTitle") {
      story.title = std::string(trim_space(text));
    } else if (h.name == "StoryData") {
      const JsonFields data = read_json_strings(text);
      if (!data.ok) story.warnings.push_back("riga " + std::to_string(first - 1) + ": StoryData non \xC3\xA8 JSON valido, ignorato");
      story.ifid = data.get("ifid");
      story.format = data.get("format");
      story.format_version = data.get("format-version");
      story.start = data.get("start");
    } else if (has_tag(h, "script")) {
      story.script += (story.script.empty() ? "" : "\n") + text;
    } else if (has_tag(h, "stylesheet")) {
      story.stylesheet += (story.stylesheet.empty() ? "" : "\n") + text;
    } else {
      story.passages.push_back({h.name, h.tags, std::move(text), first});
    }
  }
  if (!any)
    return Status(StatusKind::ReadFailed,
                  "Il file non \xC3\xA8 una storia Twee: nessuna riga comincia con \"::\" (l'intestazione di un passaggio).");
  return story;
}

std::string write_twee(const Story& story) {
  std::string out = ":: StoryTitle\n" + story.title + "\n\n";
  JsonFields data;
  data.add("ifid", story.ifid);
  if (!story.format.empty()) data.add("format", story.format);
  if (!story.format_version.empty()) data.add("format-version", story.format_version);
  if (!story.start.empty()) data.add("start", story.start);
  out += ":: StoryData\n" + write_json_strings(data) + "\n\n";
  if (!story.stylesheet.empty()) out += ":: Foglio di stile [stylesheet]\n" + story.stylesheet + "\n\n";
  if (!story.script.empty()) out += ":: Script [script]\n" + story.script + "\n\n";
  for (const auto& p : story.passages) {
    out += ":: " + escape_twee_name(p.name);
    if (!p.tags.empty()) out += " [" + joined_tags(p.tags) + "]";
    out += "\n" + p.text + "\n\n";
  }
  return out;
}

}  // namespace pm

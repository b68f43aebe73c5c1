// A room's page N.htm (see page_renderer.h).
#include "compiler/page_renderer.h"

#include "base/text.h"

namespace pm {

namespace {

constexpr std::string_view kViewport = "<meta name=viewport content='width=device-width, initial-scale=1'>";
constexpr std::string_view kRawHtml = "<lang=html>";
constexpr std::string_view kNoGlobalCode = "<vcode=no>";

void add_line(std::string& out, std::string_view line) {
  out += line;
  out += kCrLf;
}

// Appends `s` to `out` without the occurrences of `drop`, scanning left to right.
void append_without(std::string& out, std::string_view s, std::string_view drop) {
  size_t pos = 0;
  for (size_t hit; (hit = s.find(drop, pos)) != std::string_view::npos; pos = hit + drop.size())
    out.append(s.substr(pos, hit - pos));
  out.append(s.substr(pos));
}

void append_foot(std::string& out) {
  for (std::string_view l : {"</td>", "</tr>", "</table>", "</center>", "</div>"}) add_line(out, l);
  add_line(out, kNoRightClickScript);
  add_line(out, kForwardScript);
  add_line(out, "</body>");
  add_line(out, "</html>");
}

}  // namespace

std::string_view break_tag(PageStyle style) { return style == PageStyle::Classic ? "<br>" : "<br />"; }

void append_page_head(std::string& out, const ProjectFields& f, PageStyle style, std::string_view line_end) {
  auto piece = [&](std::string_view s) {
    out += s;
    out += line_end;
  };
  piece("<html>");
  piece("<head>");
  out += "<title>";
  out += f.title();
  out += " by ";
  out += f.author();
  out += " - ";
  out += f.site();
  out += " - ";
  out += f.email();
  piece("</title>");
  piece("<link href='adv.css' media='all' rel='stylesheet' type='text/css'>");
  if (style == PageStyle::Mobile) piece(kViewport);
  piece("</head>");
  piece("<body>");
  piece("<div align='center'>");
  piece("<center>");
  out += "<table width='";
  out += f.width();
  piece("'>");
  piece("<tr>");
  piece("<td class='adventure' width='100%'>");
}

bool render_room_page(const RoomSources& room, const ProjectFields& fields, PageStyle style, std::string& out) {
  const std::string_view tag = break_tag(style);
  const std::string_view two_blanks = style == PageStyle::Classic ? "&nbsp;&nbsp;" : " ";

  out.clear();
  bool head_written = false, raw_html = false, no_global = false, page_started = false;
  std::string line;
  for_each_line(room.text, [&](std::string_view input) {
    line.clear();
    append_replaced(line, trim_blanks(input), "  ", two_blanks);
    if (iequals(line, kRawHtml)) {
      raw_html = true;
      head_written = true;
      return;
    }
    if (istarts_with(line, kNoGlobalCode)) {
      no_global = true;
      line = replace_all(line, kNoGlobalCode, "");
    }
    if (!page_started) {
      out.reserve(room.text.size() + room.text.size() / 4 + room.before_code.size() * 2 + room.script.size() +
                  room.after_code.size() + 1024);
      page_started = true;
    }
    if (!head_written) {
      append_page_head(out, fields, style);
      if (!no_global) {
        for_each_line(room.before_code, [&](std::string_view code) {
          out += code;
          add_line(out, tag);
        });
      }
      head_written = true;
    }
    if (raw_html || no_global) {
      append_without(out, line, tag);
      out += kCrLf;
    } else {
      out += line;
      add_line(out, tag);
    }
  });
  if (!page_started) {
    out.clear();
    return false;
  }

  for_each_line(room.script, [&](std::string_view l) { add_line(out, l); });
  if (!no_global) for_each_line(room.after_code, [&](std::string_view l) { add_line(out, l); });
  append_foot(out);
  return true;
}

std::optional<std::string> render_room_page(const RoomSources& room, const ProjectFields& fields, PageStyle style) {
  std::string out;
  if (!render_room_page(room, fields, style, out)) return std::nullopt;
  return out;
}

bool writes_page(std::string_view text) {
  bool page = false;
  for_each_line(text, [&](std::string_view line) { page = page || !iequals(trim_blanks(line), kRawHtml); });
  return page;
}

}  // namespace pm

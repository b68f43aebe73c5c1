// The start page index.htm of the multi-page site and the credit line (see site_compiler.h).
#include "compiler/site_compiler.h"

#include "base/text.h"

namespace pm {

namespace {

void add_line(std::string& out, std::string_view line) {
  out += line;
  out += kCrLf;
}

void append_link(std::string& out, std::string_view address, std::string_view label) {
  out += "<a href='";
  out += address;
  out += "' target='_blank'>";
  out += label;
  out += "</a>";
}

}  // namespace

std::string credit_line() {
  std::string out = "Creato con ";
  append_link(out, kProductSite, kProductLabel);
  out += " <br> ";
  bool first = true;
  for (const auto& site : kMakerSites) {
    if (!first) out += "   ";
    first = false;
    append_link(out, site.address, site.label);
  }
  return out;
}

std::string render_start_page(const ProjectFields& fields, PageStyle style) {
  const std::string B(break_tag(style));
  std::string out;
  out.reserve(1024);
  append_page_head(out, fields, style);
  if (fields.skip_start_page()) {
    add_line(out, "<script>");
    add_line(out, "window.location='0.htm';");
    add_line(out, "</script>");
    add_line(out, "<meta http-equiv='refresh' content='0; url=0.htm'>");
  } else {
    add_line(out, "<center>");
    add_line(out, B + B);
    if (!fields.title().empty()) add_line(out, "Titolo: " + B + "<b>" + fields.title() + "</b>" + B + B);
    if (!fields.date().empty()) add_line(out, "Data: " + B + fields.date() + B + B);
    if (!fields.author().empty()) add_line(out, "Autore: " + B + fields.author() + B + B);
    if (!fields.site().empty()) add_line(out, "Sito Web: " + B + fields.site() + B + B);
    if (!fields.email().empty()) add_line(out, "Email: " + B + fields.email() + B + B);
    add_line(out, "<a href='0.htm'>Continua >></a>");
    add_line(out, B + B);
    add_line(out, B + B);
    if (style == PageStyle::Classic) add_line(out, credit_line());
    add_line(out, "</center>");
  }
  for (std::string_view l : {"</td>", "</tr>", "</table>", "</center>", "</div>", "</body>", "</html>"})
    add_line(out, l);
  return out;
}

}  // namespace pm

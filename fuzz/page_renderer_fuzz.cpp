// A room's page and the start page from any room text, script, before-code, after-code
// and project file, in both page styles, with the <lang=html> and <vcode=no> directives.
#include "compiler/page_renderer.h"
#include "compiler/site_compiler.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto in = fuzz::parts(data, size, 5);
  const pm::ProjectFields fields = pm::parse_project_line(in[4]);
  const pm::RoomSources room{in[0], in[1], in[2], in[3]};
  for (pm::PageStyle style : {pm::PageStyle::Classic, pm::PageStyle::Mobile}) {
    const auto page = pm::render_room_page(room, fields, style);
    if (page) fuzz::check(page->size() >= 9 && page->substr(page->size() - 9) == "</html>\r\n", "a page ends with </html>");
    const std::string start = pm::render_start_page(fields, style);
    fuzz::check(start.find("</html>") != std::string::npos, "a start page ends with </html>");
  }
  return 0;
}

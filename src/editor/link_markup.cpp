// Link, timer and back-link mark-up (see link_markup.h).
#include "editor/link_markup.h"

namespace pm {

std::string link_markup(std::string_view room, std::string_view selected) {
  std::string s = "<a href=\"";
  s.append(room).append(".htm\">").append(selected).append("</a>");
  return s;
}

std::string timer_markup(std::string_view room, std::string_view seconds) {
  std::string s = "<meta http-equiv='refresh' content='";
  s.append(seconds).append("; url=").append(room).append(".htm'>");
  return s;
}

std::string back_link_markup(std::string_view room, std::string_view seconds) {
  std::string s = "<a href='";
  s.append(room).append(".htm'><--</a><meta http-equiv='refresh' content='");
  s.append(seconds).append("; url=javascript:history.back()'>");
  return s;
}

}  // namespace pm

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

std::string back_link_markup(std::string_view seconds) {
  // The script finds the room it is in (the last anchor with a number for a name before it:
  // in the one-page book, the room's section; in a room page, none) and runs its timer
  // while the address names that room, or always when there is none.
  std::string s =
      "<a href='javascript:history.back()'><--</a><script>(function(){var s=document.currentScript,"
      "l=s.previousElementSibling,a=document.querySelectorAll('a[name]'),n='',t;"
      "for(var i=a.length;i--;)if(/^[0-9]+$/.test(a[i].name)&&a[i].compareDocumentPosition(s)&4){n=a[i].name;break}"
      "function b(){if(!n)try{sessionStorage.setItem('";
  s.append(kBackMark);
  s.append("','1')}catch(e){}history.back();return false}if(l)l.onclick=b;"
           "function w(){clearTimeout(t);if(!n||location.hash=='#'+n)t=setTimeout(b,");
  s.append(seconds);
  s.append("*1000)}w();addEventListener('hashchange',w)})()</script>");
  return s;
}

std::optional<std::string> back_link_seconds(std::string_view answer) {
  while (!answer.empty() && answer.front() == ' ') answer.remove_prefix(1);
  while (!answer.empty() && answer.back() == ' ') answer.remove_suffix(1);
  std::string out;
  bool point = false, digits_after = false;
  for (char c : answer) {
    if (c >= '0' && c <= '9') {
      out += c;
      digits_after = true;
    } else if ((c == '.' || c == ',') && !point && !out.empty()) {
      out += '.';
      point = true;
      digits_after = false;
    } else {
      return std::nullopt;
    }
  }
  if (out.empty() || !digits_after) return std::nullopt;
  return out;
}

}  // namespace pm

// A room's page N.htm: the page head, the before-code, the converted room lines with the
// <lang=html> and <vcode=no> directives, the room script, the after-code and the foot.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "project/project_file.h"

namespace pm {

// Classic: "<br>", two blanks become "&nbsp;&nbsp;" (installer build).
// Mobile: "<br />", two blanks become one, a viewport line in the head (tests, web build).
enum class PageStyle { Classic, Mobile };

std::string_view break_tag(PageStyle style);

// The twelve (classic: eleven) head lines, each followed by `line_end`, appended to `out`.
// The single-file compile writes the classic head with no line ends between the pieces.
void append_page_head(std::string& out, const ProjectFields& fields, PageStyle style,
                      std::string_view line_end = "\r\n");

// The script line of the room pages' foot that blocks the right mouse button; the single
// file ends with it too.
inline constexpr std::string_view kNoRightClickScript =
    "<script language='javascript'> function noRightClick() { if (event.button==2) { alert('') } "
    "}document.onmousedown=noRightClick </script>";

// The last script line of the room pages' foot: a page the reader reaches with the
// browser's Back button sends the reader forward again, unless the book's own back link
// (the editor's F4) asked for the return: it leaves the mark "pagimond.indietro" in the
// session storage, which this script takes away.
inline constexpr std::string_view kForwardScript =
    "<script language='javascript'>try{var r=sessionStorage.getItem('pagimond.indietro');"
    "sessionStorage.removeItem('pagimond.indietro')}catch(e){}if(!r&&history.length>0)history.forward()</script>";

// What a room page is made of; missing files are empty.
struct RoomSources {
  std::string_view text;         // room text file N
  std::string_view script;       // N.js
  std::string_view before_code;  // Global.cod
  std::string_view after_code;   // Global2.cod
};

// The page of one room, or nothing when the room has no line that writes a page (an empty
// text, or only the <lang=html> directive). The project fields are read lazily by the
// caller; they are only used when a head is written.
std::optional<std::string> render_room_page(const RoomSources& room, const ProjectFields& fields, PageStyle style);
// The same into `out`, whose room is reused from page to page: false (and `out` empty)
// when the room has no page.
bool render_room_page(const RoomSources& room, const ProjectFields& fields, PageStyle style, std::string& out);

// True when `text` gives its room a page: it has a line other than the <lang=html> directive.
bool writes_page(std::string_view text);

}  // namespace pm

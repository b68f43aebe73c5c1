// The roads out of one room text: links (<a href>), timed jumps (<meta http-equiv=refresh>),
// back links (javascript:history.back()), outside addresses and the files of res a page
// uses (src= of pictures and sounds, href= into res). One pass over the bytes; tags are
// read the way browsers read them: any letter case, double, single or no quotes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

enum class RoadKind {
  Link,       // <a href="N.htm">: `target` is the page name without ".htm" (N)
  TimedJump,  // <meta http-equiv='refresh' content='S; url=N.htm'>: `target` is N
  BackLink,   // javascript:history.back(), as a link or as a timed jump
  Outside,    // an address with a scheme (http:, mailto:, ...): `target` is the address
  Resource,   // a file of res: `target` is the path inside res, with '/' separators
};

struct Road {
  RoadKind kind = RoadKind::Link;
  std::string target;
  uint32_t line = 0;  // 1-based line of the tag's '<'
  std::string text;   // the tag as written (long tags are cut)
  // The visible arrow of a back link in the old form, <a href='N.htm'><--</a> right
  // before the history-back refresh: earlier versions linked it to the room it is in.
  bool back_arrow = false;
};

// Appends the roads of `text` to `out`, in the order they appear.
void scan_roads(std::string_view text, std::vector<Road>& out);

// True when `text` holds the comment <!-- fine --> (any case, any blanks inside), by which
// an author marks a room as an ending.
bool has_ending_comment(std::string_view text);

// True when `description` holds the word FINE or VITTORIA (capitals, as a whole word).
bool description_marks_ending(std::string_view description);

}  // namespace pm

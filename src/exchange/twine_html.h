// The published HTML form of a story (and the archive, which holds several): a
// <tw-storydata> element whose attributes name the story, its start passage (startnode, a
// pid) and its format, holding <tw-passagedata> elements with the passages' text escaped
// as HTML, a <style type="text/twine-css"> and a <script type="text/twine-javascript">.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"
#include "exchange/story.h"

namespace pm {

// True when the bytes hold a <tw-storydata> element (any letter case).
bool looks_like_twine_html(std::string_view bytes);

// Reads the first story of the file; the passages' text with its character references
// decoded. ReadFailed, with a message, when there is no <tw-storydata> element.
Result<Story> read_twine_html(std::string_view bytes);

}  // namespace pm

// Following a link between rooms: the room a selection points to (12.htm -> 12) and the
// test that serves a pending request once the target room's text file holds a line.
// A target can only name a file of the project folder itself.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "base/files.h"

namespace pm {

// The room named by the editor's selection: it must end in ".htm" (case counts) and
// start with a digit; every ".htm" is removed. With `require_htm` false (the map's
// request) the ending is not required. Nothing when the selection names no room or the
// result could name a file outside the project folder (a path separator, "..", a drive
// colon or a control character).
std::optional<std::string> follow_link_target(std::string_view selection, bool require_htm = true);

// A target that names a file of the project folder itself: a plain file name without "..".
bool is_safe_link_target(std::string_view target);

// A pending request is retried every kFollowLinkRetryMs for at most kFollowLinkTries
// tries (five seconds), then given up with follow_link_missing_message.
inline constexpr int kFollowLinkRetryMs = 100;
inline constexpr int kFollowLinkTries = 50;
std::string follow_link_missing_message(std::string_view target);

// True when `target` is safe and the project's text file of that name can
// be read and holds at least one line (is not empty).
bool follow_link_ready(const stdfs::path& project_folder, std::string_view target);

}  // namespace pm

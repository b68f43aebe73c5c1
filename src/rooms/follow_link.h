// Following a link between rooms: the room a selection points to (12.htm -> 12), the
// test that serves a pending request once the target room's text file holds a line, and
// the pace at which a pending request is retried and given up. A target can only name a
// file of the project folder itself.
#pragma once

#include <chrono>
#include <functional>
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

// True when `target` is safe and the project's text file of that name can
// be read and holds at least one line (is not empty).
bool follow_link_ready(const stdfs::path& project_folder, std::string_view target);

// A pending request is retried every kFollowLinkRetryMs; a room that stays missing or empty
// for kFollowLinkPatience is given up with follow_link_missing_message.
inline constexpr int kFollowLinkRetryMs = 100;
inline constexpr std::chrono::milliseconds kFollowLinkPatience{5000};
std::string follow_link_missing_message(std::string_view target);

// One pending follow-link request, ticked by its window's timer: it waits until the target
// room's text holds a line, for kFollowLinkPatience from its first tick (a new target starts
// the time again); a target naming no file of the project is dropped at once. The clock is
// the caller's, so that the pace can be shown without waiting for it.
class FollowLinkRetry {
 public:
  using Clock = std::function<std::chrono::steady_clock::time_point()>;
  enum class Step {
    Wait,    // not there yet: tick again
    Open,    // the room holds a line: open it
    GiveUp,  // still missing or empty after kFollowLinkPatience: say so
    Drop,    // names no file of the project: forget it without a word
  };

  explicit FollowLinkRetry(Clock clock = std::chrono::steady_clock::now) : clock_(std::move(clock)) {}

  // The request for `target` in `project_folder`, one tick later. Every step but Wait ends
  // the request: the next tick starts a new one.
  Step tick(const stdfs::path& project_folder, std::string_view target);

 private:
  Clock clock_;
  std::optional<std::string> target_;  // the request pending since `since_`
  std::chrono::steady_clock::time_point since_;
};

}  // namespace pm

// What pagimond-cli writes: bytes to standard output unchanged (no line-end translation),
// and one-line messages on standard error.
#pragma once

#include <string>
#include <string_view>

#include "base/status.h"

namespace pm::cli {

// Exit statuses: 0 success, 1 the work failed, 2 the command line was wrong.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Writes `bytes` to standard output exactly and flushes. WriteFailed when they could not
// all be written (a closed pipe, a full disk); the message then says why.
Status write_stdout_bytes(std::string_view bytes);

// "pagimond-cli: " + message on one line of standard error: line ends inside the message
// become blanks, so each problem is exactly one line.
void report_error(std::string_view message);

// The usage summary, as it is (several lines), on standard error.
void report_usage(std::string_view usage);

// "message: path", the usual shape of a message about a file or folder.
std::string with_path(std::string_view message, const std::string& path);

}  // namespace pm::cli

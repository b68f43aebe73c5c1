// What the live preview's server answers, decided without a network: which file of Output
// a request names (never one outside it), whether its Host is this server's own, the
// reload script added to the pages it serves, and the type of each file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/files.h"

namespace pm {

// Where the pages' script listens for the news of a compile (Server-Sent Events).
inline constexpr std::string_view kReloadPath = "/__pagimond/ricarica";

// The file of `root` that the request target `target` ("/12.htm?x" as sent, percent-encoded)
// names: "/" is index.htm. Nothing for a target that is no plain path, that holds a
// backslash, a NUL, a drive colon, a "." or ".." part (before or after decoding), that
// names the compile's state or a hidden file, or whose file (links followed) lies outside
// `root` or is no regular file.
std::optional<stdfs::path> served_file(const stdfs::path& root, std::string_view target);

// True when `host` (the Host header) names this server: 127.0.0.1 or localhost, with
// `port` (which may be left out only when it is 80). Anything else is a page of another
// site that a name server pointed here (DNS rebinding).
bool host_is_loopback(std::string_view host, int port);

// `page` with the reload script before its last </body> (at its end when it has none). The
// script listens at kReloadPath and reloads the page when a compile newer than
// `generation` (the one the page was served after) has ended.
std::string with_reload_script(std::string_view page, std::uint64_t generation);

// The content type of a file by its name's extension.
std::string_view content_type_of(const stdfs::path& file);

}  // namespace pm

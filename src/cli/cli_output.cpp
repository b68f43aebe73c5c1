// Standard output as bytes and one-line error messages (see cli_output.h).
#include "cli/cli_output.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace pm::cli {

Status write_stdout_bytes(std::string_view bytes) {
#if defined(_WIN32)
  _setmode(_fileno(stdout), _O_BINARY);
#endif
  errno = 0;
  size_t written = bytes.empty() ? 0 : std::fwrite(bytes.data(), 1, bytes.size(), stdout);
  bool ok = written == bytes.size();
  if (std::fflush(stdout) != 0) ok = false;
  if (ok) return {};
  return {StatusKind::WriteFailed, errno ? std::strerror(errno) : "write error"};
}

void report_error(std::string_view message) {
  std::string line = "pagimond-cli: ";
  for (char c : message) line += (c == '\r' || c == '\n') ? ' ' : c;
  line += '\n';
  std::fwrite(line.data(), 1, line.size(), stderr);
  std::fflush(stderr);
}

void report_usage(std::string_view usage) {
  std::fwrite(usage.data(), 1, usage.size(), stderr);
  std::fflush(stderr);
}

std::string with_path(std::string_view message, const std::string& path) {
  return std::string(message) + ": " + path;
}

}  // namespace pm::cli

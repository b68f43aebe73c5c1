// Converting between the log file's lines and the log's text.
#include "log_text.h"

#include <optional>

namespace registro {

namespace {

// Calls `line` for every line of `s`; a line ends at CR LF, CR or LF. With
// `last_break_opens_line` whatever follows the last break is a line even when empty
// (text: "" is one empty line); without it, a last empty remainder is no line (files).
template <typename F>
void for_each_line(std::string_view s, bool last_break_opens_line, F line) {
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] != '\r' && s[i] != '\n') {
      ++i;
      continue;
    }
    line(s.substr(start, i - start));
    i += (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < s.size() || last_break_opens_line) line(s.substr(start));
}

}  // namespace

LogText log_from_file(std::string_view bytes) {
  LogText log;
  std::string decoded;
  if (is_valid_utf8(bytes)) {
    decoded.assign(bytes);
  } else {
    decoded = windows1252_to_utf8(bytes);
    log.encoding = Encoding::Windows1252;
  }
  bool first = true;
  for_each_line(decoded, false, [&](std::string_view line) {
    if (!first) log.text += '\n';
    log.text += line;
    first = false;
  });
  return log;
}

std::string log_to_file(std::string_view text, Encoding encoding) {
  std::string utf8;
  utf8.reserve(text.size() + text.size() / 16 + 2);
  for_each_line(text, true, [&](std::string_view line) {
    utf8 += line;
    utf8 += "\r\n";
  });
  if (encoding == Encoding::Windows1252) {
    if (std::optional<std::string> bytes = utf8_to_windows1252(utf8)) return *bytes;
  }
  return utf8;
}

}  // namespace registro

// Converting between the log file's lines and the log's text.
#include "log_text.h"

#include "base/text.h"

namespace registro {

LogText log_from_file(std::string_view bytes) {
  LogText log;
  log.encoding = pm::detect_encoding(bytes);
  const std::string decoded = pm::decode_to_utf8(bytes, log.encoding);
  bool first = true;
  pm::for_each_line(decoded, [&](std::string_view line) {
    if (!first) log.text += '\n';
    log.text += line;
    first = false;
  });
  return log;
}

std::string log_to_file(std::string_view text, pm::TextEncoding encoding) {
  std::string utf8;
  utf8.reserve(text.size() + text.size() / 16 + 2);
  pm::for_each_line(text, [&](std::string_view line) {
    utf8 += line;
    utf8 += "\r\n";
  });
  // In the text whatever follows the last line break is a line, even when empty: "" is
  // one empty line and "fine\n" two lines.
  if (text.empty() || text.back() == '\n' || text.back() == '\r') utf8 += "\r\n";
  return pm::encode_for_reading_back(utf8, encoding);
}

}  // namespace registro

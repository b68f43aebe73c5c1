// The log file's bytes and the log's text: each line of the log followed by CR LF, in
// UTF-8 or, for logs kept on Windows, Windows-1252. The text uses "\n" between lines.
#pragma once

#include <string>
#include <string_view>

#include "base/text_codec.h"

namespace registro {

struct LogText {
  std::string text;                                   // UTF-8, lines separated by "\n"
  pm::TextEncoding encoding = pm::TextEncoding::Utf8;  // what the file was written in
};

// Reads a log file: UTF-8 when the bytes are valid UTF-8, else Windows-1252; lines end
// at CR LF, CR or LF, and one line end at the very end closes the last line (it does not
// start an empty one). So the bytes of log_to_file(t) read back as t.
LogText log_from_file(std::string_view bytes);

// The bytes of a log file for `text` (lines separated by LF, CR LF or CR): every line
// followed by CR LF, so an empty log is a lone CR LF. Written in `encoding` when every
// character has a byte there and the bytes read back as the same text, else in UTF-8.
std::string log_to_file(std::string_view text, pm::TextEncoding encoding);

}  // namespace registro

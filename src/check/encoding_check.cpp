// The book check's encoding warnings (see encoding_check.h). One reading of each text file
// decides both the book's encoding and where each file first departs from it.
#include "check/encoding_check.h"

#include "project/book_encoding.h"
#include "base/text.h"

namespace pm {

namespace {

// Where a file first holds a line of each encoding beyond ASCII.
struct FirstLines {
  std::string file;
  uint32_t utf8_line = 0, windows_line = 0;  // 1-based; 0 for none
  std::string utf8_text, windows_text;
};

FirstLines first_lines(std::string name, std::string_view bytes) {
  FirstLines f{std::move(name), 0, 0, {}, {}};
  uint32_t number = 0;
  const bool whole_utf8 = is_valid_utf8(bytes);
  for_each_line(bytes, [&](std::string_view line) {
    ++number;
    if ((f.utf8_line && (f.windows_line || whole_utf8)) || is_ascii(line)) return;
    const bool utf8 = whole_utf8 || is_valid_utf8(line);
    uint32_t& at = utf8 ? f.utf8_line : f.windows_line;
    if (at) return;
    at = number;
    (utf8 ? f.utf8_text : f.windows_text) = std::string(line);
  });
  return f;
}

}  // namespace

void add_encoding_findings(const stdfs::path& folder, CheckResult& r) {
  std::vector<FirstLines> files;
  bool any_utf8 = false, any_windows = false;
  std::string bytes;
  for (const auto& f : book_text_files(folder)) {
    if (!read_file(folder / path_from_text(f.name), bytes) || is_ascii(bytes)) continue;
    files.push_back(first_lines(f.name, bytes));
    any_utf8 = any_utf8 || files.back().utf8_line;
    any_windows = any_windows || files.back().windows_line;
  }
  // As book_encoding decides it, from the same bytes.
  const TextEncoding book = any_utf8 && !any_windows ? TextEncoding::Utf8 : TextEncoding::Windows1252;
  const TextEncoding other = book == TextEncoding::Utf8 ? TextEncoding::Windows1252 : TextEncoding::Utf8;
  for (const auto& f : files) {
    const uint32_t line = other == TextEncoding::Utf8 ? f.utf8_line : f.windows_line;
    if (!line) continue;
    std::string room;
    if (f.file.find('.') == std::string::npos) room = f.file.substr(f.file.find('/') + 1);
    r.findings.push_back(Finding{
        Severity::Warning, FindingKind::OtherEncoding, room, f.file, line,
        other == TextEncoding::Utf8 ? f.utf8_text : f.windows_text,
        "line in " + encoding_name(other) + ", the book is in " + encoding_name(book) +
            " (pagimond-cli encoding converts it)",
        "riga in " + encoding_name(other) + ", il libro \xC3\xA8 in " + encoding_name(book) +
            " (\xC2\xAB" "Correggi la codifica\xC2\xBB la converte)"});
    ++r.warnings;
  }
}

}  // namespace pm

// Byte-level text helpers shared by the whole core: line splitting (CR LF, CR or LF),
// blank trimming, single-pass replacement and ASCII case folding. Text is never decoded.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace pm {

inline constexpr std::string_view kCrLf = "\r\n";

// Calls f(line) for every line of data. A line ends at CR LF, CR or LF; a line end at the
// very end of the data does not start another (empty) line, so "a\r\n" is one line and
// "" is none, while "\r\n" is one empty line.
template <typename F>
void for_each_line(std::string_view data, F&& f) {
  size_t start = 0;
  const size_t n = data.size();
  while (start < n) {
    size_t i = start;
    while (i < n && data[i] != '\r' && data[i] != '\n') ++i;
    f(data.substr(start, i - start));
    if (i < n && data[i] == '\r' && i + 1 < n && data[i + 1] == '\n') {
      start = i + 2;
    } else {
      start = i + 1;
    }
  }
}

std::vector<std::string> split_lines(std::string_view data);
std::vector<std::string_view> split_line_views(std::string_view data);

// Joins lines with CR LF and adds one CR LF after the last: how text files are written.
std::string join_lines_crlf(const std::vector<std::string>& lines);

// Removes spaces (only spaces) at both ends.
std::string_view trim_blanks(std::string_view s);

// Replaces every occurrence of `from`, scanning left to right without re-scanning what
// was inserted. An empty `from` leaves the text unchanged.
std::string replace_all(std::string_view s, std::string_view from, std::string_view to);
// The same, appended to `out`.
void append_replaced(std::string& out, std::string_view s, std::string_view from, std::string_view to);
void replace_all_in_place(std::string& s, std::string_view from, std::string_view to);

std::string to_lower_ascii(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
bool istarts_with(std::string_view s, std::string_view prefix);
bool is_digits(std::string_view s);

}  // namespace pm

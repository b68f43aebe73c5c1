// Byte-level text helpers shared by the whole core: line splitting (CR LF, CR or LF),
// blank trimming, single-pass replacement and ASCII case folding. Text is never decoded.
#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace pm {

inline constexpr std::string_view kCrLf = "\r\n";

namespace text_detail {

inline constexpr uint64_t kOnes = 0x0101010101010101ULL;
inline constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// The eight bytes at `p`, the first in the lowest bits.
inline uint64_t load8(const char* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  return word;
}

// The high bit of each byte of `word` that equals `c`, and no other bit.
inline uint64_t bytes_equal(uint64_t word, char c) {
  constexpr uint64_t k7f = 0x7f7f7f7f7f7f7f7fULL;
  const uint64_t v = word ^ (kOnes * uint8_t(c));
  return ~(((v & k7f) + k7f) | v | k7f);
}

#if defined(__SSE2__)
// One bit for each of the sixteen bytes at `p` that is one of `set...`, the first byte's lowest.
template <char... set>
inline unsigned bytes_of16(const char* p) {
  if constexpr (sizeof...(set) == 0) {
    return 0;
  } else {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    return unsigned(_mm_movemask_epi8((_mm_cmpeq_epi8(v, _mm_set1_epi8(set)) | ...)));
  }
}
#endif

}  // namespace text_detail

// The first position at or after `pos` that holds one of the bytes `set...`, or npos.
// Looks at sixteen bytes at a time where the processor can (eight elsewhere): the compiles
// search megabytes of text.
template <char... set>
size_t find_byte_of(std::string_view s, size_t pos = 0) {
  using namespace text_detail;
  const size_t n = s.size();
#if defined(__SSE2__)
  for (; pos + 16 <= n; pos += 16)
    if (const unsigned hits = bytes_of16<set...>(s.data() + pos)) return pos + size_t(std::countr_zero(hits));
#endif
  if constexpr (kLittleEndian) {
    for (; pos + 8 <= n; pos += 8) {
      const uint64_t word = load8(s.data() + pos);
      if (const uint64_t hits = (bytes_equal(word, set) | ...)) return pos + size_t(std::countr_zero(hits) / 8);
    }
  }
  for (; pos < n; ++pos)
    if (((s[pos] == set) || ...)) return pos;
  return std::string_view::npos;
}

// The first position at or after `pos` that holds one of the bytes `set...` (none, maybe) or
// begins a pair of `twice` (two blanks, say), or npos; sixteen or eight bytes at a time as
// find_byte_of, each window read again one byte on so that a pair across two is seen.
template <char twice, char... set>
size_t find_byte_or_pair(std::string_view s, size_t pos = 0) {
  using namespace text_detail;
  const size_t n = s.size();
#if defined(__SSE2__)
  for (; pos + 17 <= n; pos += 16) {
    const char* p = s.data() + pos;
    if (const unsigned hits = bytes_of16<set...>(p) | (bytes_of16<twice>(p) & bytes_of16<twice>(p + 1)))
      return pos + size_t(std::countr_zero(hits));
  }
#endif
  if constexpr (kLittleEndian) {
    for (; pos + 9 <= n; pos += 8) {
      const char* p = s.data() + pos;
      const uint64_t word = load8(p);
      if (const uint64_t hits = (uint64_t(0) | ... | bytes_equal(word, set)) |
                                (bytes_equal(word, twice) & bytes_equal(load8(p + 1), twice)))
        return pos + size_t(std::countr_zero(hits) / 8);
    }
  }
  for (; pos < n; ++pos)
    if (((s[pos] == set) || ...) || (s[pos] == twice && pos + 1 < n && s[pos + 1] == twice)) return pos;
  return std::string_view::npos;
}

// Calls f(line) for every line of data. A line ends at CR LF, CR or LF; a line end at the
// very end of the data does not start another (empty) line, so "a\r\n" is one line and
// "" is none, while "\r\n" is one empty line.
template <typename F>
void for_each_line(std::string_view data, F&& f) {
  size_t start = 0;
  const size_t n = data.size();
  while (start < n) {
    size_t i = find_byte_of<'\r', '\n'>(data, start);
    if (i == std::string_view::npos) i = n;
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

// ASCII case folding: only A-Z change; other bytes, UTF-8 ones included, stay as they are.
constexpr char lower_ascii(char c) { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }
std::string to_lower_ascii(std::string_view s);
bool iequals(std::string_view a, std::string_view b);
bool istarts_with(std::string_view s, std::string_view prefix);
bool is_digits(std::string_view s);
// True when `s` holds a letter A-Z or a-z: a name without one has a single spelling.
bool has_ascii_letters(std::string_view s);

// Reads one data field starting at `pos` in `data` (leading blanks skipped; a field that
// starts with a double quote runs to the next double quote; any other runs to the next
// comma or line end, trailing blanks dropped). Returns the field and moves `pos` past the
// field's separating comma, or to the end of the line.
std::string read_data_field(std::string_view data, size_t& pos, bool* quoted = nullptr);

// `heading`, then the first ten of `errors` one a line and how many more there are; empty
// when there are no errors.
std::string error_list_message(std::string_view heading, const std::vector<std::string>& errors);

// `s` as a JSON string literal, quotes included; control characters as \u escapes.
std::string json_quoted(std::string_view s);

}  // namespace pm

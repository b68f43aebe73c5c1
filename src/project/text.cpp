// Byte-level text helpers (see text.h).
#include "project/text.h"

namespace pm {

std::vector<std::string> split_lines(std::string_view data) {
  std::vector<std::string> lines;
  for_each_line(data, [&](std::string_view l) { lines.emplace_back(l); });
  return lines;
}

std::vector<std::string_view> split_line_views(std::string_view data) {
  std::vector<std::string_view> lines;
  for_each_line(data, [&](std::string_view l) { lines.push_back(l); });
  return lines;
}

std::string join_lines_crlf(const std::vector<std::string>& lines) {
  std::string out;
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  out.reserve(total);
  for (const auto& l : lines) {
    out += l;
    out += kCrLf;
  }
  return out;
}

std::string_view trim_blanks(std::string_view s) {
  size_t b = 0, e = s.size();
  while (b < e && s[b] == ' ') ++b;
  while (e > b && s[e - 1] == ' ') --e;
  return s.substr(b, e - b);
}

// The first occurrence of `from` in `s` at or after `pos`. A pattern of one byte twice (two
// blanks, the case that matters: every room line is searched for it) is looked for sixteen
// or eight bytes at a time; windows overlap by one byte so a pair across two windows is seen.
static size_t find_from(std::string_view s, std::string_view from, size_t pos) {
  if (from.size() != 2 || from[0] != from[1]) return s.find(from, pos);
  const char c = from[0];
#if defined(__SSE2__)
  for (; pos + 17 <= s.size(); pos += 16) {
    const __m128i byte = _mm_set1_epi8(c);
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + pos));
    const __m128i after = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.data() + pos + 1));
    if (const unsigned pairs = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(here, byte) & _mm_cmpeq_epi8(after, byte))))
      return pos + size_t(std::countr_zero(pairs));
  }
#endif
  if (text_detail::kLittleEndian) {
    for (; pos + 8 <= s.size(); pos += 7) {
      const uint64_t same = text_detail::bytes_equal(text_detail::load8(s.data() + pos), c);
      if (const uint64_t pairs = same & (same >> 8)) return pos + size_t(std::countr_zero(pairs) / 8);
    }
  }
  for (; pos + 1 < s.size(); ++pos)
    if (s[pos] == c && s[pos + 1] == c) return pos;
  return std::string_view::npos;
}

void append_replaced(std::string& out, std::string_view s, std::string_view from, std::string_view to) {
  if (from.empty()) {
    out.append(s);
    return;
  }
  size_t pos = 0;
  for (size_t hit; (hit = find_from(s, from, pos)) != std::string_view::npos; pos = hit + from.size()) {
    out.append(s.substr(pos, hit - pos));
    out.append(to);
  }
  out.append(s.substr(pos));
}

std::string replace_all(std::string_view s, std::string_view from, std::string_view to) {
  std::string out;
  out.reserve(s.size());
  append_replaced(out, s, from, to);
  return out;
}

void replace_all_in_place(std::string& s, std::string_view from, std::string_view to) {
  if (from.empty() || s.find(from) == std::string::npos) return;
  s = replace_all(s, from, to);
}

std::string to_lower_ascii(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = lower_ascii(c);
  return out;
}

bool iequals(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower_ascii(a[i]) != lower_ascii(b[i])) return false;
  return true;
}

bool istarts_with(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && iequals(s.substr(0, prefix.size()), prefix);
}

bool has_ascii_letters(std::string_view s) {
  for (char c : s)
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) return true;
  return false;
}

bool is_digits(std::string_view s) {
  if (s.empty()) return false;
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

}  // namespace pm

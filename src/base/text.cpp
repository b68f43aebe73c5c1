// Byte-level text helpers (see text.h).
#include "base/text.h"

#include <cstdio>

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

// The first occurrence of `from` in `s` at or after `pos`. Two blanks, which every room line
// is searched for, are looked for many bytes at a time.
static size_t find_from(std::string_view s, std::string_view from, size_t pos) {
  return from == "  " ? find_byte_or_pair<' '>(s, pos) : s.find(from, pos);
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

static bool at_line_end(std::string_view d, size_t p) {
  return p >= d.size() || d[p] == '\r' || d[p] == '\n';
}

std::string read_data_field(std::string_view d, size_t& pos, bool* quoted) {
  while (!at_line_end(d, pos) && (d[pos] == ' ' || d[pos] == '\t')) ++pos;
  std::string field;
  if (!at_line_end(d, pos) && d[pos] == '"') {
    if (quoted) *quoted = true;
    size_t close = d.find('"', pos + 1);
    size_t stop = close;
    // A quote left open runs to the end of the line.
    if (close == std::string_view::npos) {
      stop = pos + 1;
      while (!at_line_end(d, stop)) ++stop;
    } else {
      size_t eol = pos + 1;
      while (eol < close && !at_line_end(d, eol)) ++eol;
      if (eol < close) stop = eol;
    }
    field.assign(d.substr(pos + 1, stop - pos - 1));
    pos = (stop < d.size() && d[stop] == '"') ? stop + 1 : stop;
    // Skip whatever stands between the closing quote and the next separator.
    while (!at_line_end(d, pos) && d[pos] != ',') ++pos;
  } else {
    if (quoted) *quoted = false;
    size_t start = pos;
    while (!at_line_end(d, pos) && d[pos] != ',') ++pos;
    field.assign(trim_blanks(d.substr(start, pos - start)));
  }
  if (!at_line_end(d, pos) && d[pos] == ',') ++pos;
  return field;
}

std::string error_list_message(std::string_view heading, const std::vector<std::string>& errors) {
  if (errors.empty()) return {};
  std::string msg(heading);
  const size_t shown = errors.size() < 10 ? errors.size() : 10;
  for (size_t i = 0; i < shown; ++i) msg += "\n" + errors[i];
  if (errors.size() > shown) msg += "\n... e altri " + std::to_string(errors.size() - shown) + " errori.";
  return msg;
}

std::string json_quoted(std::string_view s) {
  std::string out = "\"";
  for (unsigned char c : s) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", unsigned(c));
          out += buf;
        } else {
          out += char(c);
        }
    }
  }
  return out + "\"";
}

}  // namespace pm

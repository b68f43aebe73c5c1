// Line matching for the line-preserving save (see line_diff.h).
#include "editor/line_diff.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

namespace pm {

namespace {

using Lines = std::vector<std::string_view>;

// Greedy pairing: each new line takes the next equal old line after the last one taken.
void match_greedy(const Lines& a, size_t a0, size_t a1, const Lines& b, size_t b0, size_t b1,
                  std::vector<size_t>& out) {
  std::unordered_map<std::string_view, std::vector<size_t>> where;
  for (size_t i = a0; i < a1; ++i) where[a[i]].push_back(i);
  std::unordered_map<std::string_view, size_t> next;  // cursor into where[line]
  size_t last = a0;                                   // first old index still free
  for (size_t j = b0; j < b1; ++j) {
    auto it = where.find(b[j]);
    if (it == where.end()) continue;
    size_t& c = next[b[j]];
    const auto& pos = it->second;
    while (c < pos.size() && pos[c] < last) ++c;
    if (c < pos.size()) {
      out[j] = pos[c];
      last = pos[c] + 1;
      ++c;
    }
  }
}

// Myers' greedy shortest edit script between a[a0,a1) and b[b0,b1); false when it needs
// more than max_d edits.
bool match_myers(const Lines& a, size_t a0, size_t a1, const Lines& b, size_t b0, size_t b1, size_t max_d,
                 std::vector<size_t>& out) {
  const int64_t n = int64_t(a1 - a0), m = int64_t(b1 - b0);
  const int64_t limit = std::min<int64_t>(n + m, int64_t(max_d));
  const int64_t off = limit + 1;
  std::vector<int32_t> v(size_t(2 * off + 1), 0);
  std::vector<std::vector<int32_t>> trace;  // v[-d..d] before each round d
  int64_t found_d = -1;
  for (int64_t d = 0; d <= limit && found_d < 0; ++d) {
    trace.emplace_back(v.begin() + (off - d), v.begin() + (off + d + 1));
    for (int64_t k = -d; k <= d; k += 2) {
      int64_t x;
      if (k == -d || (k != d && v[size_t(off + k - 1)] < v[size_t(off + k + 1)]))
        x = v[size_t(off + k + 1)];
      else
        x = v[size_t(off + k - 1)] + 1;
      int64_t y = x - k;
      while (x < n && y < m && a[a0 + size_t(x)] == b[b0 + size_t(y)]) ++x, ++y;
      v[size_t(off + k)] = int32_t(x);
      if (x >= n && y >= m) {
        found_d = d;
        break;
      }
    }
  }
  if (found_d < 0) return false;
  // Walk back from the end, marking the diagonals (equal lines).
  int64_t x = n, y = m;
  for (int64_t d = found_d; d >= 0; --d) {
    const int64_t k = x - y;
    int64_t sx = 0, sy = 0, px = 0, py = 0;  // start of the diagonal ending at (x, y); point before
    if (d > 0) {
      const auto& pv = trace[size_t(d)];  // values before round d, index k + d
      auto prev = [&](int64_t kk) { return int64_t(pv[size_t(kk + d)]); };
      const bool down = k == -d || (k != d && prev(k - 1) < prev(k + 1));
      const int64_t pk = down ? k + 1 : k - 1;
      px = prev(pk);
      py = px - pk;
      sx = down ? px : px + 1;
      sy = sx - k;
    }
    while (x > sx && y > sy) out[b0 + size_t(--y)] = a0 + size_t(--x);
    x = px, y = py;
  }
  return true;
}

}  // namespace

std::vector<size_t> match_lines(const Lines& old_lines, const Lines& new_lines, size_t max_edits) {
  std::vector<size_t> out(new_lines.size(), kNoMatch);
  size_t a0 = 0, b0 = 0, a1 = old_lines.size(), b1 = new_lines.size();
  while (a0 < a1 && b0 < b1 && old_lines[a0] == new_lines[b0]) out[b0++] = a0++;
  while (a1 > a0 && b1 > b0 && old_lines[a1 - 1] == new_lines[b1 - 1]) out[--b1] = --a1;
  if (a0 == a1 || b0 == b1) return out;
  if (!match_myers(old_lines, a0, a1, new_lines, b0, b1, max_edits, out))
    match_greedy(old_lines, a0, a1, new_lines, b0, b1, out);
  return out;
}

namespace {
std::vector<std::string_view> shown_lines(std::string_view text) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (true) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) {
      lines.push_back(text.substr(start));
      return lines;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
}
}  // namespace

std::string line_differences(std::string_view old_text, std::string_view new_text) {
  if (old_text == new_text) return {};
  const std::vector<std::string_view> a = shown_lines(old_text), b = shown_lines(new_text);
  const std::vector<size_t> kept = match_lines(a, b);
  // Old lines that go are shown before the new lines that take their place.
  std::vector<size_t> next_kept(b.size() + 1, a.size());
  for (size_t j = b.size(); j-- > 0;) next_kept[j] = kept[j] != kNoMatch ? kept[j] : next_kept[j + 1];
  std::string out;
  size_t i = 0;
  auto line = [&out](const char* mark, std::string_view text) {
    out += mark;
    out += text;
    out += '\n';
  };
  for (size_t j = 0; j < b.size(); ++j) {
    for (; i < next_kept[j]; ++i) line("- ", a[i]);
    if (kept[j] == kNoMatch) {
      line("+ ", b[j]);
    } else {
      line("  ", b[j]);
      i = kept[j] + 1;
    }
  }
  for (; i < a.size(); ++i) line("- ", a[i]);
  return out;
}

}  // namespace pm

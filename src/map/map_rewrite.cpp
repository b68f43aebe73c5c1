// The map's link rewrites on one line (see map_rewrite.h).
#include "map/map_rewrite.h"

#include "base/text.h"

namespace pm {

namespace {

constexpr std::array<std::string_view, 4> kPatterns = {"( ", "<a href=\"", ".htm\">", "</a>"};

// Whether any pattern occurs in `line`: a look at each byte where a pattern can begin.
bool has_pattern(std::string_view line) {
  for (size_t i = 0; (i = find_byte_of<'(', '<', '.'>(line, i)) != std::string_view::npos; ++i) {
    const std::string_view rest = line.substr(i);
    const bool found = rest[0] == '(' ? rest.starts_with(kPatterns[0])
                       : rest[0] == '.' ? rest.starts_with(kPatterns[2])
                                        : rest.starts_with(kPatterns[1]) || rest.starts_with(kPatterns[3]);
    if (found) return true;
  }
  return false;
}

}  // namespace

MapLineRewriter::MapLineRewriter(std::string_view phrase)
    : replacement_{"(", "(" + std::string(phrase) + " ", ") ", ""} {}

void MapLineRewriter::rewrite(std::string_view line, size_t passes, std::string& out) {
  // A line without any pattern is left as it is by every pass, and most lines are settled by
  // their first pass: that one runs on the plain bytes.
  if (passes == 0 || !has_pattern(line)) {
    out += line;
    return;
  }
  std::string once(line);
  for (size_t r = 0; r < kPatterns.size(); ++r) once = replace_all(once, kPatterns[r], replacement_[r]);
  if (passes == 1 || !has_pattern(once)) {
    out += once;
    return;
  }
  --passes;
  loaded_ = std::move(once);
  load(loaded_);
  // How far each rewrite has looked at touched_: later entries are changes it has not seen.
  std::array<size_t, 4> seen{};
  for (size_t pass = 0; pass < passes; ++pass) {
    if (pass > 0) {
      bool settled = true;
      for (size_t s : seen) settled = settled && s == touched_.size();
      if (settled) break;  // nothing changed since every rewrite last looked: a fixed point
    }
    for (size_t r = 0; r < kPatterns.size(); ++r) {
      matches_.clear();
      ++stamp_now_;
      // An occurrence either touches a change not yet seen by this rewrite or, on the first
      // pass, stands unchanged where it stood in the loaded bytes.
      if (pass == 0) collect_loaded(kPatterns[r]);
      for (size_t i = seen[r]; i < touched_.size(); ++i)
        if (alive_[touched_[i]]) collect_around(touched_[i], kPatterns[r]);
      seen[r] = touched_.size();
      // The occurrences cannot overlap (no pattern overlaps itself), so they are replaced
      // independently; what the replacements create is left for the next pass.
      for (uint32_t start : matches_) replace_at(start, kPatterns[r].size(), replacement_[r]);
    }
  }
  append_text(out);
}

void MapLineRewriter::load(std::string_view line) {
  const size_t n = line.size();
  ch_.assign(1, '\0');
  ch_.insert(ch_.end(), line.begin(), line.end());
  next_.resize(n + 1);
  prev_.resize(n + 1);
  for (uint32_t i = 0; i <= n; ++i) {
    next_[i] = i == n ? 0 : i + 1;
    prev_[i] = i == 0 ? uint32_t(n) : i - 1;
  }
  alive_.assign(n + 1, 1);
  stamp_.assign(n + 1, 0);
  stamp_now_ = 0;
  touched_.clear();
}

bool MapLineRewriter::match_at(uint32_t node, std::string_view pattern) const {
  for (char c : pattern) {
    if (node == 0 || ch_[node] != c) return false;
    node = next_[node];
  }
  return true;
}

void MapLineRewriter::collect_loaded(std::string_view pattern) {
  for (size_t hit = loaded_.find(pattern); hit != std::string::npos; hit = loaded_.find(pattern, hit + 1)) {
    const uint32_t n = uint32_t(hit + 1);
    if (alive_[n] && stamp_[n] != stamp_now_ && match_at(n, pattern)) {
      stamp_[n] = stamp_now_;
      matches_.push_back(n);
    }
  }
}

// Every occurrence of `pattern` that contains `node`.
void MapLineRewriter::collect_around(uint32_t node, std::string_view pattern) {
  uint32_t start = node;
  for (size_t k = 1; k < pattern.size() && prev_[start] != 0; ++k) start = prev_[start];
  for (;;) {
    if (stamp_[start] != stamp_now_ && match_at(start, pattern)) {
      stamp_[start] = stamp_now_;
      matches_.push_back(start);
    }
    if (start == node) break;
    start = next_[start];
  }
}

uint32_t MapLineRewriter::new_node(char c) {
  ch_.push_back(c);
  next_.push_back(0);
  prev_.push_back(0);
  alive_.push_back(1);
  stamp_.push_back(0);
  return uint32_t(ch_.size() - 1);
}

void MapLineRewriter::unlink(uint32_t n) {
  next_[prev_[n]] = next_[n];
  prev_[next_[n]] = prev_[n];
  alive_[n] = 0;
}

// Replaces the `length` nodes from `start` by `replacement`: the first nodes are reused,
// the rest removed or added. Records the new bytes and both neighbours as touched.
void MapLineRewriter::replace_at(uint32_t start, size_t length, std::string_view replacement) {
  const uint32_t before = prev_[start];
  uint32_t node = start, last = before;
  size_t i = 0;
  for (; i < length && i < replacement.size(); ++i) {
    ch_[node] = replacement[i];
    touched_.push_back(node);
    last = node;
    node = next_[node];
  }
  for (; i < length; ++i) {
    uint32_t following = next_[node];
    unlink(node);
    node = following;
  }
  for (; i < replacement.size(); ++i) {
    uint32_t added = new_node(replacement[i]);
    uint32_t following = next_[last];
    next_[last] = added;
    prev_[added] = last;
    next_[added] = following;
    prev_[following] = added;
    touched_.push_back(added);
    last = added;
  }
  if (before != 0) touched_.push_back(before);
  if (node != 0) touched_.push_back(node);
}

void MapLineRewriter::append_text(std::string& out) const {
  for (uint32_t n = next_[0]; n != 0; n = next_[n]) out += ch_[n];
}

}  // namespace pm

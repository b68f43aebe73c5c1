// One entry of the book's history as bytes (see history_entry.h).
#include "project/history_entry.h"

#include <charconv>
#include <ctime>

#include "base/clock_text.h"

namespace pm {

namespace {

constexpr std::string_view kMagic = "PAGIMOND-VERSIONE 1";

uint64_t checksum(std::string_view bytes) {  // FNV-1a, 64 bits
  uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return h;
}

std::string hex(uint64_t v) {
  char buf[17];
  auto r = std::to_chars(buf, buf + 16, v, 16);
  return std::string(buf, r.ptr);
}

// The next line of `bytes` from `pos` (ending at CR LF), moving `pos` past it.
bool next_line(std::string_view bytes, size_t& pos, std::string_view& line) {
  size_t end = bytes.find("\r\n", pos);
  if (end == std::string_view::npos) return false;
  line = bytes.substr(pos, end - pos);
  pos = end + 2;
  return true;
}

// The blank-separated words of a line.
std::vector<std::string_view> words(std::string_view line) {
  std::vector<std::string_view> out;
  size_t i = 0;
  while (i < line.size()) {
    size_t j = line.find(' ', i);
    if (j == std::string_view::npos) j = line.size();
    if (j > i) out.push_back(line.substr(i, j - i));
    i = j + 1;
  }
  return out;
}

template <class T>
bool number(std::string_view s, T& v, int base = 10) {
  auto r = std::from_chars(s.data(), s.data() + s.size(), v, base);
  return r.ec == std::errc() && r.ptr == s.data() + s.size() && !s.empty();
}

Status damaged() { return {StatusKind::ReadFailed, "versione danneggiata"}; }

}  // namespace

std::string_view reason_text(VersionReason reason) {
  switch (reason) {
    case VersionReason::Deleted: return "eliminazione";
    case VersionReason::Discarded: return "non salvato";
    case VersionReason::Saved: break;
  }
  return "salvataggio";
}

const EntryPart* HistoryEntry::part(std::string_view name) const {
  for (const auto& p : parts)
    if (p.name == name) return &p;
  return nullptr;
}

std::string format_history_entry(const HistoryEntry& entry) {
  std::string out(kMagic);
  out += "\r\n" + std::to_string(entry.time) + " " + std::to_string(int(entry.reason)) + "\r\n";
  for (const auto& p : entry.parts) {
    out += p.name + " " + std::to_string(p.bytes.size()) + " " + hex(checksum(p.bytes)) + "\r\n";
    out += p.bytes;
    out += "\r\n";
  }
  out += "fine\r\n";
  return out;
}

Result<HistoryEntry> parse_history_entry(std::string_view bytes) {
  size_t pos = 0;
  std::string_view line;
  if (!next_line(bytes, pos, line) || line != kMagic || !next_line(bytes, pos, line)) return damaged();
  HistoryEntry entry;
  auto head = words(line);
  int reason = 0;
  if (head.size() != 2 || !number(head[0], entry.time) || !number(head[1], reason) || reason < 0 || reason > 2)
    return damaged();
  entry.reason = VersionReason(reason);
  while (true) {
    if (!next_line(bytes, pos, line)) return damaged();
    if (line == "fine") break;
    auto w = words(line);
    size_t size = 0;
    uint64_t sum = 0;
    if (w.size() != 3 || !number(w[1], size) || !number(w[2], sum, 16)) return damaged();
    if (bytes.size() - pos < size + 2 || bytes.substr(pos + size, 2) != "\r\n") return damaged();
    std::string_view part = bytes.substr(pos, size);
    if (checksum(part) != sum) return damaged();
    entry.parts.push_back({std::string(w[0]), std::string(part)});
    pos += size + 2;
  }
  if (pos != bytes.size() || entry.parts.empty()) return damaged();
  return entry;
}

std::string local_time_text(long long time) {
  const std::tm tm = local_time(std::time_t(time));
  return short_date_text(tm) + " " + time_text(tm);
}

}  // namespace pm

// The book's history of versions (see book_history.h).
#include "project/book_history.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <ctime>
#include <mutex>

#include "base/text.h"

namespace pm {

namespace {

std::mutex policy_mutex;
HistoryPolicy current_policy;

constexpr std::string_view kFilesFolder = "File";
constexpr std::string_view kEntrySuffix = ".ver";

// The sequence number of an entry's name ("00000012.ver"), or 0 for a name that is none.
unsigned long entry_sequence(std::string_view name) {
  if (name.size() <= kEntrySuffix.size() || !iequals(name.substr(name.size() - kEntrySuffix.size()), kEntrySuffix))
    return 0;
  name.remove_suffix(kEntrySuffix.size());
  unsigned long v = 0;
  auto r = std::from_chars(name.data(), name.data() + name.size(), v);
  return r.ec == std::errc() && r.ptr == name.data() + name.size() ? v : 0;
}

// The path of `file` inside `book`, or its bare name when it lies elsewhere.
stdfs::path inside(const stdfs::path& book, const stdfs::path& file) {
  stdfs::path rel = file.lexically_relative(book);
  if (rel.empty() || *rel.begin() == "..") return file.filename();
  return rel;
}

// Where the versions of `file` are kept: each part of its path found without regard to case.
stdfs::path versions_dir(const stdfs::path& book, const stdfs::path& file) {
  stdfs::path dir = resolve(history_folder(book), kFilesFolder);
  for (const auto& piece : inside(book, file)) dir = resolve(dir, path_text(piece));
  return dir;
}

Status not_kept(const stdfs::path& file, const std::string& why) {
  return {StatusKind::WriteFailed, "Impossibile conservare la versione precedente di " + path_text(file) +
                                       " nella cronologia del libro (" + why +
                                       "): il file non è stato salvato. La cronologia si può disattivare nelle "
                                       "Impostazioni."};
}

void drop_oldest_of(const stdfs::path& dir, size_t keep_count, const stdfs::path& keep) {
  std::vector<stdfs::path> entries = history_entries(dir);
  for (size_t i = 0; i < entries.size() && entries.size() - i > keep_count; ++i)
    if (entries[i] != keep) remove_file(entries[i]);
}

}  // namespace

void set_history_policy(const HistoryPolicy& policy) {
  std::lock_guard lock(policy_mutex);
  current_policy = policy;
}

HistoryPolicy history_policy() {
  std::lock_guard lock(policy_mutex);
  return current_policy;
}

HistoryPolicy parse_history_policy(std::string_view ini) {
  HistoryPolicy p;
  std::vector<std::string_view> lines = split_line_views(ini);
  auto value = [&](size_t i, uint64_t& out) {
    if (i >= lines.size()) return false;
    std::string_view s = trim_blanks(lines[i]);
    auto r = std::from_chars(s.data(), s.data() + s.size(), out);
    return r.ec == std::errc() && r.ptr == s.data() + s.size();
  };
  uint64_t v = 0;
  if (value(0, v)) p.enabled = v != 0;
  if (value(1, v) && v > 0) p.versions_per_file = size_t(v);
  if (value(2, v) && v > 0 && v < (uint64_t(1) << 40)) p.bytes_per_book = v << 20;
  return p;
}

std::string format_history_policy(const HistoryPolicy& policy) {
  return std::string(policy.enabled ? "1" : "0") + "\r\n" + std::to_string(policy.versions_per_file) + "\r\n" +
         std::to_string(policy.bytes_per_book >> 20) + "\r\n";
}

HistoryPolicy read_history_policy(const stdfs::path& home) {
  return parse_history_policy(read_file_or_empty(resolve(home, kHistorySettingsFile)));
}

Status write_history_policy(const stdfs::path& home, const HistoryPolicy& policy) {
  return write_file_atomic(resolve(home, kHistorySettingsFile), format_history_policy(policy));
}

stdfs::path history_folder(const stdfs::path& book) { return resolve(book, kHistoryFolder); }

long long history_now() { return (long long)std::time(nullptr); }

std::vector<stdfs::path> history_entries(const stdfs::path& dir) {
  std::vector<std::pair<unsigned long, std::string>> found;
  for (auto& n : list_file_names(dir))
    if (unsigned long s = entry_sequence(n)) found.emplace_back(s, std::move(n));
  std::sort(found.begin(), found.end());
  std::vector<stdfs::path> out;
  out.reserve(found.size());
  for (const auto& f : found) out.push_back(dir / path_from_text(f.second));
  return out;
}

Result<stdfs::path> write_history_entry(const stdfs::path& dir, const HistoryEntry& entry) {
  std::error_code ec;
  stdfs::create_directories(dir, ec);
  if (!is_folder(dir)) return Status(StatusKind::WriteFailed, "Impossibile creare la cartella " + path_text(dir));
  unsigned long next = 1;
  for (const auto& n : list_file_names(dir)) next = std::max(next, entry_sequence(n) + 1);
  char name[32];
  std::snprintf(name, sizeof name, "%08lu.ver", next);
  const stdfs::path p = dir / name;
  if (Status s = write_file_atomic(p, format_history_entry(entry)); !s.ok()) return s;
  return p;
}

Status keep_version(const stdfs::path& book, const stdfs::path& file, std::string_view old_bytes,
                    VersionReason reason, long long time) {
  const HistoryPolicy policy = history_policy();
  if (!policy.enabled) return {};
  HistoryEntry entry;
  entry.time = time;
  entry.reason = reason;
  entry.parts.push_back({"file", std::string(old_bytes)});
  const stdfs::path dir = versions_dir(book, file);
  Result<stdfs::path> written = write_history_entry(dir, entry);
  if (!written.ok()) return not_kept(file, written.status().message());
  drop_oldest_of(dir, std::max<size_t>(policy.versions_per_file, 1), *written);
  apply_book_bound(book, *written);
  return {};
}

Status save_book_file(const stdfs::path& book, const stdfs::path& file, std::string_view bytes) {
  std::string old;
  if (history_policy().enabled) {
    const Status read = read_file_checked(file, old);
    if (!read.ok() && read.kind() != StatusKind::NotFound) return not_kept(file, read.message());
    if (!old.empty() && old != bytes)
      if (Status kept = keep_version(book, file, old); !kept.ok()) return kept;
  }
  return write_file_atomic(file, bytes);
}

Status remove_book_file(const stdfs::path& book, const stdfs::path& file) {
  std::error_code ec;
  if (!stdfs::exists(stdfs::symlink_status(file, ec))) return {};
  if (history_policy().enabled && is_file(file)) {
    std::string old;
    const Status read = read_file_checked(file, old);
    if (!read.ok()) return not_kept(file, read.message());
    if (!old.empty())
      if (Status kept = keep_version(book, file, old); !kept.ok()) return kept;
  }
  if (!remove_file(file)) return {StatusKind::WriteFailed, "Impossibile eliminare il file " + path_text(file)};
  return {};
}

VersionList list_versions(const stdfs::path& book, const stdfs::path& file) {
  VersionList list;
  std::vector<stdfs::path> entries = history_entries(versions_dir(book, file));
  std::string bytes;
  int number = 0;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    Result<HistoryEntry> e = read_file(*it, bytes) ? parse_history_entry(bytes)
                                                    : Result<HistoryEntry>(Status(StatusKind::ReadFailed, ""));
    const EntryPart* part = e.ok() ? e->part("file") : nullptr;
    if (!part) {
      list.damaged.push_back("Versione danneggiata, ignorata: " + path_text(*it));
      continue;
    }
    VersionInfo v;
    v.number = ++number;
    v.time = e->time;
    v.reason = e->reason;
    v.size = part->bytes.size();
    v.entry = *it;
    list.versions.push_back(std::move(v));
  }
  return list;
}

std::vector<std::string> files_with_versions(const stdfs::path& book) {
  std::vector<std::string> out;
  const stdfs::path root = resolve(history_folder(book), kFilesFolder);
  std::error_code ec;
  for (stdfs::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_directory(ec) || history_entries(it->path()).empty()) continue;
    std::string rel = path_text(it->path().lexically_relative(root));
    std::replace(rel.begin(), rel.end(), '\\', '/');
    out.push_back(std::move(rel));
  }
  std::sort(out.begin(), out.end());
  return out;
}

Result<std::string> version_bytes(const stdfs::path& book, const stdfs::path& file, int number) {
  VersionList list = list_versions(book, file);
  for (const auto& v : list.versions) {
    if (v.number != number) continue;
    std::string bytes;
    Result<HistoryEntry> e = read_file(v.entry, bytes) ? parse_history_entry(bytes)
                                                        : Result<HistoryEntry>(Status(StatusKind::ReadFailed, "x"));
    const EntryPart* part = e.ok() ? e->part("file") : nullptr;
    if (!part) return Status(StatusKind::ReadFailed, "Versione danneggiata: " + path_text(v.entry));
    return part->bytes;
  }
  return Status(StatusKind::NotFound, "Versione " + std::to_string(number) + " di " + path_text(inside(book, file)) +
                                          " non trovata: le versioni sono " + std::to_string(list.versions.size()));
}

Status restore_version(const stdfs::path& book, const stdfs::path& file, int number) {
  Result<std::string> bytes = version_bytes(book, file, number);
  if (!bytes.ok()) return bytes.status();
  return save_book_file(book, file, *bytes);
}

void apply_book_bound(const stdfs::path& book, const stdfs::path& keep) {
  struct Found {
    stdfs::file_time_type when;
    stdfs::path path;
    uint64_t size;
  };
  std::vector<Found> found;
  uint64_t total = 0;
  std::error_code ec;
  for (stdfs::recursive_directory_iterator it(history_folder(book), ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec) || entry_sequence(path_text(it->path().filename())) == 0) continue;
    const uint64_t size = it->file_size(ec);
    if (ec) continue;
    found.push_back({it->last_write_time(ec), it->path(), size});
    total += size;
  }
  const uint64_t bound = history_policy().bytes_per_book;
  if (total <= bound) return;
  std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
    return a.when != b.when ? a.when < b.when : a.path < b.path;
  });
  for (const auto& f : found) {
    if (total <= bound) break;
    if (f.path == keep || !remove_file(f.path)) continue;
    total -= f.size;
  }
}

}  // namespace pm

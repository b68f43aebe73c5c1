// The editor's recovery files (see recovery_files.h).
#include "project/recovery_files.h"

#include "base/text.h"
#include "project/book_history.h"

namespace pm {

namespace {

constexpr std::string_view kSuffix = ".rec";

stdfs::path recovery_folder(const stdfs::path& book) { return resolve(history_folder(book), "Recupero"); }
stdfs::path recovery_file(const stdfs::path& book, std::string_view name) {
  return recovery_folder(book) / path_from_text(std::string(name) + std::string(kSuffix));
}

}  // namespace

Status write_recovery(const stdfs::path& book, std::string_view name, std::string_view text) {
  if (!is_plain_file_name(name)) return {StatusKind::BadName, "Nome di file non valido: " + std::string(name)};
  std::error_code ec;
  stdfs::create_directories(recovery_folder(book), ec);
  HistoryEntry e;
  e.time = history_now();
  e.reason = VersionReason::Discarded;
  e.parts = {{"nome", std::string(name)}, {"testo", std::string(text)}};
  return write_file_atomic(recovery_file(book, name), format_history_entry(e));
}

bool remove_recovery(const stdfs::path& book, std::string_view name) {
  if (!is_plain_file_name(name)) return true;
  const stdfs::path p = recovery_file(book, name);
  return !is_file(p) || remove_file(p);
}

Recoveries find_recoveries(const stdfs::path& book) {
  Recoveries out;
  const stdfs::path dir = recovery_folder(book);
  std::string bytes;
  for (const auto& n : list_file_names(dir)) {
    if (n.size() <= kSuffix.size() || !iequals(std::string_view(n).substr(n.size() - kSuffix.size()), kSuffix))
      continue;
    const stdfs::path p = dir / path_from_text(n);
    Result<HistoryEntry> e = read_file(p, bytes) ? parse_history_entry(bytes)
                                                 : Result<HistoryEntry>(Status(StatusKind::ReadFailed, "x"));
    const EntryPart* name = e.ok() ? e->part("nome") : nullptr;
    const EntryPart* text = e.ok() ? e->part("testo") : nullptr;
    if (!name || !text || !is_plain_file_name(name->bytes)) {
      out.damaged.push_back("File di recupero danneggiato, ignorato: " + path_text(p));
      continue;
    }
    out.found.push_back({name->bytes, text->bytes, e->time, p});
  }
  return out;
}

}  // namespace pm

// The offer of a recovery file (see recovery_offer.h).
#include "editor/recovery_offer.h"

#include "base/text.h"
#include "editor/editor_file.h"
#include "editor/line_diff.h"
#include "project/book_encoding.h"
#include "project/book_history.h"

namespace pm {

namespace {

std::string what(const Recovery& r) {
  return editor_file_kind(r.name) == EditorFileKind::Room ? "della Stanza " + r.name : "del file " + r.name;
}

}  // namespace

std::string recovery_question(const stdfs::path& book, const Recovery& recovery, size_t max_lines) {
  Result<LoadedText> saved = load_editor_file(book, recovery.name);
  const std::string diff = line_differences(saved.ok() ? saved->display() : std::string(), recovery.text);
  std::string shown;
  size_t lines = 0, start = 0;
  while (start < diff.size() && lines < max_lines) {
    size_t end = diff.find('\n', start);
    shown.append(diff, start, end - start + 1);
    start = end + 1;
    ++lines;
  }
  if (start < diff.size()) shown += "...\n";
  return "Il testo " + what(recovery) + " non è stato salvato: Pagimond si è chiuso mentre lo modificavi (ultima copia " +
         local_time_text(recovery.time) + ").\nRipristinare il testo recuperato? Se rispondi No resta tra le versioni "
         "precedenti.\n\nDifferenze dal testo salvato (- salvato, + recuperato):\n" +
         (shown.empty() ? std::string("(nessuna)\n") : shown);
}

Status accept_recovery(const stdfs::path& book, const Recovery& recovery) {
  Result<LoadedText> saved = load_editor_file(book, recovery.name);
  if (!saved.ok()) return saved.status();
  if (Status s = save_editor_file(book, recovery.name, *saved, recovery.text); !s.ok()) return s;
  remove_recovery(book, recovery.name);
  return {};
}

Status decline_recovery(const stdfs::path& book, const Recovery& recovery) {
  auto path = editor_file_path(book, recovery.name);
  if (!path) return {StatusKind::BadName, "Nome di file non valido: " + recovery.name};
  Result<LoadedText> saved = load_editor_file(book, recovery.name);
  const LoadedText& base = saved.ok() ? *saved : LoadedText();
  const std::string bytes = base.save_bytes(recovery.text, book_encoding(book), editor_file_use(recovery.name));
  if (Status s = keep_version(book, *path, bytes, VersionReason::Discarded); !s.ok()) return s;
  remove_recovery(book, recovery.name);
  return {};
}

}  // namespace pm

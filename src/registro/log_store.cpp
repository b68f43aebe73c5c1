// LogStore: Dati.txt found whatever the case of its name, read and written as the log; a
// log that could not be read is left alone and the text saved beside it.
#include "log_store.h"

#include "log_text.h"

namespace registro {

namespace fs = std::filesystem;

LogStore::LogStore(fs::path folder, ReadFile read) : folder_(std::move(folder)), read_(std::move(read)) {}

fs::path LogStore::path() const { return pm::resolve(folder_, "Dati.txt"); }

pm::Status LogStore::load(std::string& text) {
  std::string bytes;
  text.clear();
  if (pm::Status read = read_(path(), bytes); read.kind() == pm::StatusKind::ReadFailed) {
    on_disk_.clear();
    unreadable_ = true;
    return read;
  }
  unreadable_ = false;
  beside_.clear();
  LogText log = log_from_file(bytes);
  encoding_ = log.encoding;
  text = std::move(log.text);
  on_disk_ = text;
  return {};
}

fs::path LogStore::save_path() {
  if (!unreadable_) return path();
  for (int n = 2; beside_.empty() && n < 1000; ++n) {
    const std::string name = "Dati (" + std::to_string(n) + ").txt";
    if (!pm::find_entry(folder_, name)) beside_ = folder_ / name;
  }
  return beside_;
}

pm::Status LogStore::save(std::string_view text, std::string* notice) {
  const bool first_beside = unreadable_ && beside_.empty();
  const fs::path target = save_path();
  if (target.empty())
    return {pm::StatusKind::WriteFailed,
            "Nessun nome libero accanto a " + pm::path_text(path()) + " per salvare il registro"};
  // The reader keeps this file by hand: it is on the disk, with its permissions, before the
  // old one is replaced.
  if (pm::Status written = pm::write_file_atomic(target, log_to_file(text, encoding_), pm::WriteCare::Careful);
      !written.ok()) {
    if (first_beside) beside_.clear();  // the next save looks for a free name again
    return written;
  }
  if (first_beside && notice)
    *notice = "Il file " + pm::path_text(path()) + " non si può leggere e non è stato sostituito: il registro è salvato in " +
              pm::path_text(target);
  on_disk_.assign(text);
  return {};
}

}  // namespace registro

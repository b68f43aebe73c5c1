// LogStore: Dati.txt found whatever the case of its name, read and written as the log.
#include "log_store.h"

#include "log_text.h"
#include "project/files.h"

namespace registro {

namespace fs = std::filesystem;

LogStore::LogStore(fs::path folder) : folder_(std::move(folder)) {}

fs::path LogStore::path() const { return pm::resolve(folder_, "Dati.txt"); }

bool LogStore::load(std::string& text, std::string& error) {
  std::string bytes;
  text.clear();
  if (pm::read_file_checked(path(), bytes, &error) == pm::ReadResult::Failed) {
    on_disk_.clear();
    return false;
  }
  LogText log = log_from_file(bytes);
  encoding_ = log.encoding;
  text = std::move(log.text);
  on_disk_ = text;
  return true;
}

bool LogStore::save(std::string_view text, std::string& error) {
  // The reader keeps this file by hand: it is on the disk, with its permissions, before the
  // old one is replaced.
  if (!pm::write_file_atomic(path(), log_to_file(text, encoding_), &error, pm::WriteCare::Careful)) return false;
  on_disk_.assign(text);
  return true;
}

}  // namespace registro

// LogStore: Dati.txt found whatever the case of its name, read and written as the log.
#include "log_store.h"

#include <system_error>

#include "atomic_file.h"
#include "log_text.h"

namespace registro {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kLogName = "Dati.txt";

bool same_ignoring_case(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

}  // namespace

LogStore::LogStore(fs::path folder) : folder_(std::move(folder)) {}

fs::path LogStore::path() const {
  const fs::path exact = folder_ / kLogName;
  std::error_code ec;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  for (fs::directory_iterator it(folder_, ec), end; !ec && it != end; it.increment(ec)) {
    const std::u8string name = it->path().filename().u8string();
    if (same_ignoring_case({reinterpret_cast<const char*>(name.data()), name.size()}, kLogName))
      return it->path();
  }
  return exact;
}

bool LogStore::load(std::string& text, std::string& error) {
  std::string bytes;
  text.clear();
  const ReadResult read = read_file(path(), bytes, error);
  if (read == ReadResult::Failed) {
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
  if (!write_file_atomic(path(), log_to_file(text, encoding_), error)) return false;
  on_disk_.assign(text);
  return true;
}

}  // namespace registro

// Dati.txt, the reader's adventure log in Registro's home folder: reading it, saving it
// atomically (never over a log it could not read), and knowing whether the log on screen
// differs from what is on disk.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "base/files.h"
#include "base/text_codec.h"

namespace registro {

class LogStore {
 public:
  // How the log file is read: the core's checked whole-file read, or a test's stand-in.
  using ReadFile = std::function<pm::Status(const std::filesystem::path&, std::string&)>;

  explicit LogStore(std::filesystem::path folder, ReadFile read = pm::read_file_checked);

  // The log file: an existing entry of the folder named Dati.txt in any case, else
  // "Dati.txt" itself.
  std::filesystem::path path() const;

  // Reads the log into `text` (UTF-8, lines separated by "\n"). A missing file is an
  // empty log. ReadFailed, with a message naming the file and `text` empty, when the file
  // cannot be read. Either way the result counts as the state on disk.
  pm::Status load(std::string& text);

  // Writes `text` as the log file, replacing it atomically; on success `text` becomes
  // the state on disk. On failure (WriteFailed) the file is unchanged and the message says why.
  // A log that could not be read is never replaced: after such a load the text goes to a
  // new file beside it ("Dati (2).txt", or the next free number), the same one at every
  // save, and the first save there sets `notice` to a message that says so.
  pm::Status save(std::string_view text, std::string* notice = nullptr);

  // True when `text` is not what was last loaded or saved.
  bool differs(std::string_view text) const { return text != on_disk_; }

 private:
  // The file the next save writes: path(), or a new file beside an unreadable log (empty
  // when no free name is left).
  std::filesystem::path save_path();

  std::filesystem::path folder_;
  ReadFile read_;
  pm::TextEncoding encoding_ = pm::TextEncoding::Utf8;
  std::string on_disk_;
  bool unreadable_ = false;       // the last load failed: path() is kept as it is
  std::filesystem::path beside_;  // where the text goes instead, once chosen
};

}  // namespace registro

// Dati.txt, the reader's adventure log in Registro's home folder: reading it, saving it
// atomically, and knowing whether the log on screen differs from what is on disk.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "project/text_codec.h"

namespace registro {

class LogStore {
 public:
  explicit LogStore(std::filesystem::path folder);

  // The log file: an existing entry of the folder named Dati.txt in any case, else
  // "Dati.txt" itself.
  std::filesystem::path path() const;

  // Reads the log into `text` (UTF-8, lines separated by "\n"). A missing file is an
  // empty log. False, with `error` set and `text` empty, when the file cannot be read.
  // Either way the result counts as the state on disk.
  bool load(std::string& text, std::string& error);

  // Writes `text` as the log file, replacing it atomically; on success `text` becomes
  // the state on disk. On failure the file is unchanged and `error` says why.
  bool save(std::string_view text, std::string& error);

  // True when `text` is not what was last loaded or saved.
  bool differs(std::string_view text) const { return text != on_disk_; }

 private:
  std::filesystem::path folder_;
  pm::TextEncoding encoding_ = pm::TextEncoding::Utf8;
  std::string on_disk_;
};

}  // namespace registro

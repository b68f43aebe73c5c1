// Reading a whole file, and replacing one atomically so that a failed write leaves the
// old file whole.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace registro {

enum class ReadResult { Ok, Missing, Failed };

// Reads the whole file into `bytes`. Missing: there is no such file (bytes empty).
// Failed: it exists but cannot be read; `error` says why.
ReadResult read_file(const std::filesystem::path& path, std::string& bytes, std::string& error);

// Writes `bytes` to a new file beside `path`, flushes it to disk and renames it over
// `path`. On failure `path` is untouched, the temporary file is gone and `error` says why.
bool write_file_atomic(const std::filesystem::path& path, std::string_view bytes,
                       std::string& error);

}  // namespace registro

// Whole-file reading and atomic replacement (temporary file in the same folder, flush,
// rename over the old one).
#include "atomic_file.h"

#include <fstream>
#include <random>
#include <sstream>
#include <system_error>

#if !defined(_WIN32)
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace registro {

namespace fs = std::filesystem;

ReadResult read_file(const fs::path& path, std::string& bytes, std::string& error) {
  bytes.clear();
  std::error_code ec;
  const fs::file_status st = fs::status(path, ec);
  if (st.type() == fs::file_type::not_found) return ReadResult::Missing;
  if (ec || !fs::is_regular_file(st)) {
    error = ec ? ec.message() : "not a regular file";
    return ReadResult::Failed;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot be opened for reading";
    return ReadResult::Failed;
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  if (in.bad()) {
    error = "read error";
    return ReadResult::Failed;
  }
  bytes = std::move(buf).str();
  return ReadResult::Ok;
}

namespace {

fs::path temporary_beside(const fs::path& path, unsigned attempt) {
  static std::mt19937 names{std::random_device{}()};
  fs::path name(".");
  name += path.filename();
  name += ".tmp" + std::to_string(names() % 1000000) + "-" + std::to_string(attempt);
  return path.parent_path() / name;
}

#if !defined(_WIN32)

bool write_all(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool write_temporary(const fs::path& path, std::string_view bytes, fs::path& temp,
                     std::string& error) {
  int fd = -1;
  for (unsigned attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    temp = temporary_beside(path, attempt);
    fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = std::strerror(errno);
    temp.clear();  // nothing of ours to remove
    return false;
  }
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) ::fchmod(fd, old.st_mode & 07777);  // keep its mode
  const bool ok = write_all(fd, bytes) && ::fsync(fd) == 0;
  if (!ok) error = std::strerror(errno);
  if (::close(fd) != 0 && ok) {
    error = std::strerror(errno);
    return false;
  }
  return ok;
}

#else

bool write_temporary(const fs::path& path, std::string_view bytes, fs::path& temp,
                     std::string& error) {
  std::error_code ec;
  unsigned attempt = 0;
  do {
    temp = temporary_beside(path, attempt);
  } while (fs::exists(temp, ec) && ++attempt < 100);
  std::ofstream out(temp, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.flush();
  if (!out) {
    error = "write error";
    return false;
  }
  return true;
}

#endif

}  // namespace

bool write_file_atomic(const fs::path& path, std::string_view bytes, std::string& error) {
  fs::path temp;
  std::error_code ec;
  if (!write_temporary(path, bytes, temp, error)) {
    if (!temp.empty()) fs::remove(temp, ec);
    return false;
  }
  fs::rename(temp, path, ec);
  if (ec) {
    error = ec.message();
    fs::remove(temp, ec);
    return false;
  }
  return true;
}

}  // namespace registro

// Files read and written relative to an open folder (see open_folder.h).
#include "project/open_folder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pm {

namespace {

stdfs::path shown_path(const OpenFolder& folder, std::string_view name) {
  return folder.path() / stdfs::path(std::string(name));
}

}  // namespace

ReadResult read_descriptor(int fd, const stdfs::path& shown, std::string& out, std::string* error) {
  out.clear();
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  size_t want = regular ? size_t(st.st_size) + 1 : 65536;
  int err = 0;
  size_t used = 0;
  while (true) {
    if (out.size() - used < want) out.resize(used + want);
    ssize_t n = ::read(fd, out.data() + used, out.size() - used);
    if (n < 0) {
      if (errno == EINTR) continue;
      err = errno;
      break;
    }
    if (n == 0) break;
    const size_t asked = out.size() - used;
    used += size_t(n);
    if (regular && size_t(n) < asked) break;  // a short read of a regular file is its end
    want = std::max<size_t>(65536, used);    // the file grew: go on in larger steps
  }
  ::close(fd);
  out.resize(err ? 0 : used);
  if (err) {
    if (error) *error = "Impossibile leggere il file " + path_text(shown) + ": " + std::strerror(err);
    return ReadResult::Failed;
  }
  return ReadResult::Ok;
}

OpenFolder::OpenFolder(const stdfs::path& dir)
    : fd_(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), path_(dir) {}

OpenFolder::~OpenFolder() {
  if (fd_ >= 0) ::close(fd_);
}

OpenFolder::OpenFolder(OpenFolder&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

ReadResult OpenFolder::read(std::string_view name, std::string& out, std::string* error) const {
  out.clear();
  if (fd_ < 0) return ReadResult::Missing;
  const std::string file(name);
  const int fd = ::openat(fd_, file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return ReadResult::Missing;
    if (error) *error = "Impossibile leggere il file " + path_text(shown_path(*this, name)) + ": " + std::strerror(errno);
    return ReadResult::Failed;
  }
  return read_descriptor(fd, shown_path(*this, name), out, error);
}

std::vector<std::string> OpenFolder::file_names() const {
  std::vector<std::string> names;
  if (fd_ < 0) return names;
  // The listing gets its own descriptor: closedir closes it, and this folder's stays.
  const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
  if (!dir) {
    if (fd >= 0) ::close(fd);
    return names;
  }
  while (const dirent* e = ::readdir(dir)) {
    const std::string_view name = e->d_name;
    if (name == "." || name == "..") continue;
    bool regular = e->d_type == DT_REG;
    if (e->d_type == DT_LNK || e->d_type == DT_UNKNOWN) {  // a link counts by what it points to
      struct stat st {};
      regular = ::fstatat(fd_, e->d_name, &st, 0) == 0 && S_ISREG(st.st_mode);
    }
    if (regular) names.emplace_back(name);
  }
  ::closedir(dir);
  return names;
}

DirectWriter::DirectWriter(const OpenFolder& folder, std::string_view name) : folder_(folder), name_(name) {
  fd_ = folder.valid() ? ::openat(folder.descriptor(), name_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)
                       : -1;
  if (fd_ < 0) errno_ = folder.valid() ? errno : ENOENT;
}

DirectWriter::~DirectWriter() { finish(); }

void DirectWriter::write(std::string_view bytes) {
  while (fd_ >= 0 && errno_ == 0 && !bytes.empty()) {
    const ssize_t w = ::write(fd_, bytes.data(), bytes.size());
    if (w < 0) {
      if (errno != EINTR) errno_ = errno;
      continue;
    }
    bytes.remove_prefix(size_t(w));
  }
}

bool DirectWriter::finish(std::string* error) {
  if (fd_ >= 0) {
    if (::close(fd_) != 0 && errno_ == 0) errno_ = errno;
    fd_ = -1;
    if (errno_ != 0) ::unlinkat(folder_.descriptor(), name_.c_str(), 0);
  }
  if (errno_ == 0) return true;
  if (error)
    *error = "Impossibile scrivere il file " + path_text(shown_path(folder_, name_)) + ": " + std::strerror(errno_);
  return false;
}

bool write_file_direct(const OpenFolder& folder, std::string_view name, std::string_view bytes, std::string* error) {
  DirectWriter writer(folder, name);
  writer.write(bytes);
  return writer.finish(error);
}

}  // namespace pm

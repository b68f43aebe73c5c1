// Files read and written relative to an open folder (see open_folder.h).
#include "base/open_folder.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#else
#include <dirent.h>
#include <unistd.h>
#endif

namespace pm {

namespace {

stdfs::path shown_path(const OpenFolder& folder, std::string_view name) {
  return folder.path() / path_from_text(name);
}

#if defined(_WIN32)
int open_in(const OpenFolder& folder, const std::string& name, int flags) {
  return ::_wopen(shown_path(folder, name).c_str(), flags | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}
constexpr int kReadFlags = _O_RDONLY;
constexpr int kCreateFlags = _O_WRONLY | _O_CREAT | _O_TRUNC;
int close_fd(int fd) { return ::_close(fd); }
void unlink_in(const OpenFolder& folder, const std::string& name) { ::_wunlink(shown_path(folder, name).c_str()); }
#else
int open_in(const OpenFolder& folder, const std::string& name, int flags) {
  return ::openat(folder.descriptor(), name.c_str(), flags | O_CLOEXEC, 0644);
}
constexpr int kReadFlags = O_RDONLY;
int close_fd(int fd) { return ::close(fd); }
void unlink_in(const OpenFolder& folder, const std::string& name) { ::unlinkat(folder.descriptor(), name.c_str(), 0); }
#endif

}  // namespace

#if defined(_WIN32)
OpenFolder::OpenFolder(const stdfs::path& dir) : fd_(is_folder(dir) ? 0 : -1), path_(dir) {}

OpenFolder::~OpenFolder() = default;
#else
OpenFolder::OpenFolder(const stdfs::path& dir)
    : fd_(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)), path_(dir) {}

OpenFolder::~OpenFolder() {
  if (fd_ >= 0) ::close(fd_);
}
#endif

OpenFolder::OpenFolder(OpenFolder&& other) noexcept : fd_(other.fd_), path_(std::move(other.path_)) {
  other.fd_ = -1;
}

OpenFolder& OpenFolder::operator=(OpenFolder&& other) noexcept {
  if (this != &other) {
#if !defined(_WIN32)
    if (fd_ >= 0) ::close(fd_);
#endif
    fd_ = other.fd_;
    path_ = std::move(other.path_);
    other.fd_ = -1;
  }
  return *this;
}

Status OpenFolder::read(std::string_view name, std::string& out) const {
  out.clear();
  if (fd_ < 0) return Status(StatusKind::NotFound, {});
  const int fd = open_in(*this, std::string(name), kReadFlags);
  return read_descriptor(fd, [&] { return shown_path(*this, name); }, out);
}

#if defined(_WIN32)
std::vector<std::string> OpenFolder::file_names() const {
  std::vector<std::string> names;
  std::error_code ec;
  for (stdfs::directory_iterator it(path_, ec), end; !ec && it != end; it.increment(ec)) {
    std::error_code ec2;
    if (it->is_regular_file(ec2)) names.push_back(path_text(it->path().filename()));
  }
  return names;
}
#else
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
#endif

#if defined(_WIN32)
// Opens `name` to be written over, as below: a file of its own is emptied in place; a
// link (a reparse point, never followed, or a file with other names), a folder or a file
// that cannot be opened for writing (read-only) goes first, and the file is made anew.
static int open_over(const OpenFolder& folder, const std::string& name) {
  const stdfs::path p = shown_path(folder, name);
  const HANDLE h = CreateFileW(p.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return open_in(folder, name, kCreateFlags);
  BY_HANDLE_FILE_INFORMATION info{};
  const bool known = GetFileInformationByHandle(h, &info);
  CloseHandle(h);
  const DWORD attributes = known ? info.dwFileAttributes : 0;
  const bool own = known && !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) &&
                   info.nNumberOfLinks == 1;
  if (own) {
    const int fd = open_in(folder, name, kCreateFlags);
    if (fd >= 0 || errno != EACCES) return fd;
  }
  if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
    std::error_code ec;
    stdfs::remove_all(p, ec);
  } else {
    if (known) SetFileAttributesW(p.c_str(), attributes & ~DWORD(FILE_ATTRIBUTE_READONLY));
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) RemoveDirectoryW(p.c_str());  // a link to a folder
    else DeleteFileW(p.c_str());
  }
  return open_in(folder, name, _O_WRONLY | _O_CREAT | _O_EXCL);
}
#else
// Opens `name` to be written over. A file of its own is emptied in place; a link (never
// followed: what it points to stays), a file with other names (hard links: they keep their
// bytes), a folder or a file that cannot be opened for writing goes first, and the file
// is made anew.
static int open_over(const OpenFolder& folder, const std::string& name) {
  int fd = open_in(folder, name, O_WRONLY | O_CREAT | O_NOFOLLOW);
  if (fd >= 0) {
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1) {
      if (st.st_size == 0 || ::ftruncate(fd, 0) == 0) return fd;
    }
    ::close(fd);
  } else if (errno == ENOENT) {
    return -1;
  }
  if (::unlinkat(folder.descriptor(), name.c_str(), 0) != 0 && (errno == EISDIR || errno == EPERM)) {
    std::error_code ec;
    stdfs::remove_all(folder.path() / name, ec);
  }
  return open_in(folder, name, O_WRONLY | O_CREAT | O_EXCL);
}
#endif

DirectWriter::DirectWriter(const OpenFolder& folder, std::string_view name) : folder_(folder), name_(name) {
  fd_ = folder.valid() ? open_over(folder, name_) : -1;
  if (fd_ < 0) errno_ = folder.valid() ? errno : ENOENT;
}

DirectWriter::~DirectWriter() { (void)finish(); }

void DirectWriter::write(std::string_view bytes) {
  if (fd_ >= 0 && errno_ == 0) errno_ = write_all(fd_, bytes);
}

Status DirectWriter::finish() {
  if (fd_ >= 0) {
    if (close_fd(fd_) != 0 && errno_ == 0) errno_ = errno;
    fd_ = -1;
    if (errno_ != 0) unlink_in(folder_, name_);
  }
  if (errno_ == 0) return {};
  return Status(StatusKind::WriteFailed,
                "Impossibile scrivere il file " + path_text(shown_path(folder_, name_)) + ": " + std::strerror(errno_));
}

Status write_file_direct(const OpenFolder& folder, std::string_view name, std::string_view bytes) {
  DirectWriter writer(folder, name);
  writer.write(bytes);
  return writer.finish();
}

}  // namespace pm

// The one OS call of Start: ShellExecute on Windows, the desktop's opener elsewhere.
// The document's path always travels as a single argument, never through a shell.
#include "open_document.h"

#if defined(_WIN32)
#include <windows.h>
#include <shellapi.h>
#else
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace start {

#if defined(_WIN32)

void open_document(const std::filesystem::path& document) {
  ShellExecuteW(nullptr, L"open", document.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

#else

namespace {
#if defined(__APPLE__)
constexpr const char* kOpener = "open";
#else
constexpr const char* kOpener = "xdg-open";
#endif

// Points stdin, stdout and stderr at /dev/null, so the opener neither reads from nor
// writes to whatever started us, nor keeps its pipes open after we have ended.
void detach_standard_streams() {
  int null_fd = ::open("/dev/null", O_RDWR);
  if (null_fd < 0) return;
  for (int fd = 0; fd <= 2; ++fd) ::dup2(null_fd, fd);
  if (null_fd > 2) ::close(null_fd);
}
}  // namespace

void open_document(const std::filesystem::path& document) {
  // Everything the grandchild needs is prepared before forking.
  const std::string arg = document.string();
  char* const argv[] = {const_cast<char*>(kOpener), const_cast<char*>(arg.c_str()), nullptr};

  pid_t child = ::fork();
  if (child < 0) return;
  if (child == 0) {
    // First child: leave our session and hand the opener to a grandchild, so that the
    // opener is adopted by init and we never wait for it.
    ::setsid();
    pid_t grandchild = ::fork();
    if (grandchild == 0) {
      detach_standard_streams();
      ::execvp(kOpener, argv);
      ::_exit(0);  // no opener on PATH: nothing to do, nothing to say
    }
    ::_exit(0);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

#endif

}  // namespace start

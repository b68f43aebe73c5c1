// A graph layout in a child process (see graphviz_layout_job.h).
#include "check/graphviz_layout_job.h"

#include "check/graphviz_render.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace pm {

LayoutJob::~LayoutJob() { stop_child(); }

void LayoutJob::finish(LayoutResult result) {
  result_ = std::move(result);
  finished_ = true;
}

#if defined(_WIN32)

void LayoutJob::start(const GraphDrawing& drawing) {
  finished_ = false;
  finish(layout_graph(drawing));
}
bool LayoutJob::wait(std::chrono::milliseconds) { return finished_; }
void LayoutJob::cancel() {
  if (!finished_) finish(cancelled_layout_result());
}
void LayoutJob::stop_child() {}
bool LayoutJob::read_available() { return false; }

#else

void LayoutJob::start(const GraphDrawing& drawing) {
  stop_child();
  finished_ = false;
  received_.clear();
  nodes_ = drawing.nodes.size();
  if (nodes_ > kGraphNodeLimit) return finish(too_large_result(nodes_));
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return finish(failed_layout_result("no pipe for the layout", "manca una pipe"));
  const pid_t pid = ::fork();
  if (pid < 0) {
    ::close(ends[0]);
    ::close(ends[1]);
    return finish(failed_layout_result("cannot start the layout process", "impossibile avviare il processo"));
  }
  if (pid == 0) {  // the child: lay out, write, and leave without running the parent's exit code
    ::close(ends[0]);
    const std::string text = serialize_layout(layout_graph(drawing));
    size_t done = 0;
    while (done < text.size()) {
      const ssize_t n = ::write(ends[1], text.data() + done, text.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) ::_exit(1);
      done += size_t(n);
    }
    ::_exit(0);
  }
  ::close(ends[1]);
  ::fcntl(ends[0], F_SETFL, ::fcntl(ends[0], F_GETFL) | O_NONBLOCK);
  pid_ = pid;
  fd_ = ends[0];
  started_ = std::chrono::steady_clock::now();
}

bool LayoutJob::read_available() {
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, sizeof buffer);
    if (n > 0) {
      received_.append(buffer, size_t(n));
    } else if (n == 0) {
      return false;
    } else {
      return errno == EAGAIN || errno == EINTR;
    }
  }
}

bool LayoutJob::wait(std::chrono::milliseconds timeout) {
  using namespace std::chrono;
  if (finished_ || pid_ <= 0) return finished_;  // nothing started
  const auto until = steady_clock::now() + timeout;
  // The child is asked at least once, so that wait(0) takes what is there without waiting.
  for (bool asked = false;; asked = true) {
    const auto now = steady_clock::now();
    const auto deadline = started_ + limit_;
    if (now >= deadline) {
      stop_child();
      finish(too_large_result(nodes_));
      return true;
    }
    if (asked && now >= until) return false;
    pollfd p{fd_, POLLIN, 0};
    const auto slice =
        now >= until ? 0 : duration_cast<milliseconds>(std::min(until, deadline) - now).count() + 1;
    if (::poll(&p, 1, int(slice)) < 0 && errno != EINTR) {
      stop_child();
      finish(failed_layout_result("cannot wait for the layout process", "impossibile attendere il processo"));
      return true;
    }
    if (read_available()) continue;
    // The child has closed its end: collect it and read what it wrote.
    ::close(fd_);
    fd_ = -1;
    int status = 0;
    while (::waitpid(pid_t(pid_), &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    LayoutResult r;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0 && deserialize_layout(received_, r)) {
      finish(std::move(r));
    } else {
      finish(failed_layout_result("Graphviz stopped without a layout", "Graphviz si \xC3\xA8 interrotto senza disegnarlo"));
    }
    received_.clear();
    return true;
  }
}

void LayoutJob::cancel() {
  if (finished_) return;
  stop_child();
  finish(cancelled_layout_result());
}

void LayoutJob::stop_child() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (pid_ > 0) {
    ::kill(pid_t(pid_), SIGKILL);
    while (::waitpid(pid_t(pid_), nullptr, 0) < 0 && errno == EINTR) {
    }
  }
  pid_ = -1;
}

#endif

}  // namespace pm

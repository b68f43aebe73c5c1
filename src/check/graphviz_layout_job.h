// A graph layout that never holds up the caller and that can really be stopped: Graphviz
// runs in a child process, which writes the laid-out map back through a pipe. Cancelling
// kills the child at once, and a layout that runs past its time limit is killed the same
// way and reported as too large; a Graphviz crash ends only the child. The window starts a
// job, watches descriptor() (or calls wait() from a worker thread) and draws the result.
//
// The child is a fork of the caller: it must not need a lock another thread of the caller
// holds, so a program that lays out through jobs does not also call Graphviz in-process
// from another thread at the same time.
//
// Where there is no fork (Windows), start() lays out in the calling thread: call it from a
// worker thread there; cancel() then only discards the result.
#pragma once

#include <chrono>

#include "check/graph_drawing.h"
#include "check/graph_layout.h"

namespace pm {

class LayoutJob {
 public:
  // The time a layout may take before it is stopped as too large.
  static constexpr std::chrono::milliseconds kDefaultLimit{10000};

  explicit LayoutJob(std::chrono::milliseconds limit = kDefaultLimit) : limit_(limit) {}
  ~LayoutJob();  // a running layout is cancelled
  LayoutJob(const LayoutJob&) = delete;
  LayoutJob& operator=(const LayoutJob&) = delete;

  // Starts laying out `drawing` and returns at once (cancelling a layout still running).
  // A drawing above kGraphNodeLimit finishes at once as TooLarge.
  void start(const GraphDrawing& drawing);

  // Readable while the child writes and when it ends; -1 when no layout runs.
  int descriptor() const { return fd_; }

  // Takes what the child has written, waiting up to `timeout` for more. True once the
  // result is there (also when it failed, was cancelled or ran out of time).
  bool wait(std::chrono::milliseconds timeout);

  // Stops a running layout at once; the result is Cancelled.
  void cancel();

  bool finished() const { return finished_; }
  const LayoutResult& result() const { return result_; }

 private:
  void finish(LayoutResult result);
  void stop_child();
  bool read_available();  // false at the end of the child's output

  std::chrono::milliseconds limit_;
  std::chrono::steady_clock::time_point started_;
  size_t nodes_ = 0;
  long pid_ = -1;
  int fd_ = -1;
  std::string received_;
  bool finished_ = false;
  LayoutResult result_;
};

}  // namespace pm

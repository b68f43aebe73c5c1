// The result of everything in the core that can fail: ok, or a kind and a message for the
// person. Callers decide by the kind and show the message; they never compare its text.
#pragma once

#include <string>
#include <utility>

namespace pm {

enum class StatusKind {
  Ok,
  NoTitle,      // a project was asked for without a title
  NameExists,   // the folder already holds an entry of that name
  BadName,      // the name is no folder name of its own ("..", only blanks)
  NotFound,     // what should be read or used is not there
  ReadFailed,   // it is there but cannot be read
  WriteFailed,  // a file or folder could not be written, copied or removed
  Usage,        // a wrong command line
  NotAProject,  // the folder is there but holds no project (no readable .dat and Room/0)
  WouldDestroy, // doing it would destroy what the author wrote (a folder to empty holds the project)
  Incomplete,   // the work ran, but not all of it was done: the message lists what failed
  NotStarted,   // the desktop could not start the program asked for (no browser, no file manager)
};

class [[nodiscard]] Status {
 public:
  Status() = default;  // ok
  Status(StatusKind kind, std::string message) : kind_(kind), message_(std::move(message)) {}

  bool ok() const { return kind_ == StatusKind::Ok; }
  StatusKind kind() const { return kind_; }
  const std::string& message() const { return message_; }

 private:
  StatusKind kind_ = StatusKind::Ok;
  std::string message_;
};

}  // namespace pm

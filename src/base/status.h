// The result of everything in the core that can fail: ok, or a kind and a message for the
// person. Callers decide by the kind and show the message; they never compare its text.
// Result<T> is the same for a call that gives a value when it succeeds.
#pragma once

#include <cassert>
#include <optional>
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

// A value, or the Status that says why there is none. (The standard library's own type for
// this needs a later language version than the one this code is built with.)
template <class T>
class [[nodiscard]] Result {
 public:
  Result(T value) : value_(std::move(value)) {}
  // A failure: `status` is never ok.
  Result(Status status) : status_(std::move(status)) { assert(!status_.ok()); }

  bool ok() const { return value_.has_value(); }
  const Status& status() const { return status_; }
  StatusKind kind() const { return status_.kind(); }

  // The value; only when ok().
  T& value() & { return *value_; }
  const T& value() const& { return *value_; }
  T&& value() && { return std::move(*value_); }
  T& operator*() & { return *value_; }
  const T& operator*() const& { return *value_; }
  T* operator->() { return &*value_; }
  const T* operator->() const { return &*value_; }

 private:
  std::optional<T> value_;
  Status status_;
};

}  // namespace pm

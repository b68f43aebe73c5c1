// Sets (or unsets) an environment variable for the life of one object and puts the old
// value back afterwards, on POSIX systems and on Windows alike.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

namespace pmtest {

class ScopedEnv {
 public:
  ScopedEnv(std::string name, const std::optional<std::string>& value) : name_(std::move(name)) {
    if (const char* old = std::getenv(name_.c_str())) old_ = old;
    set(value);
  }
  ~ScopedEnv() { set(old_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  void set(const std::optional<std::string>& value) {
#if defined(_WIN32)
    _putenv_s(name_.c_str(), value ? value->c_str() : "");  // empty removes it
#else
    if (value)
      setenv(name_.c_str(), value->c_str(), 1);
    else
      unsetenv(name_.c_str());
#endif
  }

  std::string name_;
  std::optional<std::string> old_;
};

}  // namespace pmtest

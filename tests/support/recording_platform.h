// RecordingPlatform, the Platform double of the window tests: records every request and
// opens nothing; the Desktop folder is whatever the test sets.
#pragma once

#include <string>
#include <vector>

#include "base/platform.h"

namespace pm {

class RecordingPlatform : public Platform {
 public:
  struct Call {
    std::string kind;  // "open", "folder", "text", "program"
    std::string target;
    std::vector<std::string> args;
  };
  void open_document(const std::string& p) override { calls.push_back({"open", p, {}}); }
  void show_folder(const std::string& f) override { calls.push_back({"folder", f, {}}); }
  void open_text_file(const std::string& f) override { calls.push_back({"text", f, {}}); }
  void start_program(const std::string& p, const std::vector<std::string>& a) override {
    calls.push_back({"program", p, a});
  }
  std::string desktop_folder() override { return desktop; }

  std::vector<Call> calls;
  std::string desktop;
};

}  // namespace pm

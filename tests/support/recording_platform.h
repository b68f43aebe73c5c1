// RecordingPlatform, the Platform double of the window tests: records every request and
// opens nothing; the Desktop folder is whatever the test sets, and a test can make the
// desktop have no browser and no file manager.
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
  Status open_document(const std::string& p) override {
    calls.push_back({"open", p, {}});
    return desktop_fails ? browser_not_started(p) : Status();
  }
  Status show_folder(const std::string& f) override {
    calls.push_back({"folder", f, {}});
    return desktop_fails ? file_manager_not_started(f) : Status();
  }
  void open_text_file(const std::string& f) override { calls.push_back({"text", f, {}}); }
  void start_program(const std::string& p, const std::vector<std::string>& a) override {
    calls.push_back({"program", p, a});
  }
  std::string desktop_folder() override { return desktop; }

  std::vector<Call> calls;
  std::string desktop;
  bool desktop_fails = false;  // no browser, no file manager: opening a page or a folder fails
};

}  // namespace pm

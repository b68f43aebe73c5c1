// The Platform seam: what the tool asks of the desktop. Open a document or address in its
// default application, show a folder in the file manager, open a text file in the text
// editor, start a program, find the Desktop folder. The Qt implementation uses the
// desktop's own services; tests use RecordingPlatform, which opens nothing.
#pragma once

#include <string>
#include <vector>

namespace pm {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual void open_document(const std::string& path_or_url) = 0;
  virtual void show_folder(const std::string& folder) = 0;
  virtual void open_text_file(const std::string& file) = 0;
  virtual void start_program(const std::string& program, const std::vector<std::string>& args) = 0;
  virtual std::string desktop_folder() = 0;
};

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

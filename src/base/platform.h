// The Platform seam: what the tool asks of the desktop. Open a document or address in its
// default application, show a folder in the file manager, open a text file in the text
// editor, start a program, find the Desktop folder. The Qt implementation uses the
// desktop's own services; tests use RecordingPlatform (tests/support), which opens nothing.
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

}  // namespace pm

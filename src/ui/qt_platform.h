// The Platform seam on the desktop: documents and addresses open in their default
// application, folders in the file manager, text files in the text editor (Notepad on
// Windows), programs start detached; the Desktop folder comes from the system. Opening a
// document or a folder fails when the desktop finds no program to hand it to (no browser,
// no file manager, no launcher such as xdg-open); a program that starts and then fails
// (a sandboxed browser that cannot read the file) is beyond what the desktop tells.
#pragma once

#include "base/platform.h"

namespace pm {

class QtPlatform : public Platform {
 public:
  Status open_document(const std::string& path_or_url) override;
  Status show_folder(const std::string& folder) override;
  void open_text_file(const std::string& file) override;
  void start_program(const std::string& program, const std::vector<std::string>& args) override;
  std::string desktop_folder() override;
};

}  // namespace pm

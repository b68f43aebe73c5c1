// The Platform seam: what the tool asks of the desktop. Open a document or address in its
// default application, show a folder in the file manager, open a text file in the text
// editor, start a program, find the Desktop folder. The Qt implementation uses the
// desktop's own services; tests use RecordingPlatform (tests/support), which opens nothing.
#pragma once

#include <string>
#include <vector>

#include "base/status.h"

namespace pm {

class Platform {
 public:
  virtual ~Platform() = default;
  // NotStarted (browser_not_started) when the desktop has nothing to open it with.
  virtual Status open_document(const std::string& path_or_url) = 0;
  // NotStarted (file_manager_not_started) when the desktop has no file manager to ask.
  virtual Status show_folder(const std::string& folder) = 0;
  virtual void open_text_file(const std::string& file) = 0;
  virtual void start_program(const std::string& program, const std::vector<std::string>& args) = 0;
  virtual std::string desktop_folder() = 0;
};

// What the author is told when the page `file` could not be opened in the browser, or the
// folder `folder` shown in the file manager: what to open by hand.
inline Status browser_not_started(const std::string& file) {
  return Status(StatusKind::NotStarted, "Impossibile avviare il browser: aprire a mano il file " + file + ".");
}
inline Status file_manager_not_started(const std::string& folder) {
  return Status(StatusKind::NotStarted,
                "Impossibile avviare il gestore dei file: aprire a mano la cartella " + folder + ".");
}

}  // namespace pm

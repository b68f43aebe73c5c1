// The Prompts seam: the input box, the message box and the yes/no question the windows
// show. Texts are UTF-8. The Qt implementation shows real dialogs; tests use
// ScriptedPrompts (tests/support), which answers from a script and records every question.
#pragma once

#include <optional>
#include <string>

namespace pm {

enum class MessageIcon { Information, Question, Warning, Critical };

class Prompts {
 public:
  virtual ~Prompts() = default;
  // The answer, or nothing when the box was cancelled.
  virtual std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                           const std::string& default_text) = 0;
  virtual void message(const std::string& text, const std::string& title, MessageIcon icon) = 0;
  // True for Yes.
  virtual bool ask_yes_no(const std::string& text, const std::string& title) = 0;
  // A file to open, chosen by the person among those `filter` shows ("Storie (*.twee
  // *.html)"), or nothing when cancelled. Where there is no file chooser, the path is asked
  // in the input box.
  virtual std::optional<std::string> choose_file(const std::string& title, const std::string& filter) {
    (void)filter;
    return input("File:", title, "");
  }
};

}  // namespace pm

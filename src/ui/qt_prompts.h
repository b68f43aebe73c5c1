// The Prompts seam shown as real dialogs: QInputDialog for the input box, QMessageBox for
// messages and yes/no questions, QFileDialog for a file to open, owned by the active window of the tool.
#pragma once

#include "base/prompts.h"

class QWidget;

namespace pm {

class QtPrompts : public Prompts {
 public:
  std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                   const std::string& default_text) override;
  void message(const std::string& text, const std::string& title, MessageIcon icon) override;
  bool ask_yes_no(const std::string& text, const std::string& title) override;
  std::optional<std::string> choose_file(const std::string& title, const std::string& filter) override;
};

}  // namespace pm

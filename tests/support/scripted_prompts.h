// ScriptedPrompts, the Prompts double of the window tests: answers queued in advance,
// every question recorded.
#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "base/prompts.h"

namespace pm {

// An input with no queued answer is cancelled; a question with no queued answer is
// answered No.
class ScriptedPrompts : public Prompts {
 public:
  struct Call {
    std::string kind;  // "input", "message", "question"
    std::string text;  // the prompt or message text
    std::string title;
    std::string default_text;
  };

  void answer_input(std::optional<std::string> a) { inputs_.push_back(std::move(a)); }
  void answer_question(bool yes) { questions_.push_back(yes); }

  std::optional<std::string> input(const std::string& prompt, const std::string& title,
                                   const std::string& default_text) override {
    calls.push_back({"input", prompt, title, default_text});
    if (inputs_.empty()) return std::nullopt;
    auto a = inputs_.front();
    inputs_.pop_front();
    return a;
  }
  void message(const std::string& text, const std::string& title, MessageIcon) override {
    calls.push_back({"message", text, title, ""});
  }
  bool ask_yes_no(const std::string& text, const std::string& title) override {
    calls.push_back({"question", text, title, ""});
    if (questions_.empty()) return false;
    bool yes = questions_.front();
    questions_.pop_front();
    return yes;
  }

  std::vector<Call> calls;

 private:
  std::deque<std::optional<std::string>> inputs_;
  std::deque<bool> questions_;
};

}  // namespace pm

// Following links between rooms (see follow_link.h).
#include "rooms/follow_link.h"

#include <fstream>

#include "base/files.h"
#include "base/text.h"

namespace pm {

namespace {
constexpr std::string_view kPage = ".htm";
}

std::optional<std::string> follow_link_target(std::string_view s, bool require_htm) {
  if (require_htm && (s.size() < kPage.size() || s.substr(s.size() - kPage.size()) != kPage)) return std::nullopt;
  if (s.empty() || s[0] < '0' || s[0] > '9') return std::nullopt;
  std::string target = replace_all(s, kPage, "");
  if (!is_safe_link_target(target)) return std::nullopt;
  return target;
}

bool is_safe_link_target(std::string_view target) {
  return is_plain_file_name(target) && target.find("..") == std::string_view::npos;
}

std::string follow_link_missing_message(std::string_view target) {
  return "Impossibile seguire il collegamento: la Stanza \"" + std::string(target) +
         "\" non esiste o è vuota.";
}

bool follow_link_ready(const stdfs::path& project_folder, std::string_view target) {
  if (!is_safe_link_target(target)) return false;
  const stdfs::path p = resolve(project_folder, target);
  if (!is_file(p)) return false;
  std::ifstream f(p, std::ios::binary);
  return f && f.get() != std::ifstream::traits_type::eof();
}

FollowLinkRetry::Step FollowLinkRetry::tick(const stdfs::path& project_folder, std::string_view target) {
  if (!is_safe_link_target(target)) {
    target_.reset();
    return Step::Drop;
  }
  const auto now = clock_();
  if (!target_ || *target_ != target) {
    target_ = std::string(target);
    since_ = now;
  }
  if (follow_link_ready(project_folder, target)) {
    target_.reset();
    return Step::Open;
  }
  if (now - since_ < kFollowLinkPatience) return Step::Wait;
  target_.reset();
  return Step::GiveUp;
}

}  // namespace pm

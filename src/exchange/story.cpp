// Helpers shared by the story readers (see story.h).
#include "exchange/story.h"

#include "base/text_codec.h"

namespace pm {

std::string story_bytes_as_utf8(std::string_view bytes) {
  if (bytes.substr(0, kUtf8Bom.size()) == kUtf8Bom) bytes.remove_prefix(kUtf8Bom.size());
  return is_valid_utf8(bytes) ? std::string(bytes) : decode_to_utf8(bytes, TextEncoding::Windows1252);
}

std::string_view trim_space(std::string_view s) {
  auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!s.empty() && space(s.front())) s.remove_prefix(1);
  while (!s.empty() && space(s.back())) s.remove_suffix(1);
  return s;
}

size_t start_passage_index(const Story& story) {
  const auto& ps = story.passages;
  for (const std::string& wanted : {story.start, std::string("Start")}) {
    if (wanted.empty()) continue;
    for (size_t i = 0; i < ps.size(); ++i)
      if (ps[i].name == wanted) return i;
  }
  return ps.empty() ? ps.size() : 0;
}

}  // namespace pm

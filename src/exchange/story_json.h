// The little JSON a story carries (StoryData): an object whose string members are read and
// written; numbers, objects and arrays in it are skipped on reading.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/text.h"  // json_quoted

namespace pm {

struct JsonFields {
  std::vector<std::pair<std::string, std::string>> members;  // in order, UTF-8
  bool ok = true;  // false: the text was not a JSON object

  // The first member named `key` as text, or "".
  std::string get(std::string_view key) const;
  void add(std::string key, std::string value) { members.emplace_back(std::move(key), std::move(value)); }
};

JsonFields read_json_strings(std::string_view text);
// Pretty-printed, one member a line, tab-indented.
std::string write_json_strings(const JsonFields& fields);

}  // namespace pm

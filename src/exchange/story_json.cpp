// Reading and writing StoryData's JSON (see story_json.h).
#include "exchange/story_json.h"

#include <cstdio>

#include "base/text_codec.h"
#include "exchange/html_tag.h"

namespace pm {

namespace {

void skip_space(std::string_view s, size_t& i) {
  while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) ++i;
}

bool read_hex4(std::string_view s, size_t i, char32_t& v) {
  if (i + 4 > s.size()) return false;
  v = 0;
  for (size_t k = i; k < i + 4; ++k) {
    const char c = s[k];
    v <<= 4;
    if (c >= '0' && c <= '9') v |= char32_t(c - '0');
    else if (c >= 'a' && c <= 'f') v |= char32_t(c - 'a' + 10);
    else if (c >= 'A' && c <= 'F') v |= char32_t(c - 'A' + 10);
    else return false;
  }
  return true;
}

// A string literal at s[i] == '"'; false when it does not end.
bool read_string(std::string_view s, size_t& i, std::string& out) {
  ++i;
  while (i < s.size() && s[i] != '"') {
    if (s[i] != '\\') {
      out += s[i++];
      continue;
    }
    if (++i >= s.size()) return false;
    const char e = s[i++];
    switch (e) {
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'b': out += '\b'; break;
      case 'f': out += '\f'; break;
      case 'u': {
        char32_t c;
        if (!read_hex4(s, i, c)) return false;
        i += 4;
        char32_t low;
        if (c >= 0xD800 && c < 0xDC00 && i + 6 <= s.size() && s[i] == '\\' && s[i + 1] == 'u' &&
            read_hex4(s, i + 2, low) && low >= 0xDC00 && low < 0xE000) {
          c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
          i += 6;
        }
        append_utf8(out, c);
        break;
      }
      default: out += e; break;  // \" \\ \/
    }
  }
  if (i >= s.size()) return false;
  ++i;
  return true;
}

// Skips any JSON value at s[i]: a string, or everything up to the next ',' or '}' of this
// level (numbers, literals, nested objects and arrays).
bool skip_value(std::string_view s, size_t& i) {
  std::string ignored;
  if (i < s.size() && s[i] == '"') return read_string(s, i, ignored);
  int depth = 0;
  while (i < s.size()) {
    const char c = s[i];
    if (c == '"') {
      if (!read_string(s, i, ignored)) return false;
      continue;
    }
    if (c == '{' || c == '[') ++depth;
    if (c == '}' || c == ']') {
      if (depth == 0) return true;
      --depth;
    }
    if (c == ',' && depth == 0) return true;
    ++i;
  }
  return depth == 0;
}

}  // namespace

std::string JsonFields::get(std::string_view key) const {
  for (const auto& [k, v] : members)
    if (k == key) return v;
  return {};
}

JsonFields read_json_strings(std::string_view s) {
  JsonFields f;
  size_t i = 0;
  skip_space(s, i);
  if (i >= s.size() || s[i] != '{') {
    f.ok = false;
    return f;
  }
  ++i;
  for (;;) {
    skip_space(s, i);
    if (i < s.size() && s[i] == '}') return f;
    std::string key, value;
    if (i >= s.size() || s[i] != '"' || !read_string(s, i, key)) break;
    skip_space(s, i);
    if (i >= s.size() || s[i] != ':') break;
    ++i;
    skip_space(s, i);
    if (i < s.size() && s[i] == '"') {
      if (!read_string(s, i, value)) break;
      f.add(std::move(key), std::move(value));
    } else if (!skip_value(s, i)) {
      break;
    }
    skip_space(s, i);
    if (i < s.size() && s[i] == ',') {
      ++i;
      continue;
    }
    if (i < s.size() && s[i] == '}') return f;
    break;
  }
  f.ok = false;
  f.members.clear();
  return f;
}

std::string write_json_strings(const JsonFields& fields) {
  std::string out = "{\n";
  for (size_t i = 0; i < fields.members.size(); ++i) {
    out += "\t" + json_quoted(fields.members[i].first) + ": " + json_quoted(fields.members[i].second);
    out += i + 1 < fields.members.size() ? ",\n" : "\n";
  }
  return out + "}";
}

}  // namespace pm

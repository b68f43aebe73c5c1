// The map's four link rewrites, applied to one line as many times as the map applies them:
//   "( " -> "(",  "<a href=\"" -> "(" + phrase + " ",  ".htm\">" -> ") ",  "</a>" -> "".
// Each rewrite replaces every occurrence left to right without rescanning what it wrote.
//
// The map rewrites its whole text after every room, so a line of room k of n rooms is
// rewritten n - k times, and earlier text can keep changing: "(" followed by blanks loses
// one blank per pass, a removed "</a>" can join the pieces of another pattern, a phrase
// may hold a pattern itself. No pattern and no replacement (unless the phrase holds one)
// spans a line end, so every line evolves on its own. The first pass runs on the plain
// bytes and settles most lines. After it, an occurrence found by a pass must touch something
// changed since that rewrite last ran, so only the surroundings of the changes are searched
// again, on a linked list of the line's bytes. The work is linear in the line plus the
// changes made to it.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pm {

class MapLineRewriter {
 public:
  explicit MapLineRewriter(std::string_view phrase);

  // `line` after `passes` applications of the four rewrites, in order, appended to `out`.
  void rewrite(std::string_view line, size_t passes, std::string& out);

 private:
  void load(std::string_view line);
  bool match_at(uint32_t start, std::string_view pattern) const;
  void collect_loaded(std::string_view pattern);
  void collect_around(uint32_t node, std::string_view pattern);
  void replace_at(uint32_t start, size_t length, std::string_view replacement);
  uint32_t new_node(char c);
  void unlink(uint32_t node);
  void append_text(std::string& out) const;

  std::array<std::string, 4> replacement_;
  std::string loaded_;  // the bytes the list was loaded from
  // Node 0 is the sentinel that closes the ring; the line's bytes are nodes 1..n.
  std::vector<char> ch_;
  std::vector<uint32_t> next_, prev_;
  std::vector<uint8_t> alive_;
  std::vector<uint32_t> stamp_;  // the collection that last took a node as a match start
  uint32_t stamp_now_ = 0;
  std::vector<uint32_t> touched_;  // nodes next to or inside each change, in order
  std::vector<uint32_t> matches_;
};

}  // namespace pm

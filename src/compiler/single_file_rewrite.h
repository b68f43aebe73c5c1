// The single-file compile's three rewrites, applied to the document while it is built in
// pieces: room links become jumps to anchors ("<a href=\"" -> "<a href=\"#"), every ".htm"
// is removed, every CR LF becomes "<br>". The result equals the three replacements run one
// after the other over the whole document, each left to right without rescanning.
#pragma once

#include <string>
#include <string_view>

#include "project/text.h"

namespace pm {

// One replacement applied left to right without rescanning what it wrote, to a text that
// arrives in pieces: a match may span pieces. The first character of each pattern occurs
// only once in it, so a partial match is the only thing to carry, and after a mismatch the
// search simply goes on from the mismatching character.
class StreamReplace {
 public:
  StreamReplace(std::string_view from, std::string_view to) : from_(from), to_(to) {}

  // Appends to `out` what can be written of `in` so far.
  void feed(std::string_view in, std::string& out);
  // Appends the partial match still held, at the end of the text.
  void finish(std::string& out);

 private:
  std::string_view from_, to_;
  size_t held_ = 0;  // length of the partial match carried over from the previous piece
};

// The document as it is built, passed through the three rewrites in order.
class SingleFileWriter {
 public:
  explicit SingleFileWriter(std::string& out) : out_(out) {}

  void add(std::string_view piece);
  void finish();

 private:
  std::string& out_;
  std::string first_, second_;
  StreamReplace links_{"<a href=\"", "<a href=\"#"};
  StreamReplace htm_{".htm", ""};
  StreamReplace breaks_{kCrLf, "<br>"};
};

}  // namespace pm

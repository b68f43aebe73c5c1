// The single-file compile's streamed rewrites (see single_file_rewrite.h).
#include "compiler/single_file_rewrite.h"

#include <algorithm>

namespace pm {

void StreamReplace::feed(std::string_view in, std::string& out) {
  size_t i = 0;
  while (held_ > 0 && i < in.size()) {
    if (in[i] != from_[held_]) {
      out.append(from_.substr(0, held_));
      held_ = 0;
      break;
    }
    ++i;
    if (++held_ == from_.size()) {
      out.append(to_);
      held_ = 0;
    }
  }
  if (held_ > 0) return;  // the piece ended inside a match
  for (size_t hit; (hit = in.find(from_, i)) != std::string_view::npos; i = hit + from_.size()) {
    out.append(in.substr(i, hit - i));
    out.append(to_);
  }
  // A match may begin in the last few bytes and go on in the next piece.
  size_t p = std::max(i, in.size() > from_.size() ? in.size() - from_.size() + 1 : size_t(0));
  for (; p < in.size(); ++p) {
    if (from_.substr(0, in.size() - p) == in.substr(p)) {
      held_ = in.size() - p;
      break;
    }
  }
  out.append(in.substr(i, p - i));
}

void StreamReplace::finish(std::string& out) {
  out.append(from_.substr(0, held_));
  held_ = 0;
}

void SingleFileWriter::add(std::string_view piece) {
  first_.clear();
  links_.feed(piece, first_);
  second_.clear();
  htm_.feed(first_, second_);
  breaks_.feed(second_, out_);
}

void SingleFileWriter::finish() {
  first_.clear();
  links_.finish(first_);
  second_.clear();
  htm_.feed(first_, second_);
  htm_.finish(second_);
  breaks_.feed(second_, out_);
  breaks_.finish(out_);
}

}  // namespace pm

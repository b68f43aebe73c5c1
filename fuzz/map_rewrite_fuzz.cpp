// The map's link rewrites: the linear rewriter against the plain procedure (the four
// replacements over the line once per pass), for any line, phrase that callers accept and
// number of passes;
// and the map text of a room built from any entry and text.
#include "fuzz_support.h"
#include "map/map_rewrite.h"
#include "map/map_text.h"
#include "base/text.h"

namespace {

std::string plain(std::string line, std::string_view phrase, size_t passes) {
  const std::string link = "(" + std::string(phrase) + " ";
  for (size_t i = 0; i < passes; ++i) {
    line = pm::replace_all(line, "( ", "(");
    line = pm::replace_all(line, "<a href=\"", link);
    line = pm::replace_all(line, ".htm\">", ") ");
    line = pm::replace_all(line, "</a>", "");
  }
  return line;
}

bool one_line(std::string_view s) { return s.find_first_of("\r\n") == std::string_view::npos; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const size_t passes = 1 + data[0] % 12;
  const auto in = fuzz::parts(data + 1, size - 1, 2);
  const std::string_view line = in[0], phrase = in[1].substr(0, 64);
  // A phrase that feeds on itself is refused by every caller: its map grows without bound.
  if (one_line(line) && one_line(phrase) && !pm::link_phrase_feeds_itself(phrase)) {
    pm::MapLineRewriter rewriter(phrase);
    std::string out = "prima ";  // the rewrite appends to what is there
    rewriter.rewrite(line, passes, out);
    fuzz::check(out.rfind("prima ", 0) == 0, "the rewrite keeps what it appends to");
    out.erase(0, 6);
    fuzz::check(out == plain(std::string(line), phrase, passes), "the linear rewrite equals the plain one");
    fuzz::check(out.size() <= (line.size() + 1) * (phrase.size() + 2), "a line grows at most linearly");
    // The same rewriter again, on another line: nothing is left over from the first.
    std::string again;
    rewriter.rewrite(phrase, 1, again);
    fuzz::check(again == plain(std::string(phrase), phrase, 1), "a rewriter is reusable");
  }

  pm::MapOptions options;
  options.numbers_only = data[0] & 0x80;
  pm::MapTextBuilder builder(options, 2);
  builder.add_room(" 0 | Inizio", line);
  builder.add_room(phrase, in[1]);
  (void)builder.take();
  return 0;
}

// The conversion of a book's text file into one encoding, on any bytes: its output is in the
// target encoding line by line, it reads as the input did (each line decoded by its own
// bytes, references made characters), and converting again changes nothing. The encoder it
// rests on, on any typed text: what it writes reads back as typed.
#include "fuzz_support.h"
#include "project/book_encoding.h"
#include "base/text.h"

namespace {

std::string read_as_written(std::string_view bytes) {
  std::string text;
  pm::for_each_line(bytes, [&](std::string_view line) {
    text += pm::decode_character_references(pm::decode_for_display(line));
    text += '\n';
  });
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto in = fuzz::parts(data, size, 2);
  const auto to = size % 2 ? pm::TextEncoding::Utf8 : pm::TextEncoding::Windows1252;
  const pm::TextUse uses[] = {pm::TextUse::Html, pm::TextUse::Script, pm::TextUse::StyleSheet};
  const pm::TextUse use = uses[size % 3];
  std::string_view bytes = in[0];
  const std::string out = pm::convert_text_file(bytes, to, use);
  pm::for_each_line(out, [&](std::string_view line) {
    fuzz::check(pm::line_is_in(line, to), "every line of the output is in the target encoding");
  });
  fuzz::check(pm::convert_text_file(out, to, use) == out, "converting again changes nothing");
  if (use == pm::TextUse::Html) {
    while (to == pm::TextEncoding::Windows1252 && bytes.starts_with(pm::kUtf8Bom)) bytes.remove_prefix(3);
    fuzz::check(read_as_written(out) == read_as_written(bytes), "the output reads as the input did");
  }

  // Typed text (valid UTF-8) through the encoder reads back as typed.
  const std::string typed = pm::decode_for_display(in[1]);
  for (const pm::TextUse u : uses) {
    const std::string written = pm::encode_for_book(typed, to, u);
    fuzz::check(pm::is_ascii(written) || pm::detect_encoding(written) == to, "the encoder writes the book's encoding");
    if (u == pm::TextUse::Html)
      fuzz::check(pm::decode_character_references(pm::decode_for_display(written)) ==
                      pm::decode_character_references(typed),
                  "what the encoder wrote reads back as typed");
  }
  return 0;
}

// The editor's load and save: a file loaded and saved unedited gives back every byte; an
// edit keeps the bytes of the lines it did not touch and reloads as the text edited; and
// the line matcher pairs only equal lines, in order; any bytes decoded as Windows-1252 and
// encoded back are the same bytes.
#include "editor/editor_file.h"
#include "editor/line_diff.h"
#include "fuzz_support.h"
#include "base/text_codec.h"

namespace {

std::vector<std::string_view> lines_of(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i)
    if (i == text.size() || text[i] == '\n') {
      out.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto in = fuzz::parts(data, size, 2);
  const std::string bytes(in[0]);
  const pm::LoadedText loaded(bytes);
  const auto book = size % 2 ? pm::TextEncoding::Utf8 : pm::TextEncoding::Windows1252;
  const std::string saved = loaded.save_bytes(loaded.display(), book);
  if (!bytes.empty()) fuzz::check(saved == bytes, "an unedited text is saved as the bytes it was loaded from");

  const std::string shown_1252 = pm::decode_to_utf8(bytes, pm::TextEncoding::Windows1252);
  fuzz::check(pm::is_valid_utf8(shown_1252), "Windows-1252 decodes to valid UTF-8");
  bool ok = false;
  fuzz::check(pm::encode_from_utf8(shown_1252, pm::TextEncoding::Windows1252, &ok) == bytes && ok,
              "Windows-1252 bytes decode and encode back unchanged");

  // An edit: the second part, taken as typed text, goes in front of the middle line. Typed
  // text is UTF-8 with no control character but the line end: bytes from 0x80 up stand
  // for the Windows-1252 characters, DEL for one that Windows-1252 cannot hold.
  std::string typed;
  for (char c : in[1]) {
    const unsigned char u = (unsigned char)c;
    if (u >= 0x80)
      typed += pm::decode_to_utf8(std::string(1, c), pm::TextEncoding::Windows1252);
    else if (u == 0x7f)
      typed += "\xC5\x91";  // o with double acute
    else
      typed += u >= 0x20 || c == '\n' ? c : 'x';
  }
  const std::vector<std::string_view> shown = lines_of(loaded.display());
  std::string edited;
  for (size_t i = 0; i < shown.size(); ++i) {
    if (i) edited += '\n';
    if (i == shown.size() / 2) edited += typed;
    edited += shown[i];
  }
  const std::string after = loaded.save_bytes(edited, book);
  fuzz::check(pm::decode_character_references(pm::LoadedText(after).display()) ==
                  pm::decode_character_references(edited),
              "an edited text reloads as edited (a character the book cannot hold as its reference)");

  // The matcher, with a small edit budget so that its fallback runs too.
  const std::vector<std::string_view> fresh = lines_of(edited);
  const size_t budget = data && size ? data[0] % 8 : 0;
  const std::vector<size_t> kept = pm::match_lines(shown, fresh, budget);
  fuzz::check(kept.size() == fresh.size(), "one match per new line");
  size_t last = 0;
  bool any = false;
  for (size_t j = 0; j < kept.size(); ++j) {
    if (kept[j] == pm::kNoMatch) continue;
    fuzz::check(kept[j] < shown.size() && shown[kept[j]] == fresh[j], "only equal lines are paired");
    fuzz::check(!any || kept[j] > last, "matches keep their order");
    last = kept[j];
    any = true;
  }
  return 0;
}

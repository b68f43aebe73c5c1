// The single-file compile's one-pass rewrites, over pieces that each end with ">" or an LF
// (as the compile's pieces do), against the plain rewrites over the whole document; and the single-file compile of a small book whose room text, before-code,
// after-code and project file are the input.
#include <filesystem>

#include "compiler/single_file.h"
#include "fuzz_support.h"
#include "base/files.h"
#include "base/text.h"

namespace {

// Each ".htm" with a quote after it and a number before it, which follows the same quote or
// "url=", goes and the number gets a "#"; then every CR LF becomes "<br>".
std::string reference(std::string_view s) {
  std::string out;
  size_t pos = 0;
  for (size_t h; (h = s.find(".htm", pos)) != std::string_view::npos;) {
    size_t d = h;
    while (d > 0 && s[d - 1] >= '0' && s[d - 1] <= '9') --d;
    const char q = h + 4 < s.size() ? s[h + 4] : 0;
    const bool room = (q == '"' || q == '\'') && d < h &&
                      ((d > 0 && s[d - 1] == q) || (d >= 4 && pm::iequals(s.substr(d - 4, 4), "url=")));
    out.append(s.substr(pos, d - pos));
    if (room) out += '#';
    out.append(s.substr(d, h - d));
    if (!room) out.append(".htm");
    pos = h + 4;
  }
  out.append(s.substr(pos));
  return pm::replace_all(out, "\r\n", "<br>");
}

void write(const std::filesystem::path& p, std::string_view bytes) {
  fuzz::check(pm::write_file_atomic(p, bytes).ok(), "the scratch book can be written");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The pieces are the input cut at NUL bytes, each but the last taken on to its next ">"
  // or LF; the document is their concatenation.
  const auto parts = fuzz::parts(data, size, 64);
  std::string document, out, piece;
  for (size_t i = 0; i < parts.size(); ++i) {
    piece += parts[i];
    const bool last = i + 1 == parts.size();
    if (!last && (piece.empty() || (piece.back() != '>' && piece.back() != '\n'))) continue;
    document += piece;
    pm::rewrite_single_file_piece(piece, out);
    piece.clear();
  }
  fuzz::check(out == reference(document), "rewrites piece by piece equal the plain replacements");

  // A book of two rooms in a scratch folder.
  const auto in = fuzz::parts(data, size, 4);
  namespace fs = std::filesystem;
  const fs::path book = fuzz::scratch() / "Libro";
  static const bool made = fs::create_directories(book / "Room") || true;
  (void)made;
  write(book / "Libro.dat", in[3]);
  write(book / "Room" / "0", "\"Inizio\"\r\n");
  write(book / "0", in[0]);
  write(book / "1", in[0].substr(in[0].size() / 2));
  write(book / "Global.cod", in[1]);
  write(book / "Global2.cod", in[2]);
  const std::string page = pm::render_single_file(pm::Project(book, "Libro"), {"0", "1", "2"});
  fuzz::check(page.size() >= 2 && page.substr(page.size() - 2) == "\r\n", "the single file ends with CR LF");
  return 0;
}

// The single-file compile's one-pass rewrites, over pieces that each end with ">" or an LF
// (as the compile's pieces do), against the three plain replacements over the whole
// document; and the single-file compile of a small book whose room text, before-code,
// after-code and project file are the input.
#include <filesystem>

#include "compiler/single_file.h"
#include "fuzz_support.h"
#include "project/files.h"
#include "project/text.h"

namespace {

std::string reference(std::string_view document) {
  std::string s = pm::replace_all(document, "<a href=\"", "<a href=\"#");
  s = pm::replace_all(s, ".htm", "");
  return pm::replace_all(s, "\r\n", "<br>");
}

void write(const std::filesystem::path& p, std::string_view bytes) {
  fuzz::check(pm::write_file_atomic(p, bytes), "the scratch book can be written");
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

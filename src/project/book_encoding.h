// A book's one text encoding: which of its files are text the tool reads and writes, and
// the encoding they are in, decided from the files themselves. Everything the tool writes
// into a book is written in that encoding (encode_for_book); readers decode each file, and
// each line, by its own bytes.
#pragma once

#include <string>
#include <vector>

#include "base/files.h"
#include "base/text_codec.h"

namespace pm {

struct BookTextFile {
  std::string name;  // relative to the project folder: "3", "Room/3", "Global.cod", "Libro.dat"
  TextUse use;       // how a character the encoding cannot hold is written there
};

// The book's text files, by kind: the project files (*.dat), the global code (*.cod), the
// style sheets (*.css), the room scripts (*.js), the rooms' text files (names without a
// dot), then the rooms' descriptions in Room; each kind in name order.
std::vector<BookTextFile> book_text_files(const stdfs::path& folder);

// Windows-1252 (what books made on Windows hold, so that a book made here opens there too)
// unless the book's text files hold UTF-8 text beyond ASCII and nothing that is not valid
// UTF-8. A book of plain ASCII, and so a new book, is Windows-1252. Unreadable files count
// for nothing.
TextEncoding book_encoding(const stdfs::path& folder);

// The name the author sees: "Windows-1252" or "UTF-8".
std::string encoding_name(TextEncoding encoding);

// Whether a line's bytes are in `book`'s encoding: plain ASCII always is; otherwise the line
// must be valid UTF-8 for a UTF-8 book and not for a Windows-1252 one.
bool line_is_in(std::string_view line, TextEncoding book);

// The bytes of one of a book's text files in `to`: each line decoded by its own bytes and,
// unless it is in `to` already, written again through encode_for_book (`use`); line ends and
// lines already in `to` keep their bytes. A Windows-1252 file loses the UTF-8 byte-order
// marks it begins with. Converting again changes nothing.
std::string convert_text_file(std::string_view bytes, TextEncoding to, TextUse use);

struct BookConversion {
  std::vector<std::string> changed;  // the files rewritten (book_text_files names)
  std::vector<std::string> errors;   // one message for each file that could not be read or written
};
// Rewrites each of the book's text files whose bytes change by convert_text_file, each on its
// own through the atomic writer: a file that fails stays as it was, and the others go on.
BookConversion convert_book(const stdfs::path& folder, TextEncoding to);

}  // namespace pm

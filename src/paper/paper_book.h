// A book read for paper: its title, author and date, and its rooms in number order, each
// with its text as XHTML (paper_markup.h) and what paper cannot carry of it. The EPUB and
// the PDF and ODT documents are written from this.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/files.h"
#include "base/status.h"

namespace pm {

// How a section is addressed from a link: its own file (an EPUB's s3.xhtml) or an anchor
// in one document (#s3).
enum class PaperLinks { Files, Anchors };

struct PaperRoom {
  std::string name;               // the room's number, as listed
  std::string id;                 // "s" and its place in the book: the section's name
  std::string xhtml;              // its text
  std::vector<std::string> lost;  // what paper cannot carry of it, in Italian
};

struct PaperBook {
  std::string title, author, date;   // UTF-8, from the project file
  std::vector<PaperRoom> rooms;      // the rooms that have a page, in number order
  std::vector<std::string> lost;     // what no room carries: the before- and after-code
  std::vector<std::string> pictures; // the res paths the rooms show, each once
  stdfs::path res;                   // the project's res folder
};

// Called with the rooms read so far and their count.
using PaperProgress = std::function<void(size_t done, size_t total)>;

// Reads the project of `folder`. NotFound / NotAProject as opening it does.
Result<PaperBook> read_paper_book(const stdfs::path& folder, PaperLinks links, const PaperProgress& progress = {});

// What paper cannot carry, one line per room and thing ("stanza 5: un salto a tempo alla
// stanza 7"), the whole book's first.
std::vector<std::string> paper_losses(const PaperBook& book);

// The media type of a picture by its name, or empty when an EPUB cannot hold it.
std::string picture_media_type(std::string_view path);

// The book as one HTML document (anchors for links), for Qt's document writers: a title
// page, then each room headed by its number. With a range, only rooms [first, end), and
// the title page only in the range that starts the book.
std::string paper_book_html(const PaperBook& book);
std::string paper_book_html(const PaperBook& book, size_t first, size_t end);

}  // namespace pm

// The book as a PDF or an ODT document, laid out by Qt's text document (in a library of its
// own, pagimond_qtdoc, the one piece of the paper export that needs Qt Gui). A build
// without Qt Gui (the Windows cross build) writes neither and says so.
#pragma once

#include "base/files.h"
#include "base/status.h"
#include "paper/paper_book.h"

namespace pm {

enum class PaperDocument { Pdf, Odt };
enum class PaperSize { A4, A5 };

// Writes `book` (read with PaperLinks::Anchors) to `file`, atomically. Needs a Qt Gui
// application; when the program has none, one is made for the call (offscreen when there
// is no display). WriteFailed with a message naming the file.
Status write_paper_document(const PaperBook& book, const stdfs::path& file, PaperDocument kind, PaperSize size);

}  // namespace pm

// The book as an EPUB 3: a title page, one section per room in number order headed by its
// number, links between sections, the pictures of res, a navigation document, and the
// title, author and date of the project file. Written through the zip archive writer, the
// mimetype first and stored, as the format asks.
#pragma once

#include <string>
#include <vector>

#include "base/files.h"
#include "base/status.h"
#include "packager/zip_archive.h"
#include "paper/paper_book.h"

namespace pm {

// The archive's entries for `book` (read with PaperLinks::Files); `modified` is the
// dcterms:modified stamp (CCYY-MM-DDThh:mm:ssZ).
std::vector<ArchiveEntry> epub_entries(const PaperBook& book, const std::string& modified);

// The date of the project file ("07/12/2026", day first) as dc:date wants it ("2026-12-07"),
// or empty when it is no such date.
std::string epub_date(std::string_view date);

// Writes `book` to `epub` (atomically). WriteFailed with a message naming the file.
Status write_epub(const PaperBook& book, const stdfs::path& epub);

}  // namespace pm

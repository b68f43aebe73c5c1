// The book check's warnings for text in another encoding than the book's: each of the book's
// text files that holds such a line, at its first one, so that a book made of files in two
// encodings (by earlier versions, or by hand) is found before a reader sees "cittÃ ".
#pragma once

#include "check/book_check.h"
#include "base/files.h"

namespace pm {

// Adds to `r` a warning (FindingKind::OtherEncoding) for each text file of the book in
// `folder` (book_text_files) with a line in another encoding than the book's
// (book_encoding), at its first such line, whose bytes are the finding's text.
void add_encoding_findings(const stdfs::path& folder, CheckResult& r);

}  // namespace pm

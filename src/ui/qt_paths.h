// Conversions between Qt's path texts and the core's paths and file-name bytes, so a file
// name with any characters goes through the windows unchanged.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "project/book_encoding.h"
#include "base/files.h"

namespace pm {

stdfs::path toPath(const QString& path);
QString fromPath(const stdfs::path& path);

// UTF-8 bytes (messages of the core, mark-up it builds) as a QString.
inline QString fromUtf8(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

// A file name or path as the core's bytes (the file system's own encoding) and back.
std::string toNameBytes(const QString& name);
QString fromNameBytes(const std::string& bytes);

// File contents: bytes to display text (UTF-8 or Windows-1252, by the bytes themselves) and
// display text to bytes of a book in `book` (encode_for_book: a character the encoding
// cannot hold becomes a character reference), whatever the bytes it replaces.
QString fromFileText(const std::string& bytes);
std::string toFileText(const QString& text, TextEncoding book);
// The text of a one-line field (a value on a line of its own in a file): a line break
// typed or pasted into it (CR, LF, U+2028, U+2029) becomes a space, so the file's lines
// stay as they are.
QString oneLineText(QString text);

}  // namespace pm

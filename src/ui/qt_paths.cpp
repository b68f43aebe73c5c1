// Path and text conversions between the windows and the core (see qt_paths.h).
#include "ui/qt_paths.h"

#include <QFile>

#include "base/text_codec.h"

namespace pm {

stdfs::path toPath(const QString& path) {
#if defined(_WIN32)
  return stdfs::path(path.toStdWString());
#else
  return stdfs::path(QFile::encodeName(path).toStdString());
#endif
}

QString fromPath(const stdfs::path& path) {
#if defined(_WIN32)
  return QString::fromStdWString(path.wstring());
#else
  return QFile::decodeName(QByteArray::fromStdString(path.string()));
#endif
}

// Names as the core holds them: UTF-8 on Windows (see path_from_text), the file system's
// own bytes elsewhere.
std::string toNameBytes(const QString& name) {
#if defined(_WIN32)
  return name.toStdString();
#else
  return QFile::encodeName(name).toStdString();
#endif
}

QString fromNameBytes(const std::string& bytes) {
#if defined(_WIN32)
  return QString::fromStdString(bytes);
#else
  return QFile::decodeName(QByteArray::fromStdString(bytes));
#endif
}

QString fromFileText(const std::string& bytes) { return QString::fromStdString(decode_for_display(bytes)); }

std::string toFileText(const QString& text, TextEncoding book) {
  return encode_for_book(text.toStdString(), book, TextUse::Html);
}

QString oneLineText(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
  for (const QChar c : {QChar('\r'), QChar('\n'), QChar(QChar::LineSeparator), QChar(QChar::ParagraphSeparator)})
    text.replace(c, QChar(' '));
  return text;
}

}  // namespace pm

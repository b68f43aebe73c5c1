// The book as an EPUB 3 (see epub_export.h).
#include "paper/epub_export.h"

#include <chrono>
#include <cstdio>
#include <ctime>

#include "base/text.h"
#include "paper/paper_markup.h"

namespace pm {

namespace {

constexpr std::string_view kXhtmlHead =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
    "<html xmlns=\"http://www.w3.org/1999/xhtml\" xmlns:epub=\"http://www.idpf.org/2007/ops\" lang=\"it\" "
    "xml:lang=\"it\">\n<head>\n<title>";
constexpr std::string_view kStyle =
    "body { margin: 0 5%; }\n"
    "h1, h2 { text-align: center; }\n"
    "h2 { margin-top: 2em; }\n"
    "p.about { text-align: center; }\n"
    "img { max-width: 100%; }\n";

std::string page(std::string_view title, std::string_view body) {
  std::string out(kXhtmlHead);
  out += xml_escaped(title);
  out += "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"book.css\"/>\n</head>\n<body>\n";
  out += body;
  out += "</body>\n</html>\n";
  return out;
}

// A name-based identifier for the book, in the form of a UUID, the same at every export.
std::string book_uuid(const PaperBook& book) {
  uint64_t h1 = 1469598103934665603ULL, h2 = 1099511628211ULL;
  for (char c : book.title + "\n" + book.author) {
    h1 = (h1 ^ (unsigned char)c) * 1099511628211ULL;
    h2 = (h2 ^ (unsigned char)c) * 14029467366897019727ULL + 1;
  }
  char text[40];
  std::snprintf(text, sizeof text, "%08x-%04x-4%03x-%04x-%012llx", unsigned(h1 >> 32), unsigned(h1 >> 16) & 0xFFFF,
                unsigned(h1) & 0xFFF, (unsigned(h2 >> 48) & 0x3FFF) | 0x8000,
                (unsigned long long)(h2 & 0xFFFFFFFFFFFFULL));
  return text;
}

std::string now_stamp() {
  const std::time_t t = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm utc{};
#if defined(_WIN32)
  gmtime_s(&utc, &t);
#else
  gmtime_r(&t, &utc);
#endif
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

}  // namespace

std::string epub_date(std::string_view date) {
  int d = 0, m = 0, y = 0;
  char tail = 0;
  const std::string text(trim_blanks(date));
  if (std::sscanf(text.c_str(), "%2d/%2d/%4d%c", &d, &m, &y, &tail) != 3 &&
      std::sscanf(text.c_str(), "%2d.%2d.%4d%c", &d, &m, &y, &tail) != 3 &&
      std::sscanf(text.c_str(), "%2d-%2d-%4d%c", &d, &m, &y, &tail) != 3)
    return {};
  if (d < 1 || d > 31 || m < 1 || m > 12 || y < 1000) return {};
  char out[32];
  std::snprintf(out, sizeof out, "%04d-%02d-%02d", y, m, d);
  return out;
}

std::vector<ArchiveEntry> epub_entries(const PaperBook& book, const std::string& modified) {
  std::vector<ArchiveEntry> entries;
  auto add = [&](std::string name, std::string bytes) {
    ArchiveEntry e;
    e.name = std::move(name);
    e.bytes = std::move(bytes);
    entries.push_back(std::move(e));
  };
  add("mimetype", "application/epub+zip");
  entries.back().stored = true;
  add("META-INF/container.xml",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<container version=\"1.0\" xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\">\n"
      "<rootfiles><rootfile full-path=\"OEBPS/content.opf\" media-type=\"application/oebps-package+xml\"/></rootfiles>\n"
      "</container>\n");

  std::string manifest =
      "<item id=\"nav\" href=\"nav.xhtml\" media-type=\"application/xhtml+xml\" properties=\"nav\"/>\n"
      "<item id=\"css\" href=\"book.css\" media-type=\"text/css\"/>\n"
      "<item id=\"title\" href=\"title.xhtml\" media-type=\"application/xhtml+xml\"/>\n";
  std::string spine = "<itemref idref=\"title\"/>\n";
  std::string toc;
  for (const auto& r : book.rooms) {
    manifest += "<item id=\"" + r.id + "\" href=\"" + r.id + ".xhtml\" media-type=\"application/xhtml+xml\"/>\n";
    spine += "<itemref idref=\"" + r.id + "\"/>\n";
    toc += "<li><a href=\"" + r.id + ".xhtml\">" + xml_escaped(r.name) + "</a></li>\n";
  }
  for (size_t k = 0; k < book.pictures.size(); ++k)
    manifest += "<item id=\"p" + std::to_string(k) + "\" href=\"res/" + xml_escaped(book.pictures[k]) +
                "\" media-type=\"" + picture_media_type(book.pictures[k]) + "\"/>\n";

  std::string metadata = "<dc:identifier id=\"bookid\">urn:uuid:" + book_uuid(book) + "</dc:identifier>\n";
  metadata += "<dc:title>" + xml_escaped(book.title) + "</dc:title>\n<dc:language>it</dc:language>\n";
  if (!book.author.empty()) metadata += "<dc:creator>" + xml_escaped(book.author) + "</dc:creator>\n";
  if (const std::string date = epub_date(book.date); !date.empty()) metadata += "<dc:date>" + date + "</dc:date>\n";
  metadata += "<meta property=\"dcterms:modified\">" + modified + "</meta>\n";
  add("OEBPS/content.opf",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<package xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\" unique-identifier=\"bookid\" xml:lang=\"it\">\n"
      "<metadata xmlns:dc=\"http://purl.org/dc/elements/1.1/\">\n" +
          metadata + "</metadata>\n<manifest>\n" + manifest + "</manifest>\n<spine>\n" + spine +
          "</spine>\n</package>\n");
  add("OEBPS/book.css", std::string(kStyle));
  add("OEBPS/nav.xhtml", page(book.title, "<nav epub:type=\"toc\" id=\"toc\">\n<h1>" + xml_escaped(book.title) +
                                              "</h1>\n<ol>\n<li><a href=\"title.xhtml\">" + xml_escaped(book.title) +
                                              "</a></li>\n" + toc + "</ol>\n</nav>\n"));
  std::string about = "<h1>" + xml_escaped(book.title) + "</h1>\n";
  if (!book.author.empty()) about += "<p class=\"about\">" + xml_escaped(book.author) + "</p>\n";
  if (!book.date.empty()) about += "<p class=\"about\">" + xml_escaped(book.date) + "</p>\n";
  add("OEBPS/title.xhtml", page(book.title, about));
  for (const auto& r : book.rooms)
    add("OEBPS/" + r.id + ".xhtml",
        page(r.name, "<section id=\"" + r.id + "\">\n<h2>" + xml_escaped(r.name) + "</h2>\n" + r.xhtml + "</section>\n"));
  for (const auto& p : book.pictures) {
    ArchiveEntry e;
    e.name = "OEBPS/res/" + p;
    e.source = book.res / path_from_text(p);
    entries.push_back(std::move(e));
  }
  return entries;
}

Status write_epub(const PaperBook& book, const stdfs::path& epub) {
  return write_zip_archive(epub, epub_entries(book, now_stamp()));
}

}  // namespace pm

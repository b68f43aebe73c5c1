// The book for paper: room text turned into XHTML (what paper cannot carry named), the
// sample book as an EPUB with its mimetype first and stored, clean under epubcheck when it
// is installed, and the CLI's export of EPUB, PDF (its room numbers read back in order by
// pdftotext when installed) and ODT (every section in its content.xml).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "paper/epub_export.h"
#include "paper/paper_book.h"
#include "paper/paper_markup.h"
#include "support/run_program.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
namespace fs = std::filesystem;

const fs::path kSample = fs::path(PAGIMOND_SOURCE_DIR) / "app/Projects/Il Ponte sul Fiume";

struct Case {
  std::string text, xhtml;
  std::vector<std::string> lost;
};

TEST(PaperMarkup, RoomTextBecomesWellFormedXhtmlAndLossesAreNamed) {
  pm::PaperMarkupRules rules;
  rules.room_href = [](std::string_view room) -> std::optional<std::string> {
    if (room == "12") return std::string("s3.xhtml");
    return std::nullopt;
  };
  rules.picture = [](std::string_view path) { return path == "ponte.png"; };
  const std::vector<Case> cases = {
      {"Ciao\r\n\r\n<b>grassetto\r\ncontinua</b>\r\n", "<p>Ciao</p>\n<p><b>grassetto<br/>continua</b></p>\n", {}},
      {"&egrave; &laquo;x&raquo; &#8364; &#0; &bogus; a < b & c", "<p>\xC3\xA8 \xC2\xABx\xC2\xBB \xE2\x82\xAC &amp;#0; &amp;bogus; a &lt; b &amp; c</p>\n", {}},
      {"<a href=\"12.htm\">Vai</a> <A HREF='99.htm'>No</A> <a href='javascript:history.back()'><--</a>",
       "<p><a href=\"s3.xhtml\">Vai</a> (vai al 12) No </p>\n",
       {"un collegamento alla stanza 99, che non ha pagina", "un collegamento indietro"}},
      {"x<script>var a = '<b>';</script>\r\n<meta http-equiv='refresh' content='5; url=7.htm'>\r\n<bgsound src=res/a.mid>",
       "<p>x</p>\n", {"uno script", "un salto a tempo alla stanza 7", "un suono o un filmato (bgsound)"}},
      {"<font color=red>rosso</font> <span>s</span> <b><i>x</b> y</i>", "<p>rosso s <b><i>x</i></b> y</p>\n", {}},
      {"<lang=html>\r\n<html><head><title>T</title></head><body><h1>Vinto</h1>\r\n<p>Fine</p></body></html>",
       "<p><strong>Vinto</strong></p>\n<p>Fine</p>\n", {}},
      {"<img src='res/ponte.png'><img src=\"res/nope.bmp\">", "<p><img src=\"res/ponte.png\" alt=\"\"/></p>\n",
       {"l'immagine res/nope.bmp"}},
      {"<b>uno\r\n\r\ndue</b> tre", "<p><b>uno</b></p>\n<p><b>due</b> tre</p>\n", {}},
      {"<a href=12.htm>12</a>, <a href=12.htm><b>vai al 12</b></a>, <a href=12.htm>x112</a>",
       "<p><a href=\"s3.xhtml\">12</a>, <a href=\"s3.xhtml\"><b>vai al 12</b></a>, <a href=\"s3.xhtml\">x112</a> (vai al 12)</p>\n", {}},
  };
  for (const auto& c : cases) {
    const pm::PaperMarkup m = pm::paper_markup(c.text, rules);
    EXPECT_EQ(m.xhtml, c.xhtml) << c.text;
    EXPECT_EQ(m.lost, c.lost) << c.text;
  }
}

TEST(PaperBook, TheSampleBookInNumberOrderWithItsLossesAndDate) {
  auto book = pm::read_paper_book(kSample, pm::PaperLinks::Files);
  ASSERT_TRUE(book.ok()) << book.status().message();
  std::vector<std::string> names;
  for (const auto& r : book->rooms) names.push_back(r.name);
  EXPECT_EQ(names, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13"}));
  EXPECT_EQ(book->pictures, (std::vector<std::string>{"ponte.png"}));
  const auto losses = pm::paper_losses(*book);
  for (const char* line : {"tutto il libro: il codice prima di ogni stanza (Global.cod)", "stanza 3: uno script",
                           "stanza 3: un collegamento indietro", "stanza 5: un salto a tempo alla stanza 7",
                           "stanza 13: lo script 13.js"})
    EXPECT_NE(std::find(losses.begin(), losses.end(), line), losses.end()) << line;
  EXPECT_EQ(pm::epub_date(book->date), "2026-12-07");
  EXPECT_EQ(pm::epub_date("domani"), "");
  EXPECT_EQ(pm::epub_date("31/13/2026"), "");
}

TEST(PaperBook, EpubHasItsMimetypeFirstStoredAndPassesEpubcheck) {
  TempDir t;
  auto book = pm::read_paper_book(kSample, pm::PaperLinks::Files);
  ASSERT_TRUE(book.ok());
  const fs::path epub = t / "libro.epub";
  const pm::Status written = pm::write_epub(*book, epub);
#if !defined(PAGIMOND_HAVE_LIBZIP)
  GTEST_SKIP() << "no libzip in this build: " << written.message();
#endif
  ASSERT_TRUE(written.ok()) << written.message();
  const std::string bytes = read_bytes(epub);
  // The first local header: no compression (method 0), name "mimetype", no extra field.
  ASSERT_GT(bytes.size(), 58u);
  EXPECT_EQ(bytes.substr(0, 4), std::string("PK\x03\x04", 4));
  EXPECT_EQ(bytes.substr(8, 2), std::string("\0\0", 2));
  EXPECT_EQ(bytes.substr(26, 4), std::string("\x08\0\0\0", 4));
  EXPECT_EQ(bytes.substr(30, 28), "mimetypeapplication/epub+zip");
  // Debian's epubcheck is a jar: run through java, as its command needs the jar launcher.
  const char* jar = "/usr/share/java/epubcheck.jar";
  const bool by_java = fs::exists(jar) && std::system("command -v java >/dev/null 2>&1") == 0;
  if (!by_java && std::system("command -v epubcheck >/dev/null 2>&1") != 0) GTEST_SKIP() << "epubcheck is not installed";
  const int status = by_java ? pmtest::run_program("java", {"-jar", jar, epub.string()}, {}, (t / "out").string(),
                                                   (t / "err").string())
                             : pmtest::run_program("epubcheck", {epub.string()}, {}, (t / "out").string(),
                                                   (t / "err").string());
  const std::string said = read_bytes(t / "out") + read_bytes(t / "err");
  EXPECT_EQ(status, 0) << said;
  EXPECT_EQ(said.find("WARNING"), std::string::npos) << said;
  EXPECT_EQ(said.find("ERROR"), std::string::npos) << said;
}

#if defined(PAGIMOND_CLI)
// pagimond-cli export as a process: EPUB, PDF and ODT of the sample book, and wrong formats.
TEST(PaperExportCli, EpubPdfAndOdtOfTheSampleBook) {
  TempDir t;
  auto run = [&](const std::vector<std::string>& args) {
    return pmtest::run_program(PAGIMOND_CLI, args, {"QT_QPA_PLATFORM=offscreen"}, (t / "out").string(),
                               (t / "err").string());
  };
  EXPECT_EQ(run({"export", kSample.string(), "--format", "docx"}), 2);
  EXPECT_EQ(run({"export", (t / "nessuno").string(), "--format", "epub"}), 1);
  EXPECT_EQ(read_bytes(t / "err").find("no such project folder"), 14u) << read_bytes(t / "err");

#if defined(PAGIMOND_HAVE_LIBZIP)
  ASSERT_EQ(run({"export", kSample.string(), "--format", "epub", "--out", (t / "b.epub").string()}), 0);
  EXPECT_EQ(read_bytes(t / "out"), (t / "b.epub").string() + "\n");
  EXPECT_NE(read_bytes(t / "err").find("pagimond-cli: not on paper: stanza 5: un salto a tempo alla stanza 7\n"),
            std::string::npos);
#endif

  const int pdf = run({"export", kSample.string(), "--format", "pdf", "--page", "A4", "--out", (t / "b.pdf").string()});
  if (pdf == 1 && read_bytes(t / "err").find("manca Qt Gui") != std::string::npos) GTEST_SKIP() << "no Qt Gui";
  ASSERT_EQ(pdf, 0) << read_bytes(t / "err");
  EXPECT_EQ(read_bytes(t / "b.pdf").substr(0, 5), "%PDF-");
  if (std::system("command -v pdftotext >/dev/null 2>&1") == 0) {
    ASSERT_EQ(pmtest::run_program("pdftotext", {(t / "b.pdf").string(), (t / "b.txt").string()}, {}, (t / "o").string(),
                                  (t / "e").string()),
              0);
    // Every room number, alone on its line as a heading, in number order.
    std::string text = read_bytes(t / "b.txt");
    std::replace(text.begin(), text.end(), '\f', '\n');  // a page's end
    size_t at = 0;
    for (int room = 0; room <= 13; ++room) {
      const std::string heading = "\n" + std::to_string(room) + "\n";
      at = text.find(heading, at);
      ASSERT_NE(at, std::string::npos) << "room " << room << " in:\n" << text;
    }
  }

  ASSERT_EQ(run({"export", kSample.string(), "--format", "odt", "--out", (t / "b.odt").string()}), 0) << read_bytes(t / "err");
  ASSERT_EQ(pmtest::run_program("unzip", {"-p", (t / "b.odt").string(), "content.xml"}, {}, (t / "content.xml").string(),
                                (t / "e").string()),
            0);
  const std::string content = read_bytes(t / "content.xml");
  for (const char* words : {"Il crocevia sul fiume", "La locanda del Pesce", "Dall", "Il ponte di pietra", "La torre sull"})
    EXPECT_NE(content.find(words), std::string::npos) << words;
}
#endif

}  // namespace

// The single-file compile: the whole book as one page of anchored sections, with links
// rewritten into jumps and line breaks into break tags.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "compiler/single_file.h"
#include "project/text.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

std::string repeat(std::string_view s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

const std::string kHead =
    "<html><head><title>Prova by Io -  - </title>"
    "<link href='adv.css' media='all' rel='stylesheet' type='text/css'></head><body><div align='center'>"
    "<center><table width='100%'><tr><td class='adventure' width='100%'>";
const std::string kTail =
    "</td></tr></table></center></div><script language='javascript'> function noRightClick() { if "
    "(event.button==2) { alert('') } }document.onmousedown=noRightClick </script></body></html>\r\n";
const std::string kGap = repeat("<br>", 60);

class SingleFile : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path book = dir / "Libro";
  pm::Project project{book, "Libro"};
  void write(const std::string& rel, std::string_view bytes) { write_bytes(book / rel, bytes); }
  void fields(std::string_view skip) {
    write("Libro.dat", "\"Libro\",\"Prova\",\"\",\"Io\",\"\",\"\",\"100%\",,," + std::string(skip) + "\r\n");
  }
};

TEST_F(SingleFile, WholeDocument) {
  fields("0");
  write("Global.cod", "G1\r\nG2\r\n");
  write("Global2.cod", "H1\r\nH2\r\n");
  write("0", "Vai <a href=\"1.htm\">avanti</a>\r\n");
  write("1", "Fine\n");
  EXPECT_EQ(pm::render_single_file(project, {"0", "1"}),
            kHead + "<center><br><br>Titolo: <br><b>Prova</b><br><br>Autore: <br>Io<br><br>"
                    "<a href='#0'>Continua</a><br><br><br><br>" +
                pm::credit_line() + "</center>" + kGap +  //
                "<a name=\"0\"></a>G1<br>G2<br>Vai <a href=\"#1\">avanti</a><br>H1H2" + kGap +
                "<a name=\"1\"></a>G1<br>G2<br>Fine<br>H1H2" + kGap + kTail);
}

TEST_F(SingleFile, StartBlockAndEmptyBooks) {
  fields("0");
  write("Libro.dat", "\"Libro\",\"\",\"d\",\"\",\"s\",\"e\",\"100%\"\r\n");
  EXPECT_EQ(pm::render_single_file(project, {}),
            "<html><head><title> by  - s - e</title>" + kHead.substr(kHead.find("<link")) +
                "<center><br><br>Data: <br>d<br><br>Sito Web: <br>s<br><br>Email: <br>e<br><br>"
                "<a href='#0'>Continua</a><br><br><br><br>" +
                pm::credit_line() + "</center>" + kGap + kTail);
  // Skipped start block: the first room's anchor follows the table cell at once.
  fields("1");
  write("0", "x");
  EXPECT_EQ(pm::render_single_file(project, {"0"}), kHead + "<a name=\"0\"></a>x<br>" + kGap + kTail);
  EXPECT_EQ(pm::render_single_file(project, {}), kHead + kTail);
  // No project file: empty fields, empty width.
  fs::remove(book / "Libro.dat");
  EXPECT_EQ(pm::render_single_file(project, {}).substr(0, 60),
            "<html><head><title> by  -  - </title><link href='adv.css' me");
}

TEST_F(SingleFile, RoomLinesAndRewrites) {
  fields("1");
  auto section = [&](std::string_view text) {
    write("0", text);
    std::string doc = pm::render_single_file(project, {"0"});
    size_t start = kHead.size() + std::string("<a name=\"0\"></a>").size();
    return doc.substr(start, doc.size() - start - kGap.size() - kTail.size());
  };
  EXPECT_EQ(section("  a   b  \r\n"), "a&nbsp;&nbsp; b<br>");
  // Timed jumps are dropped in any case; directives are ordinary lines.
  EXPECT_EQ(section("<META http-equiv='refresh'>\r\n<meta x>\r\n<met\r\n<lang=html>\r\n<vcode=no>a"),
            "<met<br><lang=html><br><vcode=no>a<br>");
  // Single-quoted links only lose ".htm"; every other ".htm" goes too.
  EXPECT_EQ(section("<a href='3.htm'>indietro</a> http://x/p.html"),
            "<a href='3'>indietro</a> http://x/pl<br>");
  EXPECT_EQ(section("<a href=\"12.htm\">a</a><a href=\"x\">"), "<a href=\"#12\">a</a><a href=\"#x\"><br>");
  // The rewrites run in order over the whole document: a link opening that only appears
  // once ".htm" is gone gets no "#"; patterns joined from after-code lines are found.
  EXPECT_EQ(section("<a hr.htmef=\"3.htm\">"), "<a href=\"3\"><br>");
  write("Global2.cod", "x<a hr\r\nef=\"1.h\r\ntm\">y\r\n");
  EXPECT_EQ(section("z"), "z<br>x<a href=\"#1\">y");
  fs::remove(book / "Global2.cod");
  // Line ends of any kind become break tags; bytes pass through.
  EXPECT_EQ(section("uno\rdue\ncaff\xE8\r\n"), "uno<br>due<br>caff\xE8<br>");
}

// Left to right, without rescanning what was written.
std::string replace_every(const std::string& s, const std::string& from, const std::string& to) {
  std::string out;
  size_t pos = 0;
  for (size_t hit; (hit = s.find(from, pos)) != std::string::npos; pos = hit + from.size())
    out += s.substr(pos, hit - pos) + to;
  return out + s.substr(pos);
}

TEST_F(SingleFile, RewritesMatchThreePassesOverTheWholeBuffer) {
  // The straightforward build: the whole document in one buffer, then the three rewrites over
  // all of it. Pieces of patterns meet across after-code lines (joined without breaks),
  // across removed ".htm"s and in the title's fields; some books have more rooms than the
  // compile reads ahead, some rooms no text file.
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {"<a href=\"", "<a hr", "ef=\"", ".htm", ".h",  "tm",    ".",      "<",
                                           "\"",          "x",     " ",     "  ",   "a",   "\r\n",  "\r",     "\n",
                                           "#",           ">",     "<meta", "<META ", "\r.htm\n"};
  auto random_text = [&](int most) {
    std::string t;
    for (int i = rng() % (most + 1); i > 0; --i) t += pieces[rng() % pieces.size()];
    return t;
  };
  auto one_line = [](std::string t) {
    std::erase(t, '\r');
    std::erase(t, '\n');
    std::erase(t, '"');
    std::erase(t, ',');
    return t;
  };
  for (int round = 0; round < 120; ++round) {
    const std::string title = one_line(random_text(4)), date = one_line(random_text(2));
    write("Libro.dat", "\"Libro\",\"" + title + "\",\"" + date + "\",\"Io\",\"\",\"\",\"100%\",,," +
                           (rng() % 2 ? "1" : "0") + "\r\n");
    const pm::ProjectFields f = project.read_fields();
    const std::string before = random_text(4), after = random_text(6);
    write("Global.cod", before);
    write("Global2.cod", after);

    std::string raw;
    pm::append_page_head(raw, f, pm::PageStyle::Classic, "");
    if (!f.skip_start_page()) {
      raw += "<center><br><br>";
      if (!f.title().empty()) raw += "Titolo: <br><b>" + f.title() + "</b><br><br>";
      if (!f.date().empty()) raw += "Data: <br>" + f.date() + "<br><br>";
      raw += "Autore: <br>Io<br><br><a href='#0'>Continua</a><br><br><br><br>" + pm::credit_line() + "</center>" +
             repeat("\r\n", 60);
    }
    std::vector<std::string> rooms;
    const int count = round % 100 == 0 ? 300 : int(rng() % 5);
    for (int r = 0; r < count; ++r) {
      const std::string n = std::to_string(r);
      rooms.push_back(n);
      std::string text = random_text(10);
      if (rng() % 8 == 0) {
        fs::remove(book / n);
        text.clear();
      } else {
        write(n, text);
      }
      raw += "<a name=\"" + n + "\"></a>";
      for (const auto& line : pm::split_lines(before)) raw += line + "\r\n";
      for (const auto& line : pm::split_lines(text)) {
        const std::string l(pm::trim_blanks(line));
        if (!pm::istarts_with(l, "<meta")) raw += replace_every(l, "  ", "&nbsp;&nbsp;") + "\r\n";
      }
      for (const auto& line : pm::split_lines(after)) raw += line;
      raw += repeat("\r\n", 60);
    }
    raw += kTail.substr(0, kTail.size() - 2);
    raw = replace_every(replace_every(replace_every(raw, "<a href=\"", "<a href=\"#"), ".htm", ""), "\r\n", "<br>");
    ASSERT_EQ(pm::render_single_file(project, rooms), raw + "\r\n")
        << "round " << round << " title [" << title << "] before [" << before << "] after [" << after << "]";
  }
}

TEST(SingleFileRewrites, OnePassMatchesTheThreeReplacementsInTurn) {
  // Any bytes, lone CRs and LFs and ".htm"s between a CR and an LF included.
  std::mt19937 rng(11);
  const std::vector<std::string> pieces = {"<a href=\"", "<a hr", "ef=\"", ".htm", ".h", "tm", ".", "<", "\"", "x",
                                           "\r",          "\n",    "\r\n",  "#",    ">",  "a",  ".ht"};
  for (int round = 0; round < 20000; ++round) {
    std::string raw;
    for (int i = rng() % 16; i > 0; --i) raw += pieces[rng() % pieces.size()];
    std::string fast = "kept";
    pm::rewrite_single_file_piece(raw, fast);
    ASSERT_EQ(fast, "kept" + replace_every(replace_every(replace_every(raw, "<a href=\"", "<a href=\"#"), ".htm", ""),
                                           "\r\n", "<br>"))
        << "[" << raw << "]";
  }
}

TEST_F(SingleFile, CompileWritesIndexIntoAnEmptiedOutput) {
  fields("1");
  write("0", "x");
  write("ADV.CSS", "css");
  write("0.js", "js");
  write("RES/a.png", "png");
  fs::path out = dir / "Output";
  write_bytes(out / "5.htm", "old");
  write_bytes(out / "vecchio/x", "old");
  auto report = pm::compile_single_file(project, {"0"}, out);
  EXPECT_TRUE(report.ok());
  EXPECT_EQ(read_bytes(out / "index.htm"), pm::render_single_file(project, {"0"}));
  EXPECT_EQ(read_bytes(out / "adv.css"), "css");
  EXPECT_EQ(read_bytes(out / "0.js"), "js");
  EXPECT_EQ(read_bytes(out / "res/a.png"), "png");
  EXPECT_FALSE(fs::exists(out / "5.htm"));
  EXPECT_FALSE(fs::exists(out / "vecchio"));
}

}  // namespace

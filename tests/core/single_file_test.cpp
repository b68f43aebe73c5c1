// The single-file compile: the whole book as one page of anchored sections, with links
// rewritten into jumps and line breaks into break tags.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "compiler/single_file.h"
#include "base/text.h"
#include "support/replace_every.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pmtest::replace_every;
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
                "<a name=\"0\"></a>G1<br>G2<br>Vai <a href=\"#1\">avanti</a><br>H1\nH2" + kGap +
                "<a name=\"1\"></a>G1<br>G2<br>Fine<br>H1\nH2" + kGap + kTail);
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
  const struct {
    std::string_view text, section;
  } cases[] = {
      {"  a   b  \r\n", "a&nbsp;&nbsp; b<br>"},
      // Timed jumps are left out, the rest of their line stays; directives are ordinary lines.
      {"<META http-equiv='refresh'>\r\n<meta x>\r\n<met\r\n<lang=html>\r\n<vcode=no>a",
       "<met<br><lang=html><br><vcode=no>a<br>"},
      {"<meta http-equiv='refresh' content='10; url=5.htm'>Hai dieci secondi: <a href=\"1.htm\">salta il fosso</a>",
       "Hai dieci secondi: <a href=\"#1\">salta il fosso</a><br>"},
      {"Via <meta a='>'>  <meta b> ora", "Via &nbsp;&nbsp; ora<br>"},
      {"<meta a> <meta b>\r\n\r\n<meta c", "<br>"},
      // Room links in either quotes become jumps; every other address and name stays.
      {"<a href='3.htm'>indietro</a> http://x/p.html", "<a href='#3'>indietro</a> http://x/p.html<br>"},
      {"<a href=\"12.htm\">a</a><a href=\"x\">", "<a href=\"#12\">a</a><a href=\"x\"><br>"},
      {"<a href=\"https://example.org/regole.html\">r</a><img src=\"foto.htm.jpg\">",
       "<a href=\"https://example.org/regole.html\">r</a><img src=\"foto.htm.jpg\"><br>"},
      {"<a href='mailto:a@b.it'>m</a><a href=\"res/3.htm\">x</a><a href=\"3.htm'>y</a>\"4.html\"",
       "<a href='mailto:a@b.it'>m</a><a href=\"res/3.htm\">x</a><a href=\"3.htm'>y</a>\"4.html\"<br>"},
      {"<a href=\"3.htm\">a</a>.htm\" b.htm' c 3.htm", "<a href=\"#3\">a</a>.htm\" b.htm' c 3.htm<br>"},
      // Line ends of any kind become break tags; bytes pass through.
      {"uno\rdue\ncaff\xE8\r\n", "uno<br>due<br>caff\xE8<br>"},
  };
  for (const auto& c : cases) EXPECT_EQ(section(c.text), c.section) << c.text;
  // Timed jumps in the global code become jumps to anchors; the after-code keeps its lines.
  write("Global2.cod", "<meta http-equiv='refresh' content='3; URL=2.htm'>\r\nvar a = 1\r\nvar b = 2\r\n");
  EXPECT_EQ(section("z"), "z<br><meta http-equiv='refresh' content='3; URL=#2'>\nvar a = 1\nvar b = 2");
  fs::remove(book / "Global2.cod");
}

// The document's rewrites the plain way: each ".htm" with a quote after it and a number before
// it, which follows the same quote or "url=", goes and the number gets a "#"; then every
// CR LF becomes "<br>".
std::string rewrite_plainly(const std::string& s) {
  std::string out;
  size_t pos = 0;
  for (size_t h; (h = s.find(".htm", pos)) != std::string::npos;) {
    size_t d = h;
    while (d > 0 && std::isdigit(static_cast<unsigned char>(s[d - 1]))) --d;
    const char q = h + 4 < s.size() ? s[h + 4] : 0;
    const bool quoted = q == '"' || q == '\'';
    const bool room = quoted && d < h && d >= pos &&
                      ((d > 0 && s[d - 1] == q) || (d >= 4 && pm::iequals(s.substr(d - 4, 4), "url=")));
    out += room ? s.substr(pos, d - pos) + "#" + s.substr(d, h - d) : s.substr(pos, h + 4 - pos);
    pos = h + 4;
  }
  return replace_every(out + s.substr(pos), "\r\n", "<br>");
}

// A room line as the document holds it: blanks trimmed, pairs of them made "&nbsp;&nbsp;",
// tags that begin with "<meta" left out (a ">" between quotes does not end one); nothing when
// only blank space is left of a line that held such a tag.
std::optional<std::string> room_line(std::string_view line) {
  std::string l = replace_every(std::string(pm::trim_blanks(line)), "  ", "&nbsp;&nbsp;");
  std::string out;
  bool left_out = false;
  for (size_t i = 0; i < l.size();) {
    if (!pm::istarts_with(std::string_view(l).substr(i), "<meta")) {
      out += l[i++];
      continue;
    }
    left_out = true;
    char quote = 0;
    for (++i; i < l.size(); ++i) {
      if (quote) {
        if (l[i] == quote) quote = 0;
      } else if (l[i] == '"' || l[i] == '\'') {
        quote = l[i];
      } else if (l[i] == '>') {
        ++i;
        break;
      }
    }
  }
  if (left_out && replace_every(replace_every(out, "&nbsp;", ""), " ", "").empty()) return std::nullopt;
  return out;
}

TEST_F(SingleFile, RewritesMatchThePlainRewritesOverTheWholeBuffer) {
  // The straightforward build: the whole document in one buffer, then the rewrites over all
  // of it. Room links stand in the title's fields and the global code too; some books have
  // more rooms than the compile reads ahead, some rooms no text file.
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {"<a href=\"", "'",      "3",    ".htm",   "url=", "URL=",    "12", ".",
                                           "<",           "\"",     "x",    " ",      "  ",   "a",       "\r\n", "\r",
                                           "\n",          "#",      ">",    "<meta ", "<META ", "<meta x>", "\r.htm\n"};
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
      for (const auto& line : pm::split_lines(text))
        if (const auto l = room_line(line)) raw += *l + "\r\n";
      const auto after_lines = pm::split_lines(after);
      for (size_t i = 0; i < after_lines.size(); ++i) raw += (i ? "\n" : "") + after_lines[i];
      raw += repeat("\r\n", 60);
    }
    raw += kTail.substr(0, kTail.size() - 2);
    ASSERT_EQ(pm::render_single_file(project, rooms), rewrite_plainly(raw) + "\r\n")
        << "round " << round << " title [" << title << "] before [" << before << "] after [" << after << "]";
  }
}

TEST_F(SingleFile, BooksWithoutRoomLinksInApostrophesOrTimersAmongTextCompileAsBefore) {
  // Double-quoted room links, timers on lines of their own, other text without ".htm" and an
  // after-code of one line: the page is the earlier three replacements over the document.
  std::mt19937 rng(3);
  const std::vector<std::string> pieces = {"<a href=\"3.htm\">", "</a>", "citt\xE0", "x", " ", "  ", "\r\n",
                                           "<b>", "'", "\"", "#", "."};
  fields("0");
  for (int round = 0; round < 60; ++round) {
    std::string before, text[2];
    for (int i = int(rng() % 6); i > 0; --i) before += pieces[rng() % pieces.size()];
    for (auto& t : text)
      for (int i = int(rng() % 12); i > 0; --i)
        t += rng() % 6 ? pieces[rng() % pieces.size()] : "\r\n<meta http-equiv='refresh' content='3; url=1.htm'>\r\n";
    const std::string after = "<a href=\"0.htm\">" + std::to_string(round) + "</a>";
    write("Global.cod", before);
    write("Global2.cod", after + "\r\n");
    std::string raw;
    pm::append_page_head(raw, project.read_fields(), pm::PageStyle::Classic, "");
    raw += "<center><br><br>Titolo: <br><b>Prova</b><br><br>Autore: <br>Io<br><br><a href='#0'>Continua</a><br><br><br><br>" +
           pm::credit_line() + "</center>" + repeat("\r\n", 60);
    for (int r = 0; r < 2; ++r) {
      write(std::to_string(r), text[r]);
      raw += "<a name=\"" + std::to_string(r) + "\"></a>";
      for (const auto& line : pm::split_lines(before)) raw += line + "\r\n";
      for (const auto& line : pm::split_lines(text[r])) {
        const std::string l(pm::trim_blanks(line));
        if (!pm::istarts_with(l, "<meta")) raw += replace_every(l, "  ", "&nbsp;&nbsp;") + "\r\n";
      }
      raw += after + repeat("\r\n", 60);
    }
    raw += kTail.substr(0, kTail.size() - 2);
    raw = replace_every(replace_every(replace_every(raw, "<a href=\"", "<a href=\"#"), ".htm", ""), "\r\n", "<br>");
    ASSERT_EQ(pm::render_single_file(project, {"0", "1"}), raw + "\r\n") << "round " << round;
  }
}

TEST(SingleFileRewrites, OnePassMatchesThePlainRewrites) {
  // Any bytes, lone CRs and LFs and ".htm"s between a CR and an LF included.
  std::mt19937 rng(11);
  const std::vector<std::string> pieces = {"<a href=\"", "'", "url=", "Url=", ".htm", ".h", "tm", ".", "<", "\"", "x",
                                           "\r",          "\n", "\r\n", "#",    "4",    "56", ">",  "a", ".ht"};
  for (int round = 0; round < 20000; ++round) {
    std::string raw;
    for (int i = rng() % 16; i > 0; --i) raw += pieces[rng() % pieces.size()];
    std::string fast = "kept'";
    pm::rewrite_single_file_piece(raw, fast);
    ASSERT_EQ(fast, "kept'" + rewrite_plainly(raw)) << "[" << raw << "]";
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

// The book check: the roads read from a room text, the ending marks, and every finding on
// a small book made for it, with a clean book and the sample book that have none.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "check/book_check.h"
#include "check/link_graph.h"
#include "editor/link_markup.h"
#include "support/temp_dir.h"

namespace {

using pm::FindingKind;
using pm::RoadKind;
using pm::Severity;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

std::vector<pm::Road> roads_of(std::string_view text) {
  std::vector<pm::Road> out;
  pm::scan_roads(text, out);
  return out;
}

TEST(RoadScan, ReadsEveryKindOfRoadAsBrowsersReadTags) {
  struct Case {
    std::string text;
    RoadKind kind;
    std::string target;
  };
  const std::vector<Case> cases = {
      {"<a href=\"12.htm\">Vai</a>", RoadKind::Link, "12"},
      {"<a href='12.htm'>Vai</a>", RoadKind::Link, "12"},
      {"<A HREF = '12.HTM'>Vai</A>", RoadKind::Link, "12"},
      {"<a class=x href=12.htm>Vai</a>", RoadKind::Link, "12"},
      {"<a href=\"./7.htm#cima\">", RoadKind::Link, "7"},
      {"<meta http-equiv='refresh' content='5; url=7.htm'>", RoadKind::TimedJump, "7"},
      {"<META HTTP-EQUIV=\"Refresh\" CONTENT=\"0;URL='7.HTM'\">", RoadKind::TimedJump, "7"},
      {"<a href=\"javascript:history.back()\">Indietro</a>", RoadKind::BackLink, ""},
      {"<meta http-equiv='refresh' content='3; url=javascript:history.back()'>", RoadKind::BackLink, ""},
      {"<a href=\"https://example.org/x.htm\">sito</a>", RoadKind::Outside, "https://example.org/x.htm"},
      {"<a href='mailto:a@b.it'>scrivi</a>", RoadKind::Outside, "mailto:a@b.it"},
      {"<img src=\"res\\ponte.png\">", RoadKind::Resource, "ponte.png"},
      {"<bgsound src='res\\suoni\\onda.wav' loop='-1'>", RoadKind::Resource, "suoni/onda.wav"},
      {"<IMG SRC='Res/la%20torre.PNG'>", RoadKind::Resource, "la torre.PNG"},
  };
  for (const auto& c : cases) {
    auto roads = roads_of(c.text);
    ASSERT_EQ(roads.size(), 1u) << c.text;
    EXPECT_EQ(roads[0].kind, c.kind) << c.text;
    if (!c.target.empty()) {
      EXPECT_EQ(roads[0].target, c.target) << c.text;
    }
    EXPECT_EQ(roads[0].text, c.text.substr(0, c.text.find('>') + 1)) << c.text;
  }
  // Not roads: the start page, an anchor, other scripts, other files, a commented-out
  // link, a picture elsewhere, a reload without address, and text that only looks like tags.
  for (std::string text : {"<a href='index.htm'>", "<a href='#su'>", "<a href=\"javascript:apri()\">",
                           "<a href='adv.css'>", "<!-- <a href=\"40.htm\">x</a> -->", "<img src='http://x/y.png'>",
                           "<meta http-equiv='refresh' content='5'>", "a <- b, 3 < 4 <-- <a>"})
    EXPECT_TRUE(roads_of(text).empty()) << text;
}

TEST(RoadScan, CountsLinesAtAnyLineEndAndMarksTheBackLinkArrow) {
  auto roads = roads_of("uno\r\n<a href='1.htm'>a</a>\rtre\n\r\n<a href='5.htm'><--</a><meta http-equiv='refresh' "
                        "content='0; url=javascript:history.back()'>\r\n<a href='5.htm'><--</a> <a href='6.htm'>");
  ASSERT_EQ(roads.size(), 5u);
  EXPECT_EQ(roads[0].line, 2u);
  EXPECT_FALSE(roads[0].back_arrow);
  EXPECT_EQ(roads[1].line, 5u);
  EXPECT_TRUE(roads[1].back_arrow);  // the arrow the back-link command writes
  EXPECT_EQ(roads[2].kind, RoadKind::BackLink);
  EXPECT_EQ(roads[3].line, 6u);
  EXPECT_FALSE(roads[3].back_arrow);  // an arrow with no jump back after it
}

TEST(RoadScan, EndingMarks) {
  EXPECT_TRUE(pm::description_marks_ending("Nell'acqua gelida - FINE"));
  EXPECT_TRUE(pm::description_marks_ending("VITTORIA!"));
  EXPECT_FALSE(pm::description_marks_ending("La fine del ponte"));  // the ordinary word
  EXPECT_FALSE(pm::description_marks_ending("FINESTRA"));
  EXPECT_FALSE(pm::description_marks_ending("FINE\xC3\xA8"));
  EXPECT_TRUE(pm::has_ending_comment("Hai perso.\r\n<!-- fine -->"));
  EXPECT_TRUE(pm::has_ending_comment("<!--FINE-->"));
  EXPECT_FALSE(pm::has_ending_comment("<!-- la fine -->"));
}

std::string messages(const pm::CheckResult& r) {
  std::string all;
  for (const auto& f : r.findings) all += f.file + ":" + std::to_string(f.line) + ": " + f.message + "\n";
  return all;
}

// A small book written file by file: a project file, Room entries and text files.
class Book {
 public:
  Book() { write_bytes(dir() / "Libro.dat", "\"Libro\",\"Libro\"\r\n"); }
  fs::path dir() const { return t_ / "Libro"; }
  Book& room(const std::string& n, const std::string& description, const std::string& text) {
    write_bytes(dir() / "Room" / n, description + "\r\n");
    write_bytes(dir() / n, text);
    return *this;
  }
  pm::CheckResult check() {
    graph = pm::build_link_graph(pm::Project(dir(), "Libro"));
    return pm::check_book(graph);
  }
  pm::LinkGraph graph;

 private:
  TempDir t_;
};

// Room 0 leads to 1 and 2 by a link and a timed jump; 1 goes back; 2 is an ending.
Book& clean_book(Book& b) {
  b.room("0", "Luogo di partenza", "<img src=\"res\\Ponte.PNG\">\r\n<a href=\"1.htm\">uno</a>\r\n"
                                   "<meta http-equiv='refresh' content='9; url=2.htm'>\r\n")
      .room("1", "La riva", pm::back_link_markup("5") + "\r\n")
      .room("2", "Il ponte", "Hai vinto.\r\n<!-- fine -->\r\n")
      .room("3", "Eliminata", "");  // a deleted room: zero bytes, no page, no concern
  write_bytes(b.dir() / "res" / "ponte.png", "PNG");
  write_bytes(b.dir() / "Global2.cod", "<a href=\"https://example.org\">sito</a>\r\n");
  return b;
}

TEST(BookCheck, ACleanBookHasNoFinding) {
  Book b;
  auto r = clean_book(b).check();
  EXPECT_TRUE(r.findings.empty()) << messages(r);
  EXPECT_EQ(r.errors + r.warnings, 0u);
  ASSERT_EQ(b.graph.rooms.size(), 4u);
  EXPECT_FALSE(b.graph.rooms[3].has_page);
  EXPECT_EQ(b.graph.edges.size(), 2u);  // 0->1 and 0->2; the back-link arrow is no arrow
}

TEST(BookCheck, EachFindingOnABookMadeForIt) {
  struct Case {
    const char* what;
    void (*spoil)(Book&);
    FindingKind kind;
    Severity severity;
    std::string room, file;
    uint32_t line;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"link to a room that does not exist", [](Book& b) { b.room("1", "La riva", "x\r\n\r\n<a href=\"40.htm\">"); },
       FindingKind::NoSuchRoom, Severity::Error, "1", "1", 3, "<a href=\"40.htm\">"},
      {"timed jump to a deleted room",
       [](Book& b) { b.room("1", "La riva", "<META http-equiv=refresh content='1;url=3.htm'>"); },
       FindingKind::NoPage, Severity::Error, "1", "1", 1, "<META http-equiv=refresh content='1;url=3.htm'>"},
      {"link to a room with only <lang=html>",
       [](Book& b) { b.room("3", "Solo html", "<LANG=HTML>\r\n").room("1", "La riva", "<a href='3.htm'>"); },
       FindingKind::NoPage, Severity::Error, "1", "1", 1, "<a href='3.htm'>"},
      {"missing res file", [](Book& b) { b.room("2", "Il ponte - FINE", "<img src='res/torre.png'>"); },
       FindingKind::MissingResource, Severity::Error, "2", "2", 1, "<img src='res/torre.png'>"},
      {"room listed without text file", [](Book& b) { write_bytes(b.dir() / "Room" / "4", "Perduta\r\n"); },
       FindingKind::MissingTextFile, Severity::Error, "4", "Room/4", 1, "Perduta"},
      {"broken link in the after-code",
       [](Book& b) { write_bytes(b.dir() / "Global2.cod", "\r\n<a href=\"9.htm\">9</a>"); },
       FindingKind::NoSuchRoom, Severity::Error, "", "Global2.cod", 2, "<a href=\"9.htm\">"},
      {"room nobody reaches", [](Book& b) { b.room("4", "Nascosta", "<a href='0.htm'>torna</a>"); },
       FindingKind::Unreachable, Severity::Warning, "4", "4", 1, "Nascosta"},
      {"room with no way on", [](Book& b) { b.room("2", "Il ponte", "Fermo qui."); }, FindingKind::NoWayOn,
       Severity::Warning, "2", "2", 1, "Il ponte"},
      {"link to itself", [](Book& b) { b.room("2", "FINE", "<a href='2.htm'>ancora</a>"); }, FindingKind::SelfLink,
       Severity::Warning, "2", "2", 1, "<a href='2.htm'>"},
      {"text file with no Room entry", [](Book& b) { write_bytes(b.dir() / "7", "testo\r\n"); },
       FindingKind::UnlistedTextFile, Severity::Warning, "7", "7", 1, ""},
      {"back link in the old form, whose arrow links to its own room",
       [](Book& b) {
         b.room("1", "La riva", "Torna\r\n<a href='1.htm'><--</a><meta http-equiv='refresh' content='5; "
                                "url=javascript:history.back()'>\r\n");
       },
       FindingKind::OldBackLink, Severity::Warning, "1", "1", 2,
       "<meta http-equiv='refresh' content='5; url=javascript:history.back()'>"},
  };
  for (const auto& c : cases) {
    Book b;
    clean_book(b);
    c.spoil(b);
    auto r = b.check();
    ASSERT_EQ(r.findings.size(), 1u) << c.what << ": " << messages(r);
    const pm::Finding& f = r.findings[0];
    EXPECT_EQ(f.kind, c.kind) << c.what;
    EXPECT_EQ(f.severity, c.severity) << c.what;
    EXPECT_EQ(f.room, c.room) << c.what;
    EXPECT_EQ(f.file, c.file) << c.what;
    EXPECT_EQ(f.line, c.line) << c.what;
    EXPECT_EQ(f.text, c.text) << c.what;
    EXPECT_EQ(c.severity == Severity::Error ? r.errors : r.warnings, 1u) << c.what;
    EXPECT_FALSE(f.message.empty() || f.message_it.empty()) << c.what;
    if (auto room = b.graph.find(c.room); room && c.severity == Severity::Error) {
      EXPECT_TRUE(r.rooms[*room].error) << c.what;
    }
  }
}

TEST(BookCheck, ReachabilityFollowsLinksJumpsAndTheCodeOnEveryPage) {
  Book b;
  b.room("0", "Inizio", "<a href='1.htm'>")
      .room("1", "FINE", "<meta http-equiv='refresh' content='1; url=2.htm'>")
      .room("2", "FINE", "x")
      .room("3", "FINE", "x")   // reached only through the before-code's link
      .room("4", "FINE", "x")   // reached from nowhere
      .room("5", "FINE", "<a href='4.htm'>");  // leads to 4, but nobody reaches 5
  write_bytes(b.dir() / "Global.cod", "<a href='3.htm'>aiuto</a>");
  auto r = b.check();
  std::vector<bool> reachable;
  for (const auto& s : r.rooms) reachable.push_back(s.reachable);
  EXPECT_EQ(reachable, (std::vector<bool>{true, true, true, true, false, false}));
  EXPECT_EQ(r.warnings, 2u);
}

TEST(BookCheck, TheSampleBookIsClean) {
  const fs::path sample = fs::path(PAGIMOND_SOURCE_DIR) / "app" / "Projects" / "Il Ponte sul Fiume";
  auto graph = pm::build_link_graph(pm::Project(sample, "Il Ponte sul Fiume"));
  auto r = pm::check_book(graph);
  EXPECT_EQ(graph.rooms.size(), 14u);
  EXPECT_TRUE(r.findings.empty()) << messages(r);
}

}  // namespace

// Stories in and out: a Twee file and a published HTML story made into a new project (links,
// a missing target, tags, style sheet, script, macros listed, the book's encoding), and the
// round trip of random books through Twee (same rooms, links and texts, the same IFID).
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "base/text.h"
#include "base/text_codec.h"
#include "exchange/story_export.h"
#include "exchange/story_import.h"
#include "exchange/twee.h"
#include "exchange/twine_html.h"
#include "project/book_encoding.h"
#include "project/project.h"
#include "project/project_creation.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;
namespace fs = std::filesystem;

class StoryExchangeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    write_bytes(home() / "adv.css", "body{}\r\n");
    fs::create_directories(projects());
  }
  fs::path home() const { return t_ / "home"; }
  fs::path projects() const { return t_ / "home" / "Projects"; }
  pm::ImportResult import(const std::string& file_name, const std::string& bytes) {
    write_bytes(t_ / file_name, bytes);
    return pm::import_story_file(t_ / file_name, projects(), home());
  }
  static bool reported(const pm::ImportResult& r, const std::string& piece) {
    for (const auto& line : r.report)
      if (line.find(piece) != std::string::npos) return true;
    return false;
  }
  TempDir t_;
};

const char kTwee[] =
    ":: StoryTitle\n"
    "Il Ponte\n"
    "\n"
    ":: StoryData\n"
    "{\n\t\"ifid\": \"D674C58C-DEFA-4F70-B7A2-27742230C0FC\",\n\t\"format\": \"Harlowe\",\n"
    "\t\"start\": \"Inizio\",\n\t\"zoom\": 1.5,\n\t\"tag-colors\": {\"buio\": \"red\"}\n}\n"
    "\n"
    ":: Ponte [buio bagnato] {\"position\":\"600,400\"}\n"
    "Acqua & pietre < fiume, &egrave; <b>freddo</b>.\n"
    "(set: $monete to 3)\n"
    "\n"
    "\n"
    ":: Inizio\n"
    "Vai [[al ponte->Ponte]] o [[Ponte<-sul ponte]],\n"
    "[[indietro|Inizio]] e [[Ponte]].\n"
    "Poi [[la grotta->Grotta]].\n"
    ":: Stile [stylesheet]\n"
    "body { color: red; }\n"
    ":: Codice [script]\n"
    "window.x = 1;\n"
    ":: Fine \\[vera\\]\n"
    "Torna [[a casa->Inizio]].\n";

TEST_F(StoryExchangeTest, ATweeFileBecomesANewProject) {
  const pm::ImportResult r = import("ponte.twee", kTwee);
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  const pm::Project p(r.folder, r.name);
  EXPECT_EQ(r.name, "Il Ponte");
  EXPECT_EQ(p.read_fields().title(), "Il Ponte");
  // The start passage is room 0, the others follow in the file's order.
  EXPECT_EQ(p.room_names().size(), 3u);
  EXPECT_EQ(p.read_description_text("0"), "Inizio");
  EXPECT_EQ(p.read_description_text("1"), "Ponte");
  EXPECT_EQ(p.read_description_text("2"), "Fine [vera]");
  EXPECT_EQ(p.read_text("0"),
            "Vai <a href=\"1.htm\">al ponte</a> o <a href=\"1.htm\">sul ponte</a>,\r\n"
            "<a href=\"0.htm\">indietro</a> e <a href=\"1.htm\">Ponte</a>.\r\n"
            "Poi [[la grotta->Grotta]].\r\n");
  EXPECT_EQ(p.read_text("1"),
            "<!-- tag: buio bagnato -->\r\nAcqua &amp; pietre &lt; fiume, &egrave; <b>freddo</b>.\r\n"
            "(set: $monete to 3)\r\n");
  EXPECT_EQ(read_bytes(r.folder / "adv.css"),
            "body{}\r\n/* Foglio di stile della storia importata */\r\nbody { color: red; }\r\n");
  EXPECT_EQ(read_bytes(r.folder / "global.cod"), "<script>\r\nwindow.x = 1;\r\n</script>\r\n");
  // The missing target and the macro are reported with the file's line.
  EXPECT_TRUE(reported(r, "ponte.twee:21: passaggio \"Inizio\": il collegamento [[la grotta->Grotta]]"));
  EXPECT_TRUE(reported(r, "ponte.twee:15: passaggio \"Ponte\": usa macro o variabili"));
  EXPECT_EQ(r.report.size(), 2u);
  EXPECT_EQ(pm::book_encoding(r.folder), pm::TextEncoding::Windows1252);
  EXPECT_EQ(*pm::project_ifid(p), "D674C58C-DEFA-4F70-B7A2-27742230C0FC");  // the story's own, kept

  // Never over an existing project: the second import is refused and the first stays.
  const std::string before = read_bytes(r.folder / "0");
  const pm::ImportResult again = import("ponte.twee", kTwee);
  EXPECT_EQ(again.status.kind(), pm::StatusKind::NameExists);
  EXPECT_EQ(read_bytes(r.folder / "0"), before);
}

TEST_F(StoryExchangeTest, TheBookEncodingHoldsEveryLetterOfTheStory) {
  // Letters Windows-1252 holds stay in a Windows-1252 book; one it cannot hold makes the
  // book UTF-8, title included, so that nothing turns into something else.
  const pm::ImportResult latin = import("a.twee", ":: StoryTitle\nCaff\xC3\xA8\n:: Start\nPerch\xC3\xA9?\n");
  ASSERT_TRUE(latin.status.ok()) << latin.status.message();
  EXPECT_EQ(pm::book_encoding(latin.folder), pm::TextEncoding::Windows1252);
  EXPECT_EQ(read_bytes(latin.folder / "0"), "Perch\xE9?\r\n");

  const pm::ImportResult greek = import("b.twee", ":: StoryTitle\n\xCE\xB1 Caff\xC3\xA8\n:: Start\n\xCE\xB1\xCE\xB2\n");
  ASSERT_TRUE(greek.status.ok()) << greek.status.message();
  EXPECT_EQ(greek.encoding, pm::TextEncoding::Utf8);
  EXPECT_EQ(pm::book_encoding(greek.folder), pm::TextEncoding::Utf8);
  const pm::Project p(greek.folder, greek.name);
  EXPECT_EQ(p.read_fields().title(), "\xCE\xB1 Caff\xC3\xA8");
  EXPECT_EQ(p.read_text("0"), "\xCE\xB1\xCE\xB2\r\n");
}

TEST_F(StoryExchangeTest, APublishedHtmlStoryImports) {
  const std::string html =
      "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>Gita</title></head>\n<body>\n"
      "<tw-storydata name=\"Gita &amp; ritorno\" startnode=\"2\" creator=\"x\" ifid=\"6D509890-1CA5-49DF-BFB6-5CA35B8DE2AC\""
      " format=\"Harlowe\" format-version=\"3.3.9\" hidden>"
      "<style role=\"stylesheet\" id=\"twine-user-stylesheet\" type=\"text/twine-css\">p { margin: 0 }</style>"
      "<script role=\"script\" id=\"twine-user-script\" type=\"text/twine-javascript\">var a = 1 < 2;</script>\n"
      "<tw-tag name=\"mare\" color=\"blue\"></tw-tag>\n"
      "<tw-passagedata pid=\"1\" name=\"Spiaggia\" tags=\"mare sole\" position=\"1,1\">Sabbia &amp; sole, &lt;caldo&gt;\n"
      "(if: $x)[ok] &quot;s&igrave;&quot; &#8364;</tw-passagedata>\n"
      "<tw-passagedata pid=\"2\" name=\"Casa\">Vai [[in spiaggia-&gt;Spiaggia]].</tw-passagedata>\n"
      "</tw-storydata>\n<tw-storydata name=\"Altra\"><tw-passagedata pid=\"1\" name=\"A\">a</tw-passagedata>"
      "</tw-storydata>\n</body></html>\n";
  const pm::ImportResult r = import("gita.html", html);  // an archive: its first story
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  const pm::Project p(r.folder, r.name);
  EXPECT_EQ(p.read_fields().title(), "Gita & ritorno");
  EXPECT_EQ(p.read_description_text("0"), "Casa");
  EXPECT_EQ(p.read_description_text("1"), "Spiaggia");
  EXPECT_EQ(p.read_text("0"), "Vai <a href=\"1.htm\">in spiaggia</a>.\r\n");
  // The euro sign is in Windows-1252: the book stays so, and the sign is its byte.
  EXPECT_EQ(p.read_text("1"),
            "<!-- tag: mare sole -->\r\nSabbia &amp; sole, <caldo>\r\n(if: $x)[ok] \"s&igrave;\" \x80\r\n");
  EXPECT_TRUE(reported(r, "gita.html:7: passaggio \"Spiaggia\": usa macro"));
  EXPECT_TRUE(reported(r, "gita.html: il file \xC3\xA8 un archivio con pi\xC3\xB9 storie"));
  EXPECT_EQ(p.room_names().size(), 2u);
  EXPECT_EQ(read_bytes(r.folder / "global.cod"), "<script>\r\nvar a = 1 < 2;\r\n</script>\r\n");
  EXPECT_NE(read_bytes(r.folder / "adv.css").find("p { margin: 0 }"), std::string::npos);
}

TEST_F(StoryExchangeTest, FilesThatAreNoStoryAreRefusedAndNothingIsMade) {
  struct Case {
    const char* name;
    const char* bytes;
  } cases[] = {{"vuoto.twee", ""}, {"testo.txt", "solo testo\nsenza passaggi\n"},
               {"pagina.html", "<html><body><tw-storydata name=\"x\"></tw-storydata></body></html>"}};
  for (const auto& c : cases) {
    const pm::ImportResult r = import(c.name, c.bytes);
    EXPECT_EQ(r.status.kind(), pm::StatusKind::ReadFailed) << c.name;
  }
  EXPECT_EQ(pm::import_story_file(t_ / "manca.twee", projects(), home()).status.kind(), pm::StatusKind::NotFound);
  EXPECT_TRUE(fs::is_empty(projects()));
}

TEST(StoryText, EscapesMacrosAndFormats) {
  const std::pair<const char*, const char*> escapes[] = {
      {"a & b", "a &amp; b"}, {"&amp; &#39; &#x27; &egrave;", "&amp; &#39; &#x27; &egrave;"},
      {"1 < 2 <b>x</b> <!-- c --> </i>", "1 &lt; 2 <b>x</b> <!-- c --> </i>"}, {"<<set $x>>", "&lt;&lt;set $x>>"},
      {"&#; &x", "&amp;#; &amp;x"}};
  for (const auto& [in, out] : escapes) EXPECT_EQ(pm::escape_loose_html(in), out) << in;
  const std::pair<const char*, bool> code[] = {{"(set: $a to 1)", true}, {"<<if $a>>", true}, {"hai $oro", true},
                                               {"costa 5$ (circa)", false}, {"(nota bene: x)", false},
                                               {"a (b) c", false}};
  for (const auto& [line, yes] : code) EXPECT_EQ(pm::uses_story_format_code(line), yes) << line;
  EXPECT_EQ(pm::parse_story_format("SugarCube@2.37.3")->name, "SugarCube");
  EXPECT_EQ(pm::parse_story_format("a@b@1.0")->version, "1.0");
  for (const char* bad : {"Harlowe", "@3", "Harlowe@", ""}) EXPECT_FALSE(pm::parse_story_format(bad)) << bad;
  const std::string ifid = pm::new_ifid();
  EXPECT_TRUE(pm::is_ifid(ifid));
  EXPECT_EQ(ifid.size(), 36u);
  EXPECT_EQ(ifid[14], '4');
  EXPECT_NE(std::string("89AB").find(ifid[19]), std::string::npos);
}

TEST(StoryText, TweeHeadersAndABrokenStoryData) {
  auto story = pm::read_twee("prima\n:: A \\{b\\} [t1  t\\]2]\nx\n\n:: StoryData\n{nope\n");
  ASSERT_TRUE(story.ok());
  ASSERT_EQ(story->passages.size(), 1u);
  EXPECT_EQ(story->passages[0].name, "A {b}");
  EXPECT_EQ(story->passages[0].tags, (std::vector<std::string>{"t1", "t]2"}));
  EXPECT_EQ(story->passages[0].line, 3u);
  EXPECT_EQ(story->warnings.size(), 1u);
  // The writer's escapes read back.
  pm::Story s;
  s.title = "T";
  s.ifid = "ABCDEFGH";
  s.passages.push_back({"x [y] {z} \\", {"a[b"}, "testo", 0});
  auto back = pm::read_twee(pm::write_twee(s));
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(back->passages[0].name, s.passages[0].name);
  EXPECT_EQ(back->passages[0].tags, s.passages[0].tags);
  EXPECT_EQ(back->ifid, "ABCDEFGH");
}

// A random book: unique descriptions, texts with mark-up, entities, accented letters and
// links between rooms, one timed jump and one room script.
void write_random_book(const pm::Project& p, std::mt19937& random, size_t rooms) {
  const std::vector<std::string> words = {"lupo", "porta", "caff\xE8", "&egrave;", "<b>scuro</b>", "il", "\"detto\"",
                                          "[nota]", "a|b", "<i>x</i>", "pi\xF9"};
  std::set<std::string> used;
  for (size_t n = 0; n < rooms; ++n) {
    std::string d;
    do {
      d = words[random() % 3] + " " + words[random() % words.size()] + " " + std::to_string(random() % 1000);
    } while (!used.insert(d).second);
    if (n == 0) d = "Luogo di partenza";
    ASSERT_TRUE(p.write_description(std::to_string(n), d).ok());
    std::string text;
    const size_t lines = 1 + random() % 4;
    for (size_t l = 0; l < lines; ++l) {
      if (l) text += "\r\n";
      for (size_t w = 0; w < 1 + random() % 6; ++w) {
        if (random() % 4 == 0)
          text += "<a href=\"" + std::to_string(random() % rooms) + ".htm\">" + words[random() % 3] + "</a> ";
        else
          text += words[random() % words.size()] + " ";
      }
    }
    ASSERT_TRUE(p.write_text(std::to_string(n), text).ok());
  }
}

TEST_F(StoryExchangeTest, RandomBooksComeBackFromTwee) {
  std::mt19937 random(20261209);
  for (int book = 0; book < 6; ++book) {
    auto made = pm::create_project(projects(), "Libro " + std::to_string(book), home());
    ASSERT_TRUE(made.status.ok());
    const pm::Project p(made.folder, made.name);
    const size_t rooms = 1 + random() % 25;
    write_random_book(p, random, rooms);
    if (book == 0) {
      ASSERT_TRUE(p.write_text("0", "Attendi<meta http-equiv='refresh' content='3; url=0.htm'>").ok());
      ASSERT_TRUE(p.write_script("0", "alert(1);").ok());
      ASSERT_TRUE(p.write_description("99", "Dopo un salto").ok());  // not exported, and said so
    }
    auto ifid = pm::project_ifid(p);
    ASSERT_TRUE(ifid.ok());
    const pm::TweeExport ex = pm::story_of_project(p, *ifid, {});
    if (book == 0) {
      ASSERT_EQ(ex.not_carried.size(), 3u);
      EXPECT_EQ(ex.not_carried[2].rfind("stanza 99: non esportata", 0), 0u);
      EXPECT_NE(ex.not_carried[0].find("stanza 0 (\"Luogo di partenza\"), riga 1: salto a tempo"), std::string::npos);
      EXPECT_NE(ex.not_carried[1].find("0.js"), std::string::npos);
    }
    const std::string twee = pm::write_twee(ex.story);
    EXPECT_EQ(twee.find("\r"), std::string::npos);
    EXPECT_NE(twee.find("\"format\": \"Harlowe\",\n\t\"format-version\": \"3.3.9\""), std::string::npos);

    const pm::ImportResult back = import("libro" + std::to_string(book) + ".twee", pm::replace_all(twee, "Libro ", "Copia "));
    ASSERT_TRUE(back.status.ok()) << back.status.message();
    EXPECT_TRUE(back.report.empty()) << back.report[0];
    const pm::Project q(back.folder, back.name);
    ASSERT_EQ(q.room_names().size(), rooms);
    for (size_t n = 0; n < rooms; ++n) {
      const std::string room = std::to_string(n);
      EXPECT_EQ(q.read_description_text(room), p.read_description_text(room)) << book << " " << room;
      EXPECT_EQ(q.read_text(room), p.read_text(room)) << book << " " << room;
    }
    // The IFID is kept: a second export names the same story.
    EXPECT_EQ(*pm::project_ifid(p), *ifid);
    EXPECT_EQ(read_bytes(made.folder / "story.ifid"), *ifid + "\r\n");
  }
}

}  // namespace

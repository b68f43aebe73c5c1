// Renumbering: references rewritten in one pass, the plan of new numbers, the sample book
// renumbered with a seed, which must keep its check findings (renamed) and, compiled, tell
// the same story link by link, and pagimond-cli renumber as a process.
#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <map>
#include <regex>
#include <set>

#include "check/book_check.h"
#include "check/road_scan.h"
#include "compiler/compile_request.h"
#include "paper/renumber.h"
#include "paper/room_references.h"
#include "project/project_creation.h"
#include "support/run_program.h"
#include "support/folder_names.h"
#include "support/temp_dir.h"

namespace {

using pmtest::read_bytes;
using pmtest::TempDir;
namespace fs = std::filesystem;

TEST(RenumberReferences, EveryFormFollowsItsRoomAndNothingElseMoves) {
  const pm::RoomRenaming renaming = {{"0", "0"}, {"1", "7"}, {"3", "12"}, {"12", "3"}, {"1a", "5"}};
  std::vector<std::string> phrases = pm::default_reference_phrases();
  phrases.push_back("vedi");
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"<a href=\"12.htm\">Vai</a>", "<a href=\"3.htm\">Vai</a>"},
      {"<A HREF='12.HTM'>x</A> <a href=1a.htm>1a</a>", "<A HREF='3.HTM'>x</A> <a href=5.htm>5</a>"},
      {"<a href=12.htm>12</a><a\r\nhref=\"3.htm\"> 3 </A>", "<a href=3.htm>3</a><a\r\nhref=\"12.htm\"> 12 </A>"},
      {"<a href=\"12.htm\">12 passi</a> <a href=\"99.htm\">99</a>", "<a href=\"3.htm\">12 passi</a> <a href=\"99.htm\">99</a>"},
      {"<meta http-equiv='refresh' content='5; url=1.htm'>", "<meta http-equiv='refresh' content='5; url=7.htm'>"},
      {"location.href=\"3.htm#x\"; go('12.htm')", "location.href=\"12.htm#x\"; go('3.htm')"},
      {"x12.htm res/12.htm a.12.htm 12.html 99.htm index.htm", "x12.htm res/12.htm a.12.htm 12.html 99.htm index.htm"},
      {"vai al 12, torna al&nbsp;1. Paragrafo 3; vedi 12", "vai al 3, torna al&nbsp;7. Paragrafo 12; vedi 3"},
      {"Vai al 1 e 3.htm", "Vai al 7 e 12.htm"},  // one pass: 1 -> 7 and 3 -> 12, never 7 -> ...
      {"vai al 12a, paragrafo 120, vai al ponte, rivai al 12, 12 monete", "vai al 12a, paragrafo 120, vai al ponte, rivai al 12, 12 monete"},
      {"\xE8 vai al 12 \xC3\xA8", "\xE8 vai al 3 \xC3\xA8"},
  };
  for (const auto& [in, want] : cases) EXPECT_EQ(pm::rewrite_room_references(in, renaming, phrases), want) << in;
}

TEST(RenumberPlan, DenseInNumberOrderShuffledBySeedPinsKept) {
  const std::vector<std::string> rooms = {"0", "1", "10", "11", "2", "3", "4", "5", "6", "7", "8", "9"};
  auto numbers = [](const pm::Renumbering& p) { return std::set<std::string>(p.new_names.begin(), p.new_names.end()); };
  std::set<std::string> all;
  for (int k = 0; k < 12; ++k) all.insert(std::to_string(k));

  // Without gaps the book keeps its numbers; gaps close with the rooms in their own order.
  auto same = pm::plan_renumbering(rooms, {});
  ASSERT_TRUE(same.ok());
  EXPECT_EQ(same->new_names, rooms);
  auto dense = pm::plan_renumbering({"0", "20", "3", "7"}, {});
  ASSERT_TRUE(dense.ok());
  EXPECT_EQ(dense->new_names, (std::vector<std::string>{"0", "3", "1", "2"}));

  pm::RenumberOptions shuffled;
  shuffled.shuffle = true;
  shuffled.seed = 7;
  shuffled.pinned = {"11", " 5"};
  auto a = pm::plan_renumbering(rooms, shuffled), b = pm::plan_renumbering(rooms, shuffled);
  ASSERT_TRUE(a.ok() && b.ok());
  EXPECT_EQ(a->new_names, b->new_names);
  EXPECT_EQ(numbers(*a), all);
  EXPECT_EQ(a->new_names[0], "0");
  EXPECT_EQ(a->new_names[3], "11");
  EXPECT_EQ(a->new_names[7], "5");
  shuffled.seed = 8;
  auto c = pm::plan_renumbering(rooms, shuffled);
  ASSERT_TRUE(c.ok());
  EXPECT_NE(c->new_names, a->new_names);
  // The sequence is fixed by the seed, whatever the standard library: seed 7 always gives it.
  EXPECT_EQ(a->new_names, (std::vector<std::string>{"0", "6", "9", "11", "4", "7", "8", "5", "10", "2", "3", "1"}));

  for (const char* bad : {"12", "x", "01"}) {
    pm::RenumberOptions o;
    o.pinned = {bad};
    EXPECT_EQ(pm::plan_renumbering(rooms, o).kind(), pm::StatusKind::Usage) << bad;
  }
  pm::RenumberOptions named;
  named.pinned = {"1a"};
  EXPECT_EQ(pm::plan_renumbering({"0", "1a"}, named).kind(), pm::StatusKind::Usage);
}

// A page with its room references made alike, to compare two books' pages.
std::string masked(const std::string& page) { return std::regex_replace(page, std::regex("\\b[0-9]+\\.htm"), "#.htm"); }

TEST(RenumberBook, TheSampleBookShuffledKeepsItsFindingsAndTellsTheSameStory) {
  TempDir t;
  const fs::path book = t / "Il Ponte sul Fiume";
  fs::copy(fs::path(PAGIMOND_SOURCE_DIR) / "app/Projects/Il Ponte sul Fiume", book, fs::copy_options::recursive);
  // A description with a reference, and a self-link, which the check warns about.
  ASSERT_TRUE(pm::write_file_atomic(book / "Room" / "2", "Torna al 12\r\n").ok());
  ASSERT_TRUE(pm::write_file_atomic(book / "13", read_bytes(book / "13") + "<a href=\"13.htm\">Rileggi</a>\r\n").ok());
  const auto before = pmtest::snapshot(book);
  pm::RenumberOptions options;
  options.shuffle = true;
  options.seed = 2026;
  options.pinned = {"11"};
  options.phrases = pm::default_reference_phrases();
  const fs::path into = t / "Mescolato";
  auto done = pm::renumber_project(book, into, options);
  ASSERT_TRUE(done.ok()) << done.status().message();
  EXPECT_EQ(pmtest::snapshot(book), before);
  EXPECT_EQ(read_bytes(into / "renumber.csv"), pm::renumber_map_text(*done));
  std::map<std::string, std::string> to;
  for (size_t k = 0; k < done->old_names.size(); ++k) to[done->old_names[k]] = done->new_names[k];
  EXPECT_EQ(to["0"], "0");
  EXPECT_EQ(to["11"], "11");
  EXPECT_NE(done->new_names, done->old_names);
  EXPECT_EQ(read_bytes(into / "Room" / to["2"]), "Torna al " + to["12"] + "\r\n");
  EXPECT_EQ(read_bytes(into / (to["13"] + ".js")), read_bytes(book / "13.js"));
  EXPECT_EQ(read_bytes(into / "res" / "ponte.png"), read_bytes(book / "res" / "ponte.png"));
  EXPECT_EQ(read_bytes(into / "Mescolato.dat").rfind("\"Mescolato\",\"Il Ponte sul Fiume\",", 0), 0u);

  // The same findings, renamed.
  auto opened_old = pm::open_project_folder(book), opened_new = pm::open_project_folder(into);
  ASSERT_TRUE(opened_new.status.ok()) << opened_new.status.message();
  const pm::LinkGraph g_old = pm::build_link_graph(*opened_old.project), g_new = pm::build_link_graph(*opened_new.project);
  auto findings = [](const pm::LinkGraph& g, const std::map<std::string, std::string>* rename) {
    std::multiset<std::string> out;
    for (const auto& f : pm::check_book(g).findings) {
      std::string room = rename && !f.room.empty() ? rename->at(f.room) : f.room;
      out.insert(std::to_string(int(f.kind)) + " " + room + ":" + std::to_string(f.line));
    }
    return out;
  };
  EXPECT_EQ(findings(g_new, nullptr), findings(g_old, &to));
  EXPECT_FALSE(findings(g_old, nullptr).empty());  // the sample book has warnings to compare
  std::set<std::string> edges_old, edges_new;
  for (const auto& e : g_old.edges)
    edges_old.insert(to[g_old.rooms[e.from].name] + ">" + to[g_old.rooms[e.to].name] + (e.timed ? "t" : ""));
  for (const auto& e : g_new.edges)
    edges_new.insert(g_new.rooms[e.from].name + ">" + g_new.rooms[e.to].name + (e.timed ? "t" : ""));
  EXPECT_EQ(edges_new, edges_old);

  // Both books compiled and read in step from room 0: the same page at every step, and
  // every link of the old page leads where the new page's link in its place leads.
  auto compile = [&](const fs::path& folder, const fs::path& out) {
    pm::CompileRequest r;
    r.folder = folder;
    r.output = out;
    return pm::run_compile(r).status.ok();
  };
  ASSERT_TRUE(compile(book, t / "out-old"));
  ASSERT_TRUE(compile(into, t / "out-new"));
  std::deque<std::pair<std::string, std::string>> queue = {{"0", "0"}};
  std::set<std::string> seen = {"0"};
  while (!queue.empty()) {
    const auto [o, n] = queue.front();
    queue.pop_front();
    ASSERT_EQ(n, to[o]);
    const std::string page_old = read_bytes(t / "out-old" / (o + ".htm")), page_new = read_bytes(t / "out-new" / (n + ".htm"));
    ASSERT_FALSE(page_old.empty()) << o;
    EXPECT_EQ(masked(page_new), masked(page_old)) << o << " -> " << n;
    std::vector<pm::Road> roads_old, roads_new;
    pm::scan_roads(page_old, roads_old);
    pm::scan_roads(page_new, roads_new);
    ASSERT_EQ(roads_old.size(), roads_new.size()) << o;
    for (size_t k = 0; k < roads_old.size(); ++k) {
      if (roads_old[k].kind != pm::RoadKind::Link && roads_old[k].kind != pm::RoadKind::TimedJump) continue;
      EXPECT_EQ(roads_new[k].target, to[roads_old[k].target]) << o << " road " << k;
      if (seen.insert(roads_old[k].target).second) queue.push_back({roads_old[k].target, roads_new[k].target});
    }
  }
  EXPECT_EQ(seen.size(), 14u);  // every room of the sample book is reached
}

TEST(RenumberBook, RefusesAFullOrInnerFolderAndLeavesNothing) {
  TempDir t;
  const fs::path book = t / "Libro";
  fs::copy(fs::path(PAGIMOND_SOURCE_DIR) / "app/Projects/Il Ponte sul Fiume", book, fs::copy_options::recursive);
  pmtest::write_bytes(t / "Pieno" / "x", "x");
  EXPECT_EQ(pm::renumber_project(book, t / "Pieno", {}).kind(), pm::StatusKind::NameExists);
  EXPECT_EQ(pm::renumber_project(book, book / "dentro", {}).kind(), pm::StatusKind::WouldDestroy);
  EXPECT_EQ(pm::renumber_project(t / "nessuno", t / "Nuovo", {}).kind(), pm::StatusKind::NotFound);
  fs::create_directory(t / "Vuoto");  // an empty folder is taken
  EXPECT_TRUE(pm::renumber_project(book, t / "Vuoto", {}).ok());
  EXPECT_TRUE(fs::exists(t / "Vuoto" / "Vuoto.dat"));
  EXPECT_EQ(pmtest::names_in(t.path()), (std::vector<std::string>{"Libro", "Pieno", "Vuoto"}));
}

}  // namespace

#if defined(PAGIMOND_CLI)
namespace {

// pagimond-cli renumber as a process: the same seed gives the same numbers, a pin that is no
// room is a wrong command line, a folder that holds something is refused; each refusal is one
// line and writes nothing.
TEST(RenumberCli, SeedRepeatsAndRefusalsAreOneLine) {
  TempDir t;
  const std::string book = (fs::path(PAGIMOND_SOURCE_DIR) / "app/Projects/Il Ponte sul Fiume").string();
  auto run = [&](const std::vector<std::string>& args) {
    return pmtest::run_program(PAGIMOND_CLI, args, {}, (t / "out").string(), (t / "err").string());
  };
  ASSERT_EQ(run({"renumber", book, "--into", (t / "A").string(), "--shuffle", "--seed", "9", "--pin", "11"}), 0);
  EXPECT_EQ(read_bytes(t / "out"), (t / "A").string() + "\n");
  ASSERT_EQ(run({"renumber", book, "--into", (t / "B").string(), "--shuffle", "--seed", "9", "--pin", "11"}), 0);
  EXPECT_EQ(read_bytes(t / "A" / "renumber.csv"), read_bytes(t / "B" / "renumber.csv"));
  EXPECT_NE(read_bytes(t / "A" / "renumber.csv").find("\r\n11,11\r\n"), std::string::npos);
  const std::vector<std::pair<std::vector<std::string>, int>> refused = {
      {{"renumber", book, "--into", (t / "C").string(), "--pin", "99"}, 2},
      {{"renumber", book, "--into", (t / "C").string(), "--seed", "4"}, 2},
      {{"renumber", book}, 2},
      {{"renumber", book, "--into", (t / "A").string()}, 1},
  };
  for (const auto& [args, status] : refused) {
    EXPECT_EQ(run(args), status) << args.back();
    const std::string err = read_bytes(t / "err");
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_EQ(read_bytes(t / "out"), "");
  }
  EXPECT_FALSE(fs::exists(t / "C"));
}

}  // namespace
#endif

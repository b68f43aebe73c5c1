// The compile that makes only what changed, against the full compile into an empty folder:
// after every step of random edits (rooms, scripts, global code, fields, style sheets,
// resources, hand edits in Output, links in Output, a clock that jumps) both folders hold
// the same files, byte for byte.
#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <random>
#include <thread>
#include <utility>

#include "compiler/compile_request.h"
#include "compiler/site_state.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

// Every entry below `dir` but the state: "f" and the bytes for a file, "d" for a folder,
// "l" for anything else.
std::map<std::string, std::string> tree(const fs::path& dir) {
  std::map<std::string, std::string> t;
  for (auto it = fs::recursive_directory_iterator(dir); it != fs::recursive_directory_iterator(); ++it) {
    const std::string rel = it->path().lexically_relative(dir).generic_string();
    if (rel == pm::kSiteStateName) continue;
    const auto type = it->symlink_status().type();
    t[rel] = type == fs::file_type::regular     ? "f" + read_bytes(it->path())
             : type == fs::file_type::directory ? "d"
                                                : "l";
  }
  return t;
}

std::int64_t real_now() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
      .count();
}

struct ClockOffset {
  std::int64_t offset = 0;
  ClockOffset() {
    pm::set_compile_clock_for_testing([this] { return real_now() + offset; });
  }
  ~ClockOffset() { pm::set_compile_clock_for_testing(nullptr); }
};

class IncrementalCompile : public ::testing::Test {
 protected:
  TempDir dir;
  fs::path book = dir / "Libro", out = dir / "Output", outside = dir / "fuori.txt";
  pm::Project project{book, "Libro"};
  std::vector<std::string> rooms;
  pm::PageStyle style = pm::PageStyle::Mobile;
  ClockOffset clock;

  void SetUp() override {
    write_bytes(book / "Libro.dat", "\"Libro\",\"Prova\",\"\",\"Io\",\"\",\"\",\"100%\",\"\",\"\",\"\"\r\n");
    write_bytes(book / "Global.cod", "<b>prima</b>\r\n");
    write_bytes(book / "Global2.cod", "<i>dopo</i>\r\n");
    write_bytes(book / "adv.css", "body{}");
    write_bytes(book / "res/ponte.png", "PNG");
    write_bytes(book / "res/suoni/a.wav", "RIFF");
    write_bytes(outside, "di fuori");
    for (int i = 0; i < 8; ++i) {
      rooms.push_back(std::to_string(i));
      write_bytes(book / rooms.back(), "Stanza " + rooms.back() + "\r\n");
    }
  }

  // `saved`: the rooms an editor's save names (the live preview), their pages alone when
  // the state allows.
  pm::CompileResult compile(pm::OutputState state, const fs::path& into, std::vector<std::string> saved = {}) {
    pm::CompileRequest r;
    r.project = project;
    r.rooms = rooms;
    r.output = into;
    r.style = style;
    r.state = state;
    r.saved_rooms = std::move(saved);
    return pm::run_compile(r);
  }

  // The incremental compile into Output, and the full one into an empty folder: the same.
  pm::CompileReport compare(const std::string& step) {
    const pm::CompileResult made = compile(pm::OutputState::Reuse, out);
    TempDir fresh;
    EXPECT_TRUE(compile(pm::OutputState::Drop, fresh.path() / "Output").status.ok()) << step;
    EXPECT_EQ(tree(out), tree(fresh.path() / "Output")) << step;
    return made.report;
  }
};

TEST_F(IncrementalCompile, RandomEditsGiveTheFullCompilesOutput) {
  // Another sequence each run with --gtest_shuffle (--gtest_random_seed=N repeats run N).
  const int seed = ::testing::UnitTest::GetInstance()->random_seed();
  std::mt19937 random(20261209u + unsigned(seed));
  auto pick = [&](size_t n) { return size_t(random() % n); };
  auto some_room = [&] { return rooms[pick(rooms.size())]; };
  size_t kept = 0, saved_alone = 0;
  bool jumped_forward = false;
  for (int step = 0; step < 160; ++step) {
    std::string what;
    switch (pick(16)) {
      case 0: case 1: case 2: {  // a room's text, sometimes of the same size
        const std::string room = some_room();
        std::string text = read_bytes(book / room);
        if (!text.empty() && pick(2)) text[pick(text.size())] = char('a' + pick(26));
        else text = "Nuovo testo " + std::to_string(step) + " <a href=\"0.htm\">0</a>\r\n";
        const auto was = fs::exists(book / room) ? fs::last_write_time(book / room) : fs::file_time_type{};
        write_bytes(book / room, text);
        if (pick(2) && was != fs::file_time_type{}) fs::last_write_time(book / room, was);  // restored by hand
        what = "room " + room;
        if (pick(2)) {  // saved in the editor: at once its page is the full compile's
          const pm::CompileReport r = compile(pm::OutputState::Reuse, out, {room}).report;
          saved_alone += r.kept == 0 && r.pages == 1;  // the page alone, nothing else looked at
          TempDir fresh;
          compile(pm::OutputState::Drop, fresh.path() / "Output");
          const std::string page = room + ".htm";
          ASSERT_EQ(fs::exists(out / page), fs::exists(fresh.path() / "Output" / page)) << step;
          if (fs::exists(out / page)) {
            EXPECT_EQ(read_bytes(out / page), read_bytes(fresh.path() / "Output" / page)) << step;
          }
          what += " saved";
        }
        break;
      }
      case 3:  // a room deleted (its file blanked) or a new one
        if (pick(2)) write_bytes(book / some_room(), "");
        else rooms.push_back(std::to_string(rooms.size())), write_bytes(book / rooms.back(), "Nuova\r\n");
        what = "room blanked or added";
        break;
      case 4:  // a room gone from the list: its page goes
        if (rooms.size() > 1) rooms.erase(rooms.begin() + long(pick(rooms.size())));
        what = "room removed";
        break;
      case 5: {  // a room script
        const fs::path js = book / (some_room() + ".js");
        if (pick(3) == 0) fs::remove(js);
        else write_bytes(js, "alert(" + std::to_string(step) + ");\r\n");
        what = "script";
        break;
      }
      case 6:
        write_bytes(book / (pick(2) ? "Global.cod" : "Global2.cod"), "codice " + std::to_string(step) + "\r\n");
        what = "global code";
        break;
      case 7:
        write_bytes(book / "Libro.dat", "\"Libro\",\"Titolo " + std::to_string(step) +
                                            "\",\"\",\"Io\",\"\",\"\",\"100%\",\"\",\"\",\"" +
                                            std::to_string(pick(2)) + "\"\r\n");
        what = "fields";
        break;
      case 8: {  // style sheets, their case, resources
        const int k = int(pick(4));
        if (k == 0) write_bytes(book / "adv.css", "body{color:" + std::to_string(step) + "}");
        if (k == 1) fs::exists(book / "adv.css") ? fs::rename(book / "adv.css", book / "ADV.CSS")
                                                 : fs::rename(book / "ADV.CSS", book / "adv.css");
        if (k == 2) write_bytes(book / ("res/f" + std::to_string(pick(3)) + ".png"), std::to_string(step));
        if (k == 3) fs::remove_all(book / "res/suoni");
        what = "copies";
        break;
      }
      case 9: case 10: {  // a page edited, removed or linked by hand in Output
        const fs::path page = out / (some_room() + ".htm");
        if (!fs::exists(page)) break;
        const int k = int(pick(4));
        if (k == 0) {
          std::string bytes = read_bytes(page);
          bytes[pick(bytes.size())] = 'X';
          write_bytes(page, bytes);
        }
        if (k == 1) fs::remove(page);
        if (k == 2) {  // a symbolic link, or a copy where the system makes none (Wine)
          std::error_code ec;
          fs::remove(page);
          fs::create_symlink(outside, page, ec);
          if (ec) fs::copy_file(outside, page);
        }
        if (k == 3) fs::remove(page), fs::create_hard_link(outside, page);
        what = "hand edit in Output";
        break;
      }
      case 11:  // strays in Output
        write_bytes(out / (pick(2) ? "altro.txt" : "res/altro/x.txt"), "x");
        fs::create_directories(out / "vecchia");
        what = "strays";
        break;
      case 12:  // the clock jumps: back (and stays), to where it was, or forward for one
                // compile and back again (the file system's clock goes with the computer's,
                // which this test cannot move: a clock ahead for good is not a jump)
        clock.offset = std::int64_t(int(pick(3)) - 1) * 3'600'000'000'000;
        jumped_forward = clock.offset > 0;
        what = "clock";
        break;
      case 13:
        style = pick(2) ? pm::PageStyle::Classic : pm::PageStyle::Mobile;
        what = "style";
        break;
      case 14:  // the state edited or lost
        if (pick(2)) fs::remove(out / std::string(pm::kSiteStateName));
        else write_bytes(out / std::string(pm::kSiteStateName), "pagimond-stato 2\r\nk 1 2 3\r\n");
        what = "state";
        break;
      default:  // time passes: the files settle
        std::this_thread::sleep_for(std::chrono::milliseconds(25));
        what = "pause";
        break;
    }
    kept += compare("step " + std::to_string(step) + ": " + what).kept;
    if (std::exchange(jumped_forward, false)) clock.offset = 0;
    ASSERT_FALSE(HasFailure()) << "seed " << seed << ", step " << step << ": " << what;
  }
  EXPECT_EQ(read_bytes(outside), "di fuori");  // never written through a link
  EXPECT_GT(kept, 50u);                        // pages were reused, not only made
  EXPECT_GT(saved_alone, 3u);                  // and saves made their page alone
}

TEST_F(IncrementalCompile, WritesOnlyWhatChangedAndNothingForAnUnchangedBook) {
  // Files changed just before a compile are made again by the next one (a second change
  // within the file system's resolution would look the same), though written only when
  // their page differs: the book settles first.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  compare("first");
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  pm::CompileReport again = compare("unchanged");
  EXPECT_EQ(again.changes, 0u);
  EXPECT_EQ(again.kept, rooms.size());

  write_bytes(book / "3", "Cambiata\r\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  pm::CompileReport one = compare("one room");
  EXPECT_EQ(one.pages, 1u);
  EXPECT_EQ(one.changes, 1u);

  // A save in the editor: that page alone, and the whole compile after it (the watcher's)
  // finds nothing more to write, so open pages reload once.
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  write_bytes(book / "4", "Salvata\r\n");
  const pm::CompileResult saved = compile(pm::OutputState::Reuse, out, {"4"});
  EXPECT_EQ(saved.report.pages, 1u);
  EXPECT_EQ(saved.report.kept, 0u);  // nothing else was looked at
  EXPECT_EQ(compare("after a save").changes, 0u);

  // --full writes everything and keeps the state; a book for readers keeps none.
  EXPECT_EQ(compile(pm::OutputState::Rebuild, out).report.pages, rooms.size());
  EXPECT_TRUE(fs::exists(out / std::string(pm::kSiteStateName)));
  compile(pm::OutputState::Drop, out);
  EXPECT_FALSE(fs::exists(out / std::string(pm::kSiteStateName)));
}

}  // namespace

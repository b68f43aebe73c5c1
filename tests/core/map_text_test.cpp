// The adventure map text: headers, trimmed lines, link markers, and equality with the
// straightforward build that rewrites the whole text after every room.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "map/map_text.h"
#include "rooms/room_list.h"
#include "support/replace_every.h"
#include "support/temp_dir.h"

namespace {

using pmtest::TempDir;
using pmtest::replace_every;
using pmtest::write_bytes;

std::string trim(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return "";
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

struct Room {
  std::string number, description, text;
};

// The map as first described: append a room, then rewrite the whole text built so far.
std::string straightforward_map(const std::vector<Room>& rooms, const pm::MapOptions& o) {
  std::string map;
  for (const auto& r : rooms) {
    map += o.numbers_only ? "#" + r.number
                          : "---------------| Stanza " + r.number + " - " + r.description + " |---------------";
    map += "\r\n";
    std::string line;
    for (size_t i = 0; i <= r.text.size(); ++i) {
      char c = i < r.text.size() ? r.text[i] : '\0';
      if (i < r.text.size() && c != '\r' && c != '\n') {
        line += c;
        continue;
      }
      if (i == r.text.size() && line.empty()) break;
      map += trim(line) + "\r\n";
      line.clear();
      if (c == '\r' && i + 1 < r.text.size() && r.text[i + 1] == '\n') ++i;
    }
    map += "\r\n\r\n\r\n\r\n\r\n";
    map = replace_every(map, "( ", "(");
    map = replace_every(map, "<a href=\"", "(" + o.phrase + " ");
    map = replace_every(map, ".htm\">", ") ");
    map = replace_every(map, "</a>", "");
  }
  return map;
}

std::string built_map(const std::vector<Room>& rooms, const pm::MapOptions& o) {
  pm::MapTextBuilder builder(o, rooms.size());
  for (const auto& r : rooms) builder.add_room((r.number.size() == 1 ? " " : "") + r.number + " | " + r.description, r.text);
  return builder.take();
}

TEST(MapText, HeadersLinesAndMarkersFromTheProjectFiles) {
  TempDir dir;
  write_bytes(dir / "Libro/0", "  Apri la porta e <a href=\"7.htm\">entra</a>  \r\nTorna <a href='3.htm'>indietro</a>\r\n");
  write_bytes(dir / "Libro/1", "riga uno\nriga due\rriga tre");  // LF and CR line ends
  pm::Project project(dir / "Libro", "Libro");
  const std::vector<std::string> entries = {" 0 | Luogo di partenza", " 1 | La cantina", " 2 | Persa"};

  const std::string five = "\r\n\r\n\r\n\r\n\r\n";
  EXPECT_EQ(pm::build_map_text(project, entries, {}),
            "---------------| Stanza 0 - Luogo di partenza |---------------\r\n"
            "Apri la porta e (Si collega alla Stanza 7) entra\r\n"
            "Torna <a href='3.htm'>indietro\r\n" +
                five +
                "---------------| Stanza 1 - La cantina |---------------\r\n"
                "riga uno\r\nriga due\r\nriga tre\r\n" +
                five + "---------------| Stanza 2 - Persa |---------------\r\n" + five);

  pm::MapOptions options{true, "Vai alla"};
  std::string numbers = pm::build_map_text(project, {"12 | Dodici", " 0 | Inizio"}, options);
  EXPECT_EQ(numbers.substr(0, 6), "#12\r\n\r");
  EXPECT_NE(numbers.find("Apri la porta e (Vai alla 7) entra\r\n"), std::string::npos);
  EXPECT_EQ(pm::build_map_text(project, {}, {}), "");
}

TEST(MapText, TheProjectMapStreamedInPiecesIsTheMapOfTheRoomList) {
  // More rooms than are read ahead at once, their texts rewritten on the other thread, the
  // headers from the description files' whole first lines; rooms without a text file; some early rooms whose
  // markers keep changing until the last room.
  TempDir dir;
  pm::Project project(dir / "Libro", "Libro");
  std::filesystem::create_directories(dir / "Libro" / "Room");
  std::vector<Room> rooms;
  for (int i = 0; i < 700; ++i) {
    const std::string n = std::to_string(i);
    // Descriptions with commas, leading zeros and quotes head their rooms whole.
    std::string description = i % 7 == 2   ? "Porta, chiusa " + n
                              : i % 7 == 3 ? "00" + n
                              : i % 7 == 4 ? "\"Fuggi!\" grid\xC3\xB2 " + n
                                           : "Stanza " + n;
    ASSERT_TRUE(project.write_description(n, description).ok());
    std::string text = i % 50 == 3 ? "x(     y (</a>   <a href=\"" + n + ".htm\">a</a>\r\nfine"
                                     : "Riga " + n + " <a href=\"" + std::to_string(i * 7 % 700) + ".htm\">vai</a>\n";
    if (i % 9 == 4) text.clear();
    else ASSERT_TRUE(project.write_text_bytes(n, text).ok());
    rooms.push_back({n, description, text});
  }
  std::sort(rooms.begin(), rooms.end(), [](const Room& a, const Room& b) { return a.number < b.number; });
  for (const pm::MapOptions& options : {pm::MapOptions{}, pm::MapOptions{true, "( "}}) {
    std::string streamed;
    size_t pieces = 0;
    pm::write_project_map(project, project.room_names(), options, [&](std::string_view piece) {
      streamed += piece;
      ++pieces;
    });
    EXPECT_EQ(streamed, straightforward_map(rooms, options));
    EXPECT_EQ(streamed, pm::build_map_text(project, pm::build_room_list(project), options));
    EXPECT_GE(pieces, 1u);
  }
}

TEST(MapText, EarlierRoomsKeepChangingAsLaterRoomsAreAdded) {
  // A blank run after "(" loses one blank for every room from its own to the end, and a
  // "</a>" removed from between "(" and a blank exposes the blank to the next pass.
  std::vector<Room> rooms = {{"0", "a", "x(     y (</a>   z"}, {"1", "b", "w"}, {"2", "c", "(  "}};
  const std::string map = built_map(rooms, {});
  EXPECT_NE(map.find("x(  y ( z\r\n"), std::string::npos);
  EXPECT_EQ(map, straightforward_map(rooms, {}));

  // A phrase holding a link opening grows its marker once per pass.
  pm::MapOptions growing{false, "<a href=\""};
  rooms = {{"0", "a", "<a href=\"1.htm\">x</a>"}, {"1", "b", ""}, {"2", "c", "<a href=\""}};
  EXPECT_EQ(built_map(rooms, growing), straightforward_map(rooms, growing));
}

// Random books over the characters of the patterns, with pieces of patterns and phrases
// that hold patterns, compared with the straightforward build.
TEST(MapText, SameBytesAsTheStraightforwardBuildOnAdversarialBooks) {
  std::mt19937 rng(20240611);
  const std::vector<std::string> pieces = {"(", " ", "( ", "<a href=\"", ".htm\">", "</a>", "<", "/", "a", ">",
                                           "<a", " href=\"", ".h", "tm\">", "\"", ".", "x", "\r\n", "\n", "\r",
                                           "</", "a>", "(</a> ", "<</a>/a>", "7"};
  const std::vector<std::string> phrases = {"Si collega alla Stanza", "", " ", "( ", "(", "x(", "<a", "x<a",
                                            ".htm\">", "</a>", "<a href=\"", "a ( b", "<", "/a>", "\r\n", "("};
  auto random_text = [&](size_t max_pieces) {
    std::string s;
    size_t n = rng() % (max_pieces + 1);
    for (size_t i = 0; i < n; ++i) s += pieces[rng() % pieces.size()];
    return s;
  };
  for (int book = 0; book < 20000; ++book) {
    pm::MapOptions options{rng() % 4 == 0, phrases[rng() % phrases.size()]};
    if (rng() % 5 == 0) options.phrase = random_text(3);
    std::vector<Room> rooms(rng() % 6);
    for (size_t i = 0; i < rooms.size(); ++i)
      rooms[i] = {std::to_string(i), trim(random_text(2)), random_text(14)};  // the list trims descriptions
    ASSERT_EQ(built_map(rooms, options), straightforward_map(rooms, options))
        << "book " << book << " phrase [" << options.phrase << "]";
  }
}

TEST(MapText, LongRunsAndDeepNestingMatchTheStraightforwardBuild) {
  // Inputs that need many passes: long blank runs after "(", "</a>" nested deep inside
  // itself and around a link opening, in a book long enough to settle them or not.
  std::string nested = "</a>";
  for (int i = 0; i < 40; ++i) nested = (i % 2 ? "</" + nested + "a>" : "<" + nested + "/a>");
  const std::string hard = "(" + std::string(80, ' ') + "fine (" + nested + "   x <a hr" + nested + "ef=\"1.ht" +
                           nested + "m\">uscita" + nested;
  std::vector<Room> rooms;
  for (int i = 0; i < 60; ++i)
    rooms.push_back({std::to_string(i), "s", i % 7 == 0 ? hard : "<a href=\"" + std::to_string(i) + ".htm\">via</a>"});
  for (const std::string phrase : {"Si collega alla Stanza", "", "( "}) {
    pm::MapOptions options{false, phrase};
    EXPECT_EQ(built_map(rooms, options), straightforward_map(rooms, options)) << "phrase [" << phrase << "]";
  }
}

}  // namespace

// The project manager's room list built from real description files: the entries byte for
// byte, their text order, descriptions read as whole lines, and the split of an entry.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "rooms/room_list.h"
#include "support/temp_dir.h"

namespace {

using pmtest::TempDir;
using pmtest::write_bytes;
using Entries = std::vector<std::string>;

TEST(RoomListTest, EntriesLineUpAndFollowTextOrder) {
  TempDir t;
  for (int i = 0; i < 12; ++i) write_bytes(t / "Room" / std::to_string(i), "Stanza " + std::to_string(i) + "\r\n");
  write_bytes(t / "Room" / "0", "Luogo di partenza\r\n");
  write_bytes(t / "Room" / "3", "La cantina\r\n");
  write_bytes(t / "Room" / "11", "Il ponte\r\n");
  write_bytes(t / "Room" / "notes.txt", "not a room\r\n");
  write_bytes(t / "0", "\r\n");  // room texts are not rooms of the list
  pm::Project project(t.path(), "Libro");

  EXPECT_EQ(pm::build_room_list(project),
            (Entries{" 0 | Luogo di partenza", " 1 | Stanza 1", "10 | Stanza 10", "11 | Il ponte", " 2 | Stanza 2",
                     " 3 | La cantina", " 4 | Stanza 4", " 5 | Stanza 5", " 6 | Stanza 6", " 7 | Stanza 7",
                     " 8 | Stanza 8", " 9 | Stanza 9"}));
  EXPECT_EQ(pm::room_numbers(pm::build_room_list(project)),
            (Entries{"0", "1", "10", "11", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

// A description is its file's whole first line: commas, leading zeros and quotes inside
// stay as typed; a pair of quotes around the whole line (older files) is removed.
TEST(RoomListTest, DescriptionsAreReadAsTheWholeFirstLine) {
  const std::vector<std::pair<std::string, std::string>> files = {
      {"Porta, chiusa\r\n", "Porta, chiusa"},
      {"\"Porta, chiusa\"\r\n", "Porta, chiusa"},  // written quoted before
      {"007\r\n", "007"},
      {"", ""},      // empty file
      {"\r\n", ""},  // a deleted room: one empty line
      {"   rientro  \r\nseconda riga\r\n", "rientro"},
      {"\"007\"", "007"},
      {"Solo LF\nseconda", "Solo LF"},
      {"citt\xe0 \xc3\xa8", "citt\xe0 \xc3\xa8"},  // bytes pass through
      {"\"aperta, senza fine", "\"aperta, senza fine"},
      {"\"Fuggi!\" grid\xc3\xb2\r\n", "\"Fuggi!\" grid\xc3\xb2"},
      {"\"Uno\" e \"due\"\r\n", "\"Uno\" e \"due\""},  // two quoted words, not one quoted line
      {"\"\"\r\n", ""},
      {"\"\r\n", "\""},
      {"2.50\r\n", "2.50"},
  };
  TempDir t;
  for (size_t i = 0; i < files.size(); ++i) write_bytes(t / "Room" / std::to_string(i), files[i].first);
  const pm::Project project(t.path(), "Libro");
  std::map<std::string, std::string> shown;
  for (const auto& entry : pm::build_room_list(project)) {
    const pm::RoomEntry e = pm::split_room_entry(entry);
    shown[e.number] = e.description;
  }
  for (size_t i = 0; i < files.size(); ++i) {
    EXPECT_EQ(shown[std::to_string(i)], files[i].second) << files[i].first;
    // The edit and duplicate questions are pre-filled with the same text.
    EXPECT_EQ(project.read_description_text(std::to_string(i)), files[i].second) << files[i].first;
  }
}

TEST(RoomListTest, TheRoomFolderIsFoundWhateverItsCase) {
  TempDir t;
  EXPECT_TRUE(pm::build_room_list(pm::Project(t.path(), "x")).empty());  // no folder at all
  write_bytes(t / "ROOM" / "0", "Inizio\r\n");
  EXPECT_EQ(pm::build_room_list(pm::Project(t.path(), "x")), (Entries{" 0 | Inizio"}));
}

TEST(RoomListTest, EntriesAreMadeAndSplitBack) {
  EXPECT_EQ(pm::make_room_entry("3", "La cantina"), " 3 | La cantina");
  EXPECT_EQ(pm::make_room_entry("12", "Il ponte"), "12 | Il ponte");
  EXPECT_EQ(pm::make_room_entry("7", ""), " 7 | ");

  // A "|" typed into a description cuts it at the second piece.
  for (auto [entry, number, description] :
       {std::tuple{" 3 | La cantina", "3", "La cantina"}, {"12 | Il ponte", "12", "Il ponte"},
        {" 4 | Sala | grande", "4", "Sala"}, {" 5 | ", "5", ""}, {"", "", ""}}) {
    auto e = pm::split_room_entry(entry);
    EXPECT_EQ(e.number, number) << entry;
    EXPECT_EQ(e.description, description) << entry;
  }
  for (const std::string name : {"0", "9", "10", "123"})
    EXPECT_EQ(pm::split_room_entry(pm::make_room_entry(name, "x")).number, name);
}

}  // namespace

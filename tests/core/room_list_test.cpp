// The project manager's room list built from real description files: the entries byte for
// byte, their text order, descriptions read as data fields, and the split of an entry.
#include <gtest/gtest.h>

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

TEST(RoomListTest, DescriptionsAreReadAsTheFirstDataField) {
  TempDir t;
  write_bytes(t / "Room" / "0", "Porta, chiusa\r\n");
  write_bytes(t / "Room" / "1", "\"Porta, chiusa\"\r\n");
  write_bytes(t / "Room" / "2", "007\r\n");
  write_bytes(t / "Room" / "3", "");              // empty file
  write_bytes(t / "Room" / "4", "\r\n");          // a deleted room: one empty line
  write_bytes(t / "Room" / "5", "   rientro  \r\nseconda riga\r\n");
  write_bytes(t / "Room" / "6", "\"007\"");
  write_bytes(t / "Room" / "7", "Solo LF\nseconda");
  write_bytes(t / "Room" / "8", "citt\xe0 \xc3\xa8");  // bytes pass through
  write_bytes(t / "Room" / "9", "\"aperta, senza fine");
  pm::Project project(t.path(), "Libro");

  EXPECT_EQ(pm::build_room_list(project),
            (Entries{" 0 | Porta", " 1 | Porta, chiusa", " 2 | 7", " 3 | ", " 4 | ", " 5 | rientro", " 6 | 007",
                     " 7 | Solo LF", " 8 | citt\xe0 \xc3\xa8", " 9 | aperta, senza fine"}));
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

// Room operations on real files: the number a new room takes (also over gaps and stray
// files), bars removed on creation and duplication, duplication byte for byte, deletion
// blanking, and failed writes that leave no half room behind. (Describing a room is
// driven through the project manager window in its test.)
#include <gtest/gtest.h>
#if !defined(_WIN32)
#include <sys/resource.h>

#include <csignal>
#endif

#include "project/project.h"
#include "rooms/room_list.h"
#include "rooms/room_operations.h"
#include "support/temp_dir.h"

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

namespace {

pm::Project book(const TempDir& dir, int rooms) {
  pm::Project p(dir.path(), "Libro");
  write_bytes(dir / "Libro.dat", "\"Libro\"\r\n");
  for (int i = 0; i < rooms; ++i) {
    write_bytes(dir / ("Room/" + std::to_string(i)), "Stanza " + std::to_string(i) + "\r\n");
    write_bytes(dir / std::to_string(i), "Testo\r\n");
  }
  return p;
}

}  // namespace

TEST(RoomOperations, NumberIsTheCountUnlessTaken) {
  TempDir dir;
  pm::Project p = book(dir, 5);
  EXPECT_EQ(pm::next_room_number(p, 5), "5");
  // A text file left where the next room would go (its description removed by hand).
  write_bytes(dir / "5", "vecchio\r\n");
  EXPECT_EQ(pm::next_room_number(p, 5), "6");
  // A gap: description 7 exists while the list counts 5 entries.
  write_bytes(dir / "Room/7", "sette\r\n");
  EXPECT_EQ(pm::next_room_number(p, 6), "6");
  EXPECT_EQ(pm::next_room_number(p, 7), "8");
  // A stray extension-less file in Room counts as an entry but has no number.
  TempDir other;
  pm::Project q = book(other, 3);
  write_bytes(other / "Room/note", "x\r\n");
  EXPECT_EQ(pm::build_room_list(q).size(), 4u);
  EXPECT_EQ(pm::next_room_number(q, 4), "4");
  write_bytes(other / "4", "");
  EXPECT_EQ(pm::next_room_number(q, 4), "5");
}

TEST(RoomOperations, CreateNeverOverwrites) {
  TempDir dir;
  pm::Project p = book(dir, 3);
  write_bytes(dir / "3", "testo scritto a mano\r\n");
  pm::RoomResult r = pm::create_room(p, 3, " Il | ponte|");
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  EXPECT_EQ(r.room, "4");
  EXPECT_EQ(read_bytes(dir / "3"), "testo scritto a mano\r\n");
  EXPECT_EQ(read_bytes(dir / "Room/4"), " Il  ponte\r\n");
  EXPECT_EQ(read_bytes(dir / "4"), "\r\n");
  // Two requests on the same stale count give two rooms.
  EXPECT_EQ(pm::create_room(p, 3, "a").room, "5");
  EXPECT_EQ(pm::create_room(p, 3, "b").room, "6");
}

#if !defined(_WIN32)  // Windows has no per-process file-size limit
// Writes fail once a file would grow past `bytes` (the process's file-size limit).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &old_);
    rlimit limit = old_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old_); }

 private:
  rlimit old_{};
};

TEST(RoomOperations, FailedWritesLeaveNoHalfRoom) {
  TempDir dir;
  pm::Project p = book(dir, 2);
  write_bytes(dir / "1", std::string(300, 'x') + "\r\n");
  const std::string long_description(200, 'd');
  pm::RoomResult created, duplicated;
  {
    FileSizeLimit limit(100);
    created = pm::create_room(p, 2, long_description);     // the text fits, the description not
    duplicated = pm::duplicate_room(p, "1", 2, "Copia");   // the text does not fit
  }
  EXPECT_EQ(created.status.kind(), pm::StatusKind::WriteFailed);
  EXPECT_EQ(duplicated.status.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(created.status.message().find("Impossibile scrivere il file"), std::string::npos);
  EXPECT_NE(created.status.message().find("Room"), std::string::npos);
  EXPECT_NE(duplicated.status.message().find("2"), std::string::npos);
  for (const char* f : {"Room/2", "2", "2.js"}) EXPECT_FALSE(std::filesystem::exists(dir / f)) << f;
  for (const auto& e : std::filesystem::directory_iterator(dir.path()))
    EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
  EXPECT_EQ(pm::build_room_list(p).size(), 2u);

  // A script that cannot be written takes the copied text back.
  write_bytes(dir / "1", "breve\r\n");
  write_bytes(dir / "1.js", std::string(300, 's'));
  {
    FileSizeLimit limit(100);
    duplicated = pm::duplicate_room(p, "1", 2, "Copia");
  }
  EXPECT_EQ(duplicated.status.kind(), pm::StatusKind::WriteFailed);
  for (const char* f : {"Room/2", "2", "2.js"}) EXPECT_FALSE(std::filesystem::exists(dir / f)) << f;
}
#endif

TEST(RoomOperations, DuplicateCopiesTextAndScriptLineByLine) {
  TempDir dir;
  pm::Project p = book(dir, 6);
  const std::string text = "  \"Vai\", disse,  \"al ponte\"\r\n\t, ,\r\n\r\n<a href=\"3.htm\">su</a>\r\n";
  write_bytes(dir / "2", text);
  write_bytes(dir / "2.js", "var a = \"x,y\";\r\n");
  pm::RoomResult r = pm::duplicate_room(p, "2", 6, "Copia | due");
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  EXPECT_EQ(r.room, "6");
  EXPECT_EQ(read_bytes(dir / "Room/6"), "Copia  due\r\n");
  EXPECT_EQ(read_bytes(dir / "6"), text);
  EXPECT_EQ(read_bytes(dir / "6.js"), "var a = \"x,y\";\r\n");

  // Lines end in CR LF afterwards whatever they ended with; a missing or empty source gives
  // one empty line; a missing script also.
  write_bytes(dir / "3", "uno\ndue\rtre");
  pm::RoomResult r2 = pm::duplicate_room(p, "3", 7, "x");
  EXPECT_EQ(read_bytes(dir / "7"), "uno\r\ndue\r\ntre\r\n");
  EXPECT_EQ(read_bytes(dir / "7.js"), "\r\n");
  write_bytes(dir / "4", "");
  pm::duplicate_room(p, "4", 8, "y");
  EXPECT_EQ(read_bytes(dir / "8"), "\r\n");
  EXPECT_EQ(r2.room, "7");
}

TEST(RoomOperations, DeleteBlanksAndKeepsTheNumber) {
  TempDir dir;
  pm::Project p = book(dir, 6);
  write_bytes(dir / "4.js", "x\r\n");
  pm::RoomResult r = pm::delete_room(p, "4");
  ASSERT_TRUE(r.status.ok()) << r.status.message();
  EXPECT_EQ(read_bytes(dir / "Room/4"), "\r\n");
  EXPECT_EQ(read_bytes(dir / "4"), "");
  EXPECT_TRUE(std::filesystem::exists(dir / "4"));
  EXPECT_FALSE(std::filesystem::exists(dir / "4.js"));
  auto entries = pm::build_room_list(p);
  ASSERT_EQ(entries.size(), 6u);
  EXPECT_EQ(entries[4], " 4 | ");
  EXPECT_EQ(pm::next_room_number(p, entries.size()), "6");
  // Deleting a room without a script is fine too.
  EXPECT_TRUE(pm::delete_room(p, "5").status.ok());
}

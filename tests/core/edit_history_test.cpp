// The edit history: the 51-slot rule, undo and redo, and the load recorded without the
// snapshots the rule drops, compared with the straightforward procedure.
#include "editor/edit_history.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using pm::EditHistory;

// The procedure as written: shift the slots one by one and store a copy every time.
struct PlainHistory {
  std::array<std::string, 51> slots;
  int pos = 0;
  void record(const std::string& text) {
    if (++pos >= 51) {
      for (int i = 1; i <= 50; ++i) slots[size_t(i - 1)] = slots[size_t(i)];
      pos = 50;
    }
    slots[size_t(pos)] = text;
  }
};

void expect_same(const EditHistory& h, const PlainHistory& p, const std::string& where) {
  ASSERT_EQ(h.position(), p.pos) << where;
  for (int i = 0; i < 51; ++i) ASSERT_EQ(h.slot(i), p.slots[size_t(i)]) << where << " slot " << i;
}

std::string numbered(int i) { return "t" + std::to_string(i); }

TEST(EditHistory, UndoAtStartRedoAtNewestTypingAfterUndoAndReplay) {
  EditHistory h;
  EXPECT_FALSE(h.undo());
  EXPECT_FALSE(h.redo());  // nothing recorded yet: no empty slot comes back
  h.record("a");
  h.record("ab");
  h.record("abc");
  EXPECT_EQ(*h.undo(), "ab");
  EXPECT_EQ(*h.undo(), "a");
  EXPECT_EQ(*h.undo(), "");  // slot 0: the text before the first change
  EXPECT_EQ(*h.redo(), "a");
  h.record("aX");  // typing after an undo overwrites the next slot ...
  EXPECT_EQ(h.position(), 2);
  EXPECT_EQ(h.slot(2), "aX");
  EXPECT_FALSE(h.redo());  // ... and is the newest state: "abc" is gone for redo
  EXPECT_EQ(h.slot(3), "abc");   // (the slot above still holds its old text)

  h.set_replaying(true);  // putting a slot back is not itself a change
  h.record("ignored");
  h.set_replaying(false);
  EXPECT_EQ(h.position(), 2);
  EXPECT_EQ(*h.undo(), "a");
}

// (Sixty changes and a three-line load are driven through the editor window in its test.)
TEST(EditHistory, LoadingEmptyAndBlankFiles) {
  EditHistory empty;
  EXPECT_EQ(empty.record_load({}, "\r\n"), "");
  EXPECT_EQ(empty.position(), 0);
  EditHistory one_blank;  // a file of one empty line: the append and the trim are changes
  EXPECT_EQ(one_blank.record_load({""}, "\n"), "");
  EXPECT_EQ(one_blank.position(), 2);
  EXPECT_EQ(one_blank.slot(1), "\n");
}

// The load recorded at once against one record() per change, from many starting states.
TEST(EditHistory, RecordingTheLoadEqualsRecordingEachAppend) {
  for (int before = 0; before <= 70; before += 7) {
    for (int undos = 0; undos <= 3; ++undos) {
      for (size_t lines : {size_t(0), size_t(1), size_t(2), size_t(29), size_t(48), size_t(49), size_t(50),
                           size_t(51), size_t(100), size_t(160)}) {
        EditHistory fast;
        PlainHistory plain;
        for (int i = 1; i <= before; ++i) {
          fast.record(numbered(i));
          plain.record(numbered(i));
        }
        for (int u = 0; u < undos && plain.pos > 0; ++u) {
          fast.undo();
          --plain.pos;
        }
        std::vector<std::string> store;
        for (size_t i = 0; i < lines; ++i) store.push_back(i % 5 == 0 ? "" : "riga " + std::to_string(i));
        std::vector<std::string_view> views(store.begin(), store.end());
        std::string shown = fast.record_load(views, "\r\n");
        std::string text;
        for (auto& l : store) plain.record(text += l + "\r\n");
        if (!store.empty()) {
          text.resize(text.size() - 2);
          plain.record(text);
        }
        std::string where = "before " + std::to_string(before) + " undos " + std::to_string(undos) + " lines " +
                            std::to_string(lines);
        EXPECT_EQ(shown, text) << where;
        expect_same(fast, plain, where);
        // A load records changes like typing does (an empty file records none).
        if (!store.empty()) {
          EXPECT_EQ(fast.newest(), fast.position()) << where;
        }
      }
    }
  }
}

// Snapshots kept against a shared base give back exactly the recorded texts, whatever
// the edits: typing in one place, far apart, large pastes and deletions, undo in between.
TEST(EditHistory, CompactSnapshotsGiveBackTheRecordedTexts) {
  std::mt19937 rng(11);
  EditHistory h;
  PlainHistory plain;
  std::string text(30000, 'a');
  for (size_t i = 0; i < text.size(); ++i) text[i] = char('a' + i % 26);
  h.record(text);
  plain.record(text);
  for (int step = 0; step < 400; ++step) {
    const unsigned kind = rng() % 10;
    const size_t at = text.empty() ? 0 : rng() % (text.size() + 1);
    if (kind < 6) {
      text.insert(at, 1, char('A' + step % 26));
    } else if (kind < 8 && !text.empty()) {
      text.erase(at == text.size() ? at - 1 : at, 1 + rng() % 3);
    } else if (kind == 8) {
      text.insert(at, std::string(rng() % 9000, 'p'));
    } else {
      text.erase(at, rng() % 12000);
    }
    if (rng() % 7 == 0 && plain.pos > 0) {
      auto back = h.undo();
      --plain.pos;
      ASSERT_TRUE(back);
      ASSERT_EQ(*back, plain.slots[size_t(plain.pos)]);
      text = *back;
    }
    h.record(text);
    plain.record(text);
    if (step % 50 == 0) expect_same(h, plain, "step " + std::to_string(step));
  }
  expect_same(h, plain, "end");
}

}  // namespace

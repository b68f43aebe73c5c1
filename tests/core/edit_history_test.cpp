// The edit history: the 51-slot rule, undo and redo, compact snapshots compared with the
// straightforward procedure, and the loaded text as the bottom of the history.
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

// The text as loaded is the bottom of the history: undo right after a load does nothing,
// undo after edits stops at the loaded text, and an earlier history is gone.
TEST(EditHistory, TheLoadedTextIsTheBottomOfTheHistory) {
  struct Case {
    const char* loaded;
    std::vector<std::string> edits;
    std::string bottom;  // where undo stops
  };
  std::vector<std::string> sixty;
  for (int i = 1; i <= 60; ++i) sixty.push_back("uno\ndue\ntre" + std::string(size_t(i), '!'));
  const std::vector<Case> cases = {
      {"uno\ndue\ntre", {}, "uno\ndue\ntre"},
      {"", {}, ""},
      {"\n", {}, "\n"},
      {"uno\ndue\ntre", {"uno\ndue\ntreX", "uno\ndue\ntreXY"}, "uno\ndue\ntre"},
      {"uno\ndue\ntre", sixty, sixty[9]},  // past 50 edits the oldest kept edit is the bottom
  };
  for (const Case& c : cases) {
    EditHistory h;
    for (int i = 1; i <= 5; ++i) h.record(numbered(i));  // a history from before the load
    h.start(c.loaded);
    EXPECT_EQ(h.position(), 0) << c.loaded;
    EXPECT_FALSE(h.redo()) << c.loaded;
    for (const auto& e : c.edits) h.record(e);
    std::string text = c.edits.empty() ? std::string(c.loaded) : c.edits.back();
    for (int i = 0; i < 60; ++i)
      if (auto back = h.undo()) text = *back;
    EXPECT_EQ(text, c.bottom) << c.loaded << " after " << c.edits.size() << " edits";
    EXPECT_FALSE(h.undo());
    if (!c.edits.empty()) {
      EXPECT_EQ(*h.redo(), c.edits.size() > 50 ? sixty[10] : c.edits.front());
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

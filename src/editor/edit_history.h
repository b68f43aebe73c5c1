// The room editor's edit history: 51 whole-text slots, a position and a replay flag.
// Every change of the text records a snapshot; undo and redo put a slot back.
//
// A slot holds its text compactly: a shared base text with one replaced stretch
// (base[0, head) + middle + base[tail, end)). A keystroke in a large room therefore stores
// a few bytes instead of a copy, the slots of a load all share the loaded text, and
// dropping the oldest slot moves nothing (the slots live in a ring).
#pragma once

#include <array>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace pm {

class EditHistory {
 public:
  static constexpr int kSlots = 51;
  static constexpr int kLast = kSlots - 1;

  // Records the whole current text: the position moves up one; at the top the oldest
  // snapshot is dropped and the position stays at the last slot. Does nothing while a
  // replay is running.
  void record(std::string_view text);

  // A text given against a shared base: base[0, head) + middle + base[tail, end).
  struct Stretch {
    size_t head = 0, tail = 0;
    std::string middle;
  };
  // Records `count` changes at once, exactly as one record() per change would; change k
  // (1..count, k = count the last) left the text that stretch(k) gives against `base`.
  // Only the changes whose snapshot the rule keeps are asked for, so the cost does not
  // grow with `count` beyond the 51 slots. Does nothing while a replay runs.
  void record_changes(std::shared_ptr<const std::string> base, size_t count,
                      const std::function<Stretch(size_t k)>& stretch);

  // Starts a fresh history on a loaded text: it is slot 0 and the position is 0, so undo
  // right after a load does nothing and undo after edits stops at the text as loaded.
  void start(std::string_view loaded);

  // The text to put back, or nothing when there is nothing to undo / redo. Redo stops at
  // the newest recorded state.
  std::optional<std::string> undo();
  std::optional<std::string> redo();

  // Set while undo or redo puts a slot back into the text area, so that change records nothing.
  void set_replaying(bool on) { replaying_ = on; }
  bool replaying() const { return replaying_; }

  int position() const { return pos_; }
  int newest() const { return newest_; }
  std::string slot(int i) const;

 private:
  struct Snapshot {
    std::shared_ptr<const std::string> base;  // null: the empty text
    size_t head = 0, tail = 0;
    std::string middle;
    std::string text() const;
  };

  size_t physical(int i) const { return (start_ + size_t(i)) % kSlots; }
  Snapshot& at(int i) { return ring_[physical(i)]; }
  const Snapshot& at(int i) const { return ring_[physical(i)]; }
  // Moves the position up `count` changes; make(k, slot) fills the k-th new snapshot
  // (k = 1..count, increasing) for the changes whose snapshot is kept.
  template <typename Make>
  void advance(size_t count, Make&& make);
  Snapshot snapshot_of(std::string_view text);

  std::array<Snapshot, kSlots> ring_;
  size_t start_ = 0;  // physical index of slot 0
  int pos_ = 0;
  int newest_ = 0;
  bool replaying_ = false;
  std::shared_ptr<const std::string> base_;  // base of the last recorded snapshot
};

}  // namespace pm

// The edit history (see edit_history.h).
#include "editor/edit_history.h"

#include <cstring>

namespace pm {

namespace {

constexpr size_t kBlock = 4096;

size_t common_prefix(std::string_view a, std::string_view b) {
  const size_t n = a.size() < b.size() ? a.size() : b.size();
  size_t i = 0;
  while (i + kBlock <= n && std::memcmp(a.data() + i, b.data() + i, kBlock) == 0) i += kBlock;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

// Common suffix of a and b, at most `limit` bytes.
size_t common_suffix(std::string_view a, std::string_view b, size_t limit) {
  size_t i = 0;
  while (i + kBlock <= limit &&
         std::memcmp(a.data() + a.size() - i - kBlock, b.data() + b.size() - i - kBlock, kBlock) == 0)
    i += kBlock;
  while (i < limit && a[a.size() - 1 - i] == b[b.size() - 1 - i]) ++i;
  return i;
}

}  // namespace

std::string EditHistory::Snapshot::text() const {
  if (!base) return middle;
  std::string out;
  out.reserve(head + middle.size() + (base->size() - tail));
  out.append(*base, 0, head).append(middle).append(*base, tail, std::string::npos);
  return out;
}

std::string EditHistory::slot(int i) const { return at(i).text(); }

EditHistory::Snapshot EditHistory::snapshot_of(std::string_view text) {
  Snapshot s;
  if (base_) {
    const std::string_view base = *base_;
    const size_t head = common_prefix(text, base);
    const size_t limit = (text.size() < base.size() ? text.size() : base.size()) - head;
    const size_t same_end = common_suffix(text, base, limit);
    const size_t middle = text.size() - head - same_end;
    // A stretch that is small, or small beside the text, is kept against the base;
    // otherwise the text becomes the new base.
    if (middle <= kBlock || middle <= text.size() / 8) {
      s.base = base_;
      s.head = head;
      s.tail = base.size() - same_end;
      s.middle.assign(text.substr(head, middle));
      return s;
    }
  }
  base_ = std::make_shared<const std::string>(text);
  s.base = base_;
  s.head = s.tail = text.size();
  return s;
}

template <typename Make>
void EditHistory::advance(size_t count, Make&& make) {
  const size_t p = size_t(pos_);
  if (p + count <= size_t(kLast)) {
    for (size_t k = 1; k <= count; ++k) make(k, at(int(p + k)));
    pos_ = int(p + count);
  } else {
    // Recording one by one would shift the slots p + count - 50 times; slot j then holds
    // what position j + shifts held without shifting: an old slot while that is <= p,
    // else the change j + shifts - p.
    const size_t shifts = p + count - size_t(kLast);
    start_ = (start_ + shifts % kSlots) % kSlots;
    for (size_t j = 0; j <= size_t(kLast); ++j)
      if (j + shifts > p) make(j + shifts - p, at(int(j)));
    pos_ = kLast;
  }
  newest_ = pos_;
}

void EditHistory::record(std::string_view text) {
  if (replaying_) return;
  Snapshot s = snapshot_of(text);
  advance(1, [&](size_t, Snapshot& slot) { slot = std::move(s); });
}

void EditHistory::record_changes(std::shared_ptr<const std::string> base, size_t count,
                                 const std::function<Stretch(size_t k)>& stretch) {
  if (replaying_ || count == 0) return;
  base_ = base;
  advance(count, [&](size_t k, Snapshot& slot) {
    Stretch s = stretch(k);
    slot.base = base;
    slot.head = s.head;
    slot.tail = s.tail;
    slot.middle = std::move(s.middle);
  });
}

void EditHistory::start(std::string_view loaded) {
  *this = EditHistory();
  base_ = std::make_shared<const std::string>(loaded);
  Snapshot& bottom = at(0);
  bottom.base = base_;
  bottom.head = bottom.tail = base_->size();
}

std::optional<std::string> EditHistory::undo() {
  if (pos_ <= 0) return std::nullopt;
  --pos_;
  return at(pos_).text();
}

std::optional<std::string> EditHistory::redo() {
  if (pos_ >= kLast || pos_ >= newest_) return std::nullopt;
  ++pos_;
  return at(pos_).text();
}

}  // namespace pm

// Find and replace (see find_replace.h).
#include "editor/find_replace.h"

#include <memory>
#include <vector>

#include "editor/folded_search.h"

namespace pm {

FindResult find_first(std::string_view text, std::string_view find) {
  if (find.empty()) return {Selection{0, 0}, {}};
  if (auto m = FoldedPattern(find).find_in(text)) return {m, {}};
  return {std::nullopt, kNotFoundMessage};
}

FindResult find_next(std::string_view text, Selection current, std::string_view find) {
  if (find.empty()) return {std::nullopt, kFinishedMessage};
  if (auto m = FoldedPattern(find).find_in(text, current.end())) return {m, {}};
  return {std::nullopt, kFinishedMessage};
}

ReplaceResult find_and_replace_one(std::string_view text, Selection current, std::string_view find,
                                   std::string_view replacement, EditHistory& history) {
  if (find.empty()) return {std::string(text), 0, std::nullopt, kEmptyFindMessage};
  const FoldedPattern pattern(find);
  if (pattern.find_in(text, current.start) != current) {
    // The selection is not an occurrence: show the next one, replace nothing.
    std::optional<Selection> next = pattern.find_in(text, current.end());
    if (!next) next = pattern.find_in(text);
    if (!next) return {std::string(text), 0, std::nullopt, kNotFoundMessage};
    return {std::string(text), 0, next, {}};
  }
  ReplaceResult r;
  Selection inserted;
  r.text = apply_replacement(text, current, selected(std::string(replacement)), &inserted);
  history.record(r.text);
  r.changes = 1;
  const std::optional<Selection> next = pattern.find_in(r.text, inserted.end());
  r.selection = next ? next : inserted;
  if (!next) r.message = kFinishedMessage;
  return r;
}

ReplaceResult find_and_replace_all(std::string_view text, std::string_view find, std::string_view replacement,
                                   EditHistory& history) {
  if (find.empty()) return {std::string(text), 0, std::nullopt, kEmptyFindMessage};
  const FindResult first = find_first(text, find);
  if (!first.selection) return {std::string(text), 0, std::nullopt, first.message};
  // Every search after the first starts where the last replaced occurrence ended, and
  // what follows that point is still the original text: so the occurrences are those of
  // one left-to-right scan of the original, and the text after k replacements is
  // out[0, out_end[k]) + text[text_end[k], end).
  const FoldedPattern pattern(find);
  auto out = std::make_shared<std::string>();
  out->reserve(text.size() + replacement.size());
  std::vector<size_t> text_end, out_end;
  size_t copied = 0;
  for (std::optional<Selection> m = first.selection; m; m = pattern.find_in(text, copied)) {
    out->append(text.substr(copied, m->start - copied)).append(replacement);
    copied = m->end();
    text_end.push_back(copied);
    out_end.push_back(out->size());
  }
  out->append(text.substr(copied));

  ReplaceResult r;
  const size_t n = text_end.size();
  r.changes = n;
  // After change k the text is the final one with the stretch that the later changes
  // replaced, out[out_end[k], out_end[n]), still as it was in the original.
  history.record_changes(out, r.changes, [&](size_t k) {
    return EditHistory::Stretch{out_end[k - 1], out_end[n - 1],
                                std::string(text.substr(text_end[k - 1], text_end[n - 1] - text_end[k - 1]))};
  });
  r.text = *out;
  r.selection = Selection{out_end[n - 1] - replacement.size(), replacement.size()};
  r.message = kFinishedMessage;
  return r;
}

}  // namespace pm

// Find and replace: case-blind search that keeps positions, the four commands with their
// messages, and replace-all against the step-by-step procedure, history included.
#include "editor/find_replace.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "editor/folded_search.h"

namespace {

using pm::EditHistory;
using pm::Selection;

TEST(FindReplace, SearchIgnoresCaseWithoutMovingPositions) {
  struct Case {
    std::string text, find;
    size_t from;
    std::optional<Selection> found;
  };
  const Case cases[] = {
      {"Il PONTE e il ponte", "ponte", 0, Selection{3, 5}},
      {"Il PONTE e il ponte", "Ponte", 4, Selection{14, 5}},
      {"Il PONTE e il ponte", "ponte", 15, std::nullopt},
      {"CITT\xC3\x80 citt\xC3\xA0", "citt\xC3\xA0", 0, Selection{0, 6}},  // À and à
      {"\xC5\x92UVRE", "\xC5\x93uvre", 0, Selection{0, 6}},              // Œ and œ
      {"\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "\xCE\xB1\xCE\x98", 0, Selection{0, 4}},  // Greek
      {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xD0\xBC\xD0\xBE\xD0\xA1", 0, Selection{0, 6}},
      // "İ" (2 bytes) folds to "i" (1 byte): what follows it is still found at its own place.
      {"\xC4\xB0stanbul, Istanbul", "istanbul", 0, Selection{0, 9}},
      {"\xC4\xB0 x abc", "abc", 0, Selection{5, 3}},
      // The failure links of the search: a repeated prefix that almost matches.
      {"aaaaaaaaab", "aaab", 0, Selection{6, 4}},
      {"abababac ababac", "ABABAC", 0, Selection{2, 6}},
      // A stray byte of a Windows-1252 text matches only itself.
      {"perch\xE9 PERCH\xE9", "perch\xE9", 1, Selection{7, 6}},
      {"ab", "", 0, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(pm::FoldedPattern(c.find).find_in(c.text, c.from), c.found) << c.text << " / " << c.find;
}

TEST(FindReplace, FindAndFindNextWithTheirMessages) {
  const std::string text = "Vai al ponte. Il ponte crolla.";
  auto r = pm::find_first(text, "PONTE");
  EXPECT_EQ(r.selection, (Selection{7, 5}));
  EXPECT_TRUE(r.message.empty());
  r = pm::find_next(text, *r.selection, "PONTE");
  EXPECT_EQ(r.selection, (Selection{17, 5}));
  r = pm::find_next(text, *r.selection, "PONTE");
  EXPECT_EQ(r.selection, std::nullopt);
  EXPECT_EQ(r.message, pm::kFinishedMessage);
  r = pm::find_next(text, Selection{text.size(), 0}, "ponte");  // caret at the end
  EXPECT_EQ(r.message, pm::kFinishedMessage);
  r = pm::find_next(text, Selection{0, 0}, "");
  EXPECT_EQ(r.selection, std::nullopt);
  EXPECT_EQ(r.message, pm::kFinishedMessage);
  r = pm::find_first(text, "fiume");
  EXPECT_EQ(r.selection, std::nullopt);
  EXPECT_EQ(r.message, pm::kNotFoundMessage);
  r = pm::find_first(text, "");  // the caret at the start, nothing selected
  EXPECT_EQ(r.selection, (Selection{0, 0}));
  EXPECT_TRUE(r.message.empty());
}

// "Sostituisci" replaces the selection when it is an occurrence, then selects the next;
// otherwise it replaces nothing and selects the next occurrence (the first when none
// follows). An empty find text replaces nothing.
TEST(FindReplace, ReplaceOneReplacesTheSelectedOccurrenceOrFindsTheNext) {
  struct Case {
    std::string text;
    Selection current;
    std::string find, replacement;
    std::string after;
    std::optional<Selection> selection;
    std::string_view message;
  };
  const Case cases[] = {
      // the second occurrence, selected by "Trova successivo", is the one replaced
      {"uno UNO uno", {4, 3}, "uno", "due", "uno due uno", Selection{8, 3}, {}},
      // a skipped occurrence stays; the last one replaced leaves the replacement selected
      {"uno UNO uno", {8, 3}, "uno", "due", "uno UNO due", Selection{8, 3}, pm::kFinishedMessage},
      // a replacement holding the find text: the next click goes on past it
      {"a a", {0, 1}, "a", "aa", "aa a", Selection{3, 1}, {}},
      {"aa a", {3, 1}, "a", "aa", "aa aa", Selection{3, 2}, pm::kFinishedMessage},
      // no occurrence selected: nothing replaced, the next occurrence selected
      {"uno UNO uno", {0, 0}, "uno", "due", "uno UNO uno", Selection{0, 3}, {}},
      {"uno UNO uno", {1, 2}, "uno", "due", "uno UNO uno", Selection{4, 3}, {}},
      {"uno UNO uno", {11, 0}, "uno", "due", "uno UNO uno", Selection{0, 3}, {}},  // caret at the end
      {"uno", {0, 3}, "due", "tre", "uno", std::nullopt, pm::kNotFoundMessage},
      {"uno", {0, 3}, "", "tre", "uno", std::nullopt, pm::kEmptyFindMessage},
  };
  for (const Case& c : cases) {
    EditHistory h;
    h.start(c.text);
    const pm::ReplaceResult r = pm::find_and_replace_one(c.text, c.current, c.find, c.replacement, h);
    const std::string where = c.text + " at " + std::to_string(c.current.start) + " find " + c.find;
    EXPECT_EQ(r.text, c.after) << where;
    EXPECT_EQ(r.selection, c.selection) << where;
    EXPECT_EQ(r.message, c.message) << where;
    EXPECT_EQ(r.changes, c.after == c.text ? 0u : 1u) << where;
    EXPECT_EQ(h.position(), int(r.changes)) << where;
  }
}

TEST(FindReplace, ReplaceAllTheBananaNothingFoundAndTheEmptyFindText) {
  EditHistory h;
  h.record("banana");
  auto r = pm::find_and_replace_all("banana", "a", "aa", h);
  EXPECT_EQ(r.text, "baanaanaa");
  EXPECT_EQ(r.changes, 3u);
  EXPECT_EQ(r.selection, (Selection{7, 2}));
  EXPECT_EQ(r.message, pm::kFinishedMessage);
  EXPECT_EQ(h.position(), 4);
  EXPECT_EQ(*h.undo(), "baanaana");
  EXPECT_EQ(*h.undo(), "baanana");
  EXPECT_EQ(*h.undo(), "banana");
  // Nothing found, or nothing to search for: nothing replaced, and the author is told why.
  for (auto [find, repl, message] : {std::tuple{"due", "tre", pm::kNotFoundMessage}, {"", "X", pm::kEmptyFindMessage},
                                     {"", "", pm::kEmptyFindMessage}}) {
    EditHistory e;
    r = pm::find_and_replace_all("abc", find, repl, e);
    EXPECT_EQ(r.text, "abc") << find;
    EXPECT_EQ(r.changes, 0u);
    EXPECT_EQ(r.selection, std::nullopt);
    EXPECT_EQ(r.message, message);
    EXPECT_EQ(e.position(), 0);
  }
}

// ---- replace all against the procedure it stands for ------------------------------------------

// Case-blind comparison character by character, tried at every character start: slow and plain.
std::optional<Selection> plain_find(const std::string& text, const std::string& find, size_t from) {
  auto chars = [](const std::string& s, size_t at, std::vector<size_t>* starts) {
    std::u32string out;
    for (size_t i = at; i < s.size();) {
      const unsigned char b = (unsigned char)s[i];
      const size_t len = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;  // the test texts are valid UTF-8
      char32_t c = len == 1 ? b : b & (0xFF >> (len + 1));
      for (size_t k = 1; k < len; ++k) c = (c << 6) | (s[i + k] & 0x3F);
      if (starts) starts->push_back(i);
      out.push_back(pm::fold_letter_case(c));
      i += len;
    }
    if (starts) starts->push_back(s.size());
    return out;
  };
  std::vector<size_t> starts;
  const std::u32string t = chars(text, from, &starts), f = chars(find, 0, nullptr);
  for (size_t i = 0; i + f.size() <= t.size(); ++i)
    if (t.compare(i, f.size(), f) == 0) return Selection{starts[i], starts[i + f.size()] - starts[i]};
  return std::nullopt;
}

struct Outcome {
  std::string text;
  std::optional<Selection> selection;
};

// Find, then replace the selection and find the next one until none is left, one history
// step per replacement (none when the first Find finds nothing or there is nothing to find).
Outcome replace_all_step_by_step(std::string text, const std::string& find, const std::string& repl,
                                 EditHistory& h) {
  std::optional<Selection> sel = find.empty() ? std::nullopt : plain_find(text, find, 0);
  if (!sel) return {text, std::nullopt};
  while (true) {
    text = text.substr(0, sel->start) + repl + text.substr(sel->end());
    h.record(text);
    sel = Selection{sel->start, repl.size()};
    std::optional<Selection> next = plain_find(text, find, sel->end());
    if (!next) return {text, sel};
    sel = next;
  }
}

void expect_same_history(const EditHistory& a, const EditHistory& b, const std::string& where) {
  ASSERT_EQ(a.position(), b.position()) << where;
  ASSERT_EQ(a.newest(), b.newest()) << where;
  for (int i = 0; i < EditHistory::kSlots; ++i) ASSERT_EQ(a.slot(i), b.slot(i)) << where << " slot " << i;
}

TEST(FindReplace, ReplaceAllEqualsTheStepByStepProcedure) {
  std::mt19937 rng(5);
  const std::vector<std::string> letters = {"a", "A", "b", "n", " ", "\n", "\xC3\xA9", "\xC3\x89", "\xC4\xB0", "i"};
  const std::vector<std::string> finds = {"a", "A", "an", "ANA", "\xC3\xA9", "i", "\xC3\x89 b", "", "aa", "zz"};
  const std::vector<std::string> repls = {"", "aa", "x", "AnA", "\xC3\xA9\xC3\xA9", "b a"};
  for (int round = 0; round < 600; ++round) {
    std::string text;
    const size_t length = rng() % (round % 5 == 0 ? 400 : 40);
    for (size_t i = 0; i < length; ++i) text += letters[rng() % letters.size()];
    const std::string& find = finds[rng() % finds.size()];
    const std::string& repl = repls[rng() % repls.size()];
    EditHistory fast, slow;
    for (int i = 0, before = int(rng() % 60); i < before; ++i) {
      fast.record("prima " + std::to_string(i));
      slow.record("prima " + std::to_string(i));
    }
    if (rng() % 3 == 0) {
      fast.undo();
      slow.undo();
    }
    const pm::ReplaceResult r = pm::find_and_replace_all(text, find, repl, fast);
    const Outcome o = replace_all_step_by_step(text, find, repl, slow);
    const std::string where = "round " + std::to_string(round) + " find '" + find + "' by '" + repl + "'";
    ASSERT_EQ(r.text, o.text) << where;
    ASSERT_EQ(r.selection, o.selection) << where;
    expect_same_history(fast, slow, where);
    // Typing after the replacements is recorded against the new text like any change.
    fast.record(r.text + "!");
    slow.record(o.text + "!");
    expect_same_history(fast, slow, where + " then a key");
  }
}

}  // namespace

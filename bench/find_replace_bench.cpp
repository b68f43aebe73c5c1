// Replace all in a 1 MB room: 10,000 occurrences replaced, one history step each, against
// the step-by-step procedure (find, replace, record the whole text, find the next) on the
// same room and on a tenth of it; and the case-blind search on text built to make a naive
// search slow.
// Run by hand: prints milliseconds.
#include <chrono>
#include <cstdio>
#include <string>

#include "editor/edit_history.h"
#include "editor/find_replace.h"
#include "editor/folded_search.h"
#include "base/text.h"

namespace {

double ms_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// `lines` lines of 100 bytes, one "Ponte" in each.
std::string room(size_t lines) {
  std::string s;
  s.reserve(lines * 100);
  for (size_t i = 0; i < lines; ++i) {
    std::string line = "Riga " + std::to_string(i) + ": il Ponte di pietra si inarca sul fiume";
    line.resize(99, '.');
    s += line + "\n";
  }
  return s;
}

// The procedure as the window would run it with one Find next and one record per step.
size_t step_by_step(std::string text, const std::string& find, const std::string& repl, pm::EditHistory& h) {
  size_t steps = 0;
  auto found = pm::find_first(text, find);
  while (found.selection) {
    pm::Selection after;
    text = pm::apply_replacement(text, *found.selection, pm::selected(repl), &after);
    h.record(text);
    ++steps;
    found = pm::find_next(text, after, find);
  }
  return steps;
}

}  // namespace

int main() {
  const std::string text = room(10000);
  pm::EditHistory history;
  history.record(text);

  auto t0 = std::chrono::steady_clock::now();
  pm::ReplaceResult r = pm::find_and_replace_all(text, "ponte", "Passerella", history);
  double t = ms_since(t0);
  std::printf("replace all, %zu bytes, %zu occurrences, one history step each: %.1f ms\n", text.size(), r.changes, t);

  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) history.undo();
  std::printf("then one undo: %.3f ms\n", ms_since(t0) / 10);

  // The 50 kept steps far apart: each snapshot holds the stretch between its replacement
  // and the last one.
  std::string sparse = pm::replace_all(text, "Ponte", "Porte");
  for (size_t k = 0; k < 60; ++k) sparse.replace(k * sparse.size() / 60, 5, "ponte");
  pm::EditHistory h2;
  t0 = std::chrono::steady_clock::now();
  r = pm::find_and_replace_all(sparse, "ponte", "Passerella", h2);
  std::printf("replace all, %zu occurrences spread over the room: %.1f ms\n", r.changes, ms_since(t0));

  for (const std::string& t : {room(1000), text}) {
    pm::EditHistory h3;
    t0 = std::chrono::steady_clock::now();
    const size_t steps = step_by_step(t, "ponte", "Passerella", h3);
    std::printf("step by step, %zu bytes, %zu occurrences: %.1f ms\n", t.size(), steps, ms_since(t0));
    pm::EditHistory h4;
    t0 = std::chrono::steady_clock::now();
    r = pm::find_and_replace_all(t, "ponte", "Passerella", h4);
    std::printf("replace all on the same: %.2f ms (same text and history: %s)\n", ms_since(t0),
                r.text == h3.slot(h3.position()) && h3.slot(25) == h4.slot(25) ? "yes" : "NO");
  }

  const std::string as(1 << 20, 'a');
  const std::string needle = std::string(1000, 'A') + "b";
  t0 = std::chrono::steady_clock::now();
  auto m = pm::FoldedPattern(needle).find_in(as);
  std::printf("search for 1,000 a and a b in 1 MB of a (not found%s): %.1f ms\n", m ? "?!" : "", ms_since(t0));
  return 0;
}

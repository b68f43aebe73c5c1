// Opening a 1 MB room (20,000 lines) in the editor's logic: decoding the file, starting
// the edit history on the loaded text, recording one keystroke, and the line-preserving save
// after an edit in the middle. Run by hand: prints milliseconds per step.
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "editor/edit_history.h"
#include "editor/editor_file.h"

namespace {

double ms_since(std::chrono::steady_clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

std::string big_room(size_t lines) {
  std::string s;
  for (size_t i = 0; i < lines; ++i) {
    std::string line = "Riga " + std::to_string(i) + ": il ponte di pietra si inarca sul fiume.";
    line.resize(50, ' ');
    s += line + "\r\n";
  }
  return s;
}

}  // namespace

int main() {
  const std::string bytes = big_room(20000);
  std::printf("room: %zu bytes, 20000 lines\n", bytes.size());

  auto t0 = std::chrono::steady_clock::now();
  pm::LoadedText loaded(bytes);
  std::printf("decode for display: %.2f ms\n", ms_since(t0));

  t0 = std::chrono::steady_clock::now();
  pm::EditHistory history;
  const std::string shown = loaded.display();
  history.start(shown);
  std::printf("history started on the loaded text: %.2f ms\n", ms_since(t0));

  std::string typed = shown;
  typed.insert(typed.size() / 2, "x");
  const int keys = 200;
  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < keys; ++i) history.record(typed);
  std::printf("one keystroke recorded: %.3f ms\n", ms_since(t0) / keys);

  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < keys; ++i) {
    typed.insert(typed.size() / 3 + size_t(i), "y");
    history.record(typed);
  }
  std::printf("typing a word, one record per key: %.3f ms per key\n", ms_since(t0) / keys);

  t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 10; ++i) history.undo();
  std::printf("one undo: %.3f ms\n", ms_since(t0) / 10);

  t0 = std::chrono::steady_clock::now();
  std::string saved = loaded.save_bytes(typed, pm::TextEncoding::Windows1252);
  std::printf("line-preserving save after one edit: %.2f ms (%zu bytes)\n", ms_since(t0), saved.size());

  std::string scattered = shown;
  for (size_t at = 1000; at < scattered.size(); at += 20000) scattered[at] = '#';
  t0 = std::chrono::steady_clock::now();
  saved = loaded.save_bytes(scattered, pm::TextEncoding::Windows1252);
  std::printf("line-preserving save after 50 scattered edits: %.2f ms\n", ms_since(t0));

  std::string everywhere = shown;  // every other line changed: beyond the diff's edit limit
  for (size_t at = 0; at < everywhere.size(); at += 104) everywhere[at] = '#';
  t0 = std::chrono::steady_clock::now();
  saved = loaded.save_bytes(everywhere, pm::TextEncoding::Windows1252);
  std::printf("line-preserving save after 10,000 edits: %.2f ms\n", ms_since(t0));
  return 0;
}

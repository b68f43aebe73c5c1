// The compile that makes only what changed, on a large book (make a book with
// make_big_project first), median of five runs each, wall time in milliseconds:
//   - an unchanged book (nothing to write), against the full compile over the old Output;
//   - one room changed (its page rewritten);
//   - one room saved in the editor (the live preview makes its page alone);
//   - the full compile over the old Output, the full compile into an Output just removed
//     (the removal untimed), and `cp -r` of the same Output;
//   - the live preview: from writing a room file to the end of the compile that the
//     watcher started (when the open pages are told to reload).
//
//   incremental_compile_bench BOOK WORK      (WORK: an empty folder on the disk to measure)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "base/files.h"
#include "compiler/compile_request.h"
#include "preview/preview_server.h"

namespace {

namespace fs = std::filesystem;

double ms_of(const std::function<void()>& work) {
  const auto t0 = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// Median of five runs of `work`, each after `prepare` (untimed).
double median5(const std::function<void()>& prepare, const std::function<void()>& work) {
  std::vector<double> t;
  for (int i = 0; i < 5; ++i) {
    prepare();
    t.push_back(ms_of(work));
  }
  std::sort(t.begin(), t.end());
  return t[2];
}

pm::CompileReport compile(const fs::path& book, const fs::path& out, pm::OutputState state) {
  pm::CompileRequest r;
  r.folder = book;
  r.output = out;
  r.state = state;
  const pm::CompileResult result = pm::run_compile(r);
  if (!result.status.ok()) {
    std::fprintf(stderr, "compile failed: %s\n", result.status.message().c_str());
    std::exit(1);
  }
  return result.report;
}

void settle() { std::this_thread::sleep_for(std::chrono::milliseconds(50)); }

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: incremental_compile_bench BOOK WORK\n");
    return 2;
  }
  const fs::path book = argv[1], work = argv[2], out = work / "Output", copy = work / "copia";
  const auto rooms = pm::Project(book, "").room_names();
  const fs::path changed = book / rooms[rooms.size() / 2];
  const std::string original = pm::read_file_or_empty(changed);

  compile(book, out, pm::OutputState::Rebuild);
  settle();
  pm::CompileReport last;
  const double unchanged = median5(settle, [&] { last = compile(book, out, pm::OutputState::Reuse); });
  const size_t unchanged_writes = last.changes;
  int round = 0;
  const double one_room = median5(
      [&] {
        settle();
        (void)pm::write_file_atomic(changed, original + "Ancora " + std::to_string(++round) + "\r\n");
      },
      [&] { last = compile(book, out, pm::OutputState::Reuse); });
  const size_t one_room_pages = last.pages;
  pm::CompileRequest saved;
  saved.folder = book;
  saved.output = out;
  saved.state = pm::OutputState::Reuse;
  saved.project = pm::run_compile(saved).project;
  saved.saved_rooms = {rooms[rooms.size() / 2]};
  const double saved_room = median5(
      [&] {
        settle();
        (void)pm::write_file_atomic(changed, original + "Salvata " + std::to_string(++round) + "\r\n");
      },
      [&] { last = pm::run_compile(saved).report; });
  const size_t saved_pages = last.pages;
  (void)pm::write_file_atomic(changed, original);
  const double full_over = median5(settle, [&] { compile(book, out, pm::OutputState::Rebuild); });
  const double full_fresh = median5(
      [&] {
        fs::remove_all(out);
        settle();
      },
      [&] { compile(book, out, pm::OutputState::Rebuild); });
  const std::string cp = "cp -r '" + out.string() + "' '" + copy.string() + "'";
  const double copied = median5(
      [&] {
        fs::remove_all(copy);
        settle();
      },
      [&] {
        if (std::system(cp.c_str()) != 0) std::exit(1);
      });

  double live = -1, live_saved = -1;
  {
    pm::PreviewServer server;
    pm::PreviewOptions options;
    options.book = book;
    options.output = out;
    if (server.start(options).ok()) {
      live = median5(settle, [&] {
        const auto seen = server.generation();
        (void)pm::write_file_atomic(changed, original + "Dal vivo " + std::to_string(++round) + "\r\n");
        for (int i = 0; i < 5000 && server.generation() == seen; ++i)
          std::this_thread::sleep_for(std::chrono::milliseconds(1));
      });
      // The editor's save: the file written, then the preview told which room it was.
      // (The watcher's whole compile that follows each save is let end first.)
      live_saved = median5([] { std::this_thread::sleep_for(std::chrono::milliseconds(600)); }, [&] {
        (void)pm::write_file_atomic(changed, original + "Dal vivo " + std::to_string(++round) + "\r\n");
        server.compile_now(rooms[rooms.size() / 2]);
      });
    }
    (void)pm::write_file_atomic(changed, original);
  }

  std::printf("| %zu rooms | median of 5, ms |\n|---|---:|\n", rooms.size());
  std::printf("| unchanged book (%zu files written) | %.1f |\n", unchanged_writes, unchanged);
  std::printf("| one room changed (%zu page written) | %.1f |\n", one_room_pages, one_room);
  std::printf("| one room saved in the editor (%zu page written) | %.1f |\n", saved_pages, saved_room);
  std::printf("| full compile over the old Output | %.1f |\n", full_over);
  std::printf("| full compile into an Output just removed | %.1f |\n", full_fresh);
  std::printf("| cp -r Output | %.1f |\n", copied);
  std::printf("| live preview: room written to pages told | %.1f |\n", live);
  std::printf("| live preview: editor's save to pages told | %.1f |\n", live_saved);
  std::printf("| unchanged / full over the old Output | %.1f%% |\n", 100.0 * unchanged / full_over);
  return 0;
}

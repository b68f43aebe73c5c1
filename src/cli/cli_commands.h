// The commands of pagimond-cli, each returning the program's exit status: compile the whole
// project, compile it into a single file, write the map text, pack the book into a portable
// package, create a project, check the book's roads, draw its graph, playtest it, list and
// restore the versions the book's history keeps, import and export stories.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pm::cli {

// What the command line asked for; which fields count depends on the command.
struct Request {
  std::string project;                // compile, single, map, package: the project folder
  std::optional<std::string> home;    // --home DIR: the program folder
  const char* argv0 = nullptr;        // finds the program folder when --home is not given
  bool classic = false;               // compile --classic
  bool full = false;                  // compile --full
  bool numbers_only = false;          // map --numbers-only
  std::string phrase;                 // map --phrase (the default phrase when not given)
  std::string title;                  // new TITLE
  std::optional<std::string> in;      // new --in FOLDER
  bool json = false;                  // check --json
  std::string format = "svg";         // graph --format svg|dot|png
  std::string to;                     // encoding --to windows-1252|utf-8 (empty: the book's own)
  std::string room;                   // history [ROOM], restore ROOM
  int version = 0;                    // restore --version N
  std::string file;                   // import FILE: a Twee file or a published HTML story
  std::optional<std::string> out;     // export --out FILE (twee: standard output when not given;
                                      // the others: <project folder name>.<format> here)
  std::string story_format;           // export --story-format NAME@VERSION (empty: the default)
  uint32_t runs = 10000;              // playtest --runs
  uint32_t max_steps = 1000;          // playtest --max-steps
  std::string into;                   // renumber --into FOLDER
  bool shuffle = false;               // renumber --shuffle
  std::optional<uint64_t> seed;       // renumber --seed N (a random one when not given), playtest (1)
  std::vector<std::string> pins;      // renumber --pin 0,99,...
  std::vector<std::string> phrases;   // renumber --phrase (added to the usual ones)
  std::string page = "A5";            // export --page A4|A5 (pdf)
  int port = 0;                       // serve --port N (0: a free one)
  bool open = false;                  // serve --open
};

// Whole-project compile into DIR/Output, mobile style unless `classic`: only the pages whose
// files changed since the last compile, every page with `full`.
int run_compile(const Request& r);
// Single-file compile into DIR/Output/index.htm.
int run_single(const Request& r);
// The map text on standard output, byte for byte as the map window holds it.
int run_map(const Request& r);
// The book compiled for distribution (classic style, with the Extra files) and packed into
// DIR/Distribuisci/<project folder name>.zip; the package's path on standard output.
int run_package(const Request& r);
// A new project in FOLDER (default DIR/Projects); its folder's path on standard output.
int run_new(const Request& r);
// The book check: one compiler-style line per finding and a summary on standard output
// (JSON with `json`); status 1 when there are errors.
int run_check(const Request& r);
// Every text file of the book rewritten in one encoding (`to`, or the book's own): the files
// converted on standard output, one a line, then a summary; status 1 when a file failed.
int run_encoding(const Request& r);
// A new project made from the story FILE in FOLDER (default DIR/Projects); its folder's
// path on standard output, what the author should look at on standard error.
int run_import(const Request& r);
// The project in another form (`format`): each form is one branch calling its own function.
int run_export(const Request& r);
// The project as Twee 3 to --out FILE or standard output; what Twee cannot carry on
// standard error.
int run_export_twee(const Request& r);
// The graph map on standard output: an SVG or PNG picture, or the graph in DOT (not laid out).
int run_graph(const Request& r);
// The book's history: one line per version ("N  dd/mm/yyyy hh:mm:ss  SIZE byte  reason"), of
// `room` or, without it, of every file that has versions (each line led by the file) and
// then the deleted rooms. A damaged entry is one message on standard error, and skipped.
int run_history(const Request& r);
// Version `version` of `room` brought back through the book's save (what it replaces is
// kept); status 1 when there is no such version or it cannot be written.
int run_restore(const Request& r);
// Random readers and the exact odds of the book (playtest_report.h gives the lines and the
// JSON); status 1 when room 0 has no page.
int run_playtest(const Request& r);

// The book renumbered into a new project (`into`); the new folder's path on standard output,
// what paper cannot carry is not its business. Status 2 for a pinned room that is no room.
int run_renumber(const Request& r);

// The book as a document (`format`: epub, pdf or odt) in `out`; its path on standard output,
// and on standard error, room by room, what paper cannot carry.
int run_export_paper(const Request& r);

// The live preview: DIR/Output served on 127.0.0.1 (its address on standard output), compiled
// again on each change of the book, until interrupted (cli_serve.cpp).
int run_serve(const Request& r);

}  // namespace pm::cli

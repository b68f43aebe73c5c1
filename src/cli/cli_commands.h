// The commands of pagimond-cli, each returning the program's exit status: compile the whole
// project, compile it into a single file, write the map text, pack the book into a portable
// package, create a project, check the book's roads, draw its graph.
#pragma once

#include <optional>
#include <string>

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
// The graph map on standard output: an SVG or PNG picture, or the graph in DOT (not laid out).
int run_graph(const Request& r);
// The live preview: DIR/Output served on 127.0.0.1 (its address on standard output), compiled
// again on each change of the book, until interrupted (cli_serve.cpp).
int run_serve(const Request& r);

}  // namespace pm::cli

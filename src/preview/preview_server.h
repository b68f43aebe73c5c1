// The live preview: a book compiled into Output, served over HTTP on this computer only
// (127.0.0.1, GET and HEAD, files of Output only, a Host of its own), compiled again on
// each change of its files and on request, and every page open in a browser told to
// reload when a compile has changed Output. Used by `pagimond-cli serve` and the tool's
// "Anteprima dal vivo". The server and the watcher run on threads of their own.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "base/status.h"
#include "compiler/compile_request.h"

namespace pm {

struct PreviewOptions {
  stdfs::path book;    // the project folder
  stdfs::path output;  // the program folder's Output
  int port = 0;        // 0: a free one
  // Told of each compile's result, on the watcher's thread (the first on start's).
  std::function<void(const CompileResult&)> compiled;
};

class PreviewServer {
 public:
  PreviewServer();
  ~PreviewServer();  // stops
  PreviewServer(const PreviewServer&) = delete;
  PreviewServer& operator=(const PreviewServer&) = delete;

  // Compiles the book, then listens and watches. NotStarted, with the message to show,
  // when this build has no server or the port cannot be had; a compile that fails does not
  // stop the preview.
  Status start(const PreviewOptions& options);
  void stop();
  bool running() const;

  // The address of the book's start page or of room `room`'s page.
  std::string address(const std::string& room = {}) const;
  int port() const;

  // Compiles now (after an editor's save), without waiting for the watcher; returns when
  // the compile is done and the pages have been told. `saved_room`: the room whose text
  // was saved, when only it changed: its page alone is made, if the kept state allows.
  void compile_now(const std::string& saved_room = {});

  // How many compiles that changed Output have ended since start.
  std::uint64_t generation() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// Whether this build has the server (it needs cpp-httplib, which a build for Windows from
// Linux goes without).
bool preview_available();
// The message when it has not.
inline constexpr std::string_view kPreviewUnavailable =
    "L'anteprima dal vivo non è disponibile in questa versione di Pagimond.";

}  // namespace pm

// pagimond-cli serve: the live preview from a terminal. Compiles the book, serves Output on
// 127.0.0.1, compiles again on each change of the book's files and tells the open pages to
// reload, until it is interrupted (Ctrl+C) or ended.
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#include "base/program_folder.h"
#include "cli/cli_commands.h"
#include "cli/cli_output.h"
#include "preview/preview_server.h"
#include "project/project_creation.h"
#include "start/open_document.h"

namespace pm::cli {

namespace {

std::atomic<bool> interrupted{false};

extern "C" void on_signal(int) { interrupted = true; }

}  // namespace

int run_serve(const Request& r) {
  if (!preview_available()) {
    report_error("serve is not available in this build (it has no HTTP server)");
    return kExitFailed;
  }
  ProgramFolderChoice choice = choose_program_folder(named_program_folder(r.home), r.argv0);
  if (!choice.warning.empty()) report_error(choice.warning);
  const ProgramFolder home(choice.folder);
  if (!is_folder(home.home())) {
    report_error(with_path("no such program folder", path_text(home.home())));
    return kExitFailed;
  }
  std::error_code ec;
  const stdfs::path book = folder_itself(stdfs::absolute(path_from_text(r.project), ec));
  OpenedProject opened = open_project_folder(book);
  if (!opened.status.ok()) {
    report_error(opened.status.kind() == StatusKind::NotFound
                     ? with_path("no such project folder", r.project)
                     : with_path("not a project folder (it needs a readable .dat file and Room/0)", r.project));
    return kExitFailed;
  }

  PreviewOptions options;
  options.book = book;
  options.output = home.output();
  options.port = r.port;
  options.compiled = [](const CompileResult& result) {
    for (const auto& e : result.report.errors) report_error(e);
    if (result.report.changes > 0)
      (void)write_stdout_bytes("compiled: " + std::to_string(result.report.pages) +
                               (result.report.pages == 1 ? " page" : " pages") + " written, " +
                               std::to_string(result.report.kept) + " unchanged\n");
  };
  PreviewServer server;
  if (Status started = server.start(options); !started.ok()) {
    report_error(r.port ? "cannot listen on 127.0.0.1:" + std::to_string(r.port) + " (is the port in use?)"
                        : started.message());
    return kExitFailed;
  }
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);
  if (!write_stdout_bytes("serving " + path_text(book) + " at " + server.address() + " (Ctrl+C stops)\n").ok())
    return kExitFailed;
  if (r.open) start::open_document(server.address());
  while (!interrupted) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  server.stop();
  return kExitOk;
}

}  // namespace pm::cli

// The live preview's server (see preview_server.h), on cpp-httplib. Threads: the server's
// own (its listener and its pool, one per open connection; a page listening for reloads
// holds one), and the watcher's, which compiles after each change of the book. Compiles
// run one at a time (run_compile).
#include "preview/preview_server.h"

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#if defined(PAGIMOND_HAVE_HTTPLIB)
#include <httplib.h>
#endif

#include "base/text.h"
#include "preview/book_watcher.h"
#include "preview/preview_request.h"
#include "project/book_encoding.h"

namespace pm {

#if defined(PAGIMOND_HAVE_HTTPLIB)

struct PreviewServer::Impl {
  PreviewOptions options;
  std::string charset;
  httplib::Server server;
  std::thread listening, watching;
  std::atomic<int> port{0};
  std::atomic<bool> stopping{false};
  std::mutex mutex;
  std::condition_variable news;  // a compile changed Output, or the preview stops
  std::uint64_t generation = 0;

  std::optional<Project> project;  // found by the first compile (set before the threads start)
  // Made before the first compile, so that a change made while it runs, or before the
  // watcher's thread gets going, is seen and compiled.
  std::unique_ptr<BookWatcher> watcher;

  CompileResult compile(const std::string& saved_room = {}) {
    CompileRequest request;
    request.folder = options.book;
    request.output = options.output;
    request.state = OutputState::Reuse;
    if (!saved_room.empty() && project) {
      request.project = project;
      request.saved_rooms = {saved_room};
    }
    CompileResult result = run_compile(request);
    if (result.report.changes > 0) {
      std::lock_guard lock(mutex);
      ++generation;
    }
    news.notify_all();
    if (options.compiled) options.compiled(result);
    return result;
  }

  std::uint64_t current() {
    std::lock_guard lock(mutex);
    return generation;
  }

  void watch() {
    while (!stopping) {
      if (!watcher->wait(std::chrono::milliseconds(200))) continue;
      // A save is often several writes (a temporary file, a rename): they settle first.
      while (!stopping && watcher->wait(std::chrono::milliseconds(15))) {
      }
      if (!stopping) compile();
    }
  }

  void routes() {
    server.set_pre_routing_handler([this](const httplib::Request& req, httplib::Response& res) {
      if (req.method != "GET" && req.method != "HEAD") {
        res.status = 405;
        res.set_header("Allow", "GET, HEAD");
        return httplib::Server::HandlerResponse::Handled;
      }
      if (!host_is_loopback(req.get_header_value("Host"), port)) {
        res.status = 403;
        return httplib::Server::HandlerResponse::Handled;
      }
      return httplib::Server::HandlerResponse::Unhandled;
    });
    server.Get(std::string(kReloadPath), [this](const httplib::Request&, httplib::Response& res) {
      res.set_header("Cache-Control", "no-store");
      auto sent = std::make_shared<std::uint64_t>(UINT64_MAX);
      res.set_chunked_content_provider("text/event-stream", [this, sent](size_t, httplib::DataSink& sink) {
        std::unique_lock lock(mutex);
        news.wait_for(lock, std::chrono::seconds(10), [&] { return stopping || generation != *sent; });
        if (stopping) return false;
        std::string event;
        if (generation != *sent) {
          *sent = generation;
          event = "retry: 500\ndata: " + std::to_string(generation) + "\n\n";
        } else {
          event = ":\n\n";  // keeps the connection and notices a page gone
        }
        lock.unlock();
        return sink.write(event.data(), event.size());
      });
    });
    server.Get(".*", [this](const httplib::Request& req, httplib::Response& res) {
      const auto file = served_file(options.output, req.target);
      std::string bytes;
      if (!file || !read_file(*file, bytes)) {
        res.status = 404;
        res.set_content("Non trovato", "text/plain; charset=utf-8");
        return;
      }
      res.set_header("Cache-Control", "no-store");
      std::string type(content_type_of(*file));
      if (type.starts_with("text/")) type += "; charset=" + charset;
      if (type.starts_with("text/html")) bytes = with_reload_script(bytes, current());
      res.set_content(std::move(bytes), type.c_str());
    });
  }
};

PreviewServer::PreviewServer() = default;
PreviewServer::~PreviewServer() { stop(); }

bool preview_available() { return true; }

Status PreviewServer::start(const PreviewOptions& options) {
  stop();
  impl_ = std::make_unique<Impl>();
  Impl& i = *impl_;
  i.options = options;
  i.charset = book_encoding(options.book) == TextEncoding::Utf8 ? "utf-8" : "windows-1252";
  i.server.set_keep_alive_timeout(1);
  // The library's default lets a second server take the same port (SO_REUSEPORT), and the
  // system would then hand each request to either: a port in use must be refused.
  i.server.set_socket_options([](socket_t sock) {
    int yes = 1;
    ::setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<char*>(&yes), sizeof yes);
  });
  i.routes();
  const int port = options.port == 0 ? i.server.bind_to_any_port("127.0.0.1")
                                     : (i.server.bind_to_port("127.0.0.1", options.port) ? options.port : -1);
  if (port <= 0) {
    impl_.reset();
    return Status(StatusKind::NotStarted, "Impossibile avviare l'anteprima dal vivo sulla porta " +
                                              std::to_string(options.port) + ": è già in uso?");
  }
  i.port = port;
  i.watcher = watch_book(options.book);
  i.project = i.compile().project;
  i.listening = std::thread([&i] { i.server.listen_after_bind(); });
  i.watching = std::thread([&i] { i.watch(); });
  return {};
}

void PreviewServer::stop() {
  if (!impl_) return;
  impl_->stopping = true;
  impl_->news.notify_all();
  impl_->server.stop();
  if (impl_->listening.joinable()) impl_->listening.join();
  if (impl_->watching.joinable()) impl_->watching.join();
  impl_.reset();
}

bool PreviewServer::running() const { return impl_ != nullptr; }
int PreviewServer::port() const { return impl_ ? impl_->port.load() : 0; }

std::string PreviewServer::address(const std::string& room) const {
  return "http://127.0.0.1:" + std::to_string(port()) + "/" + (room.empty() ? "" : room + ".htm");
}

void PreviewServer::compile_now(const std::string& saved_room) {
  if (impl_) impl_->compile(saved_room);
}

std::uint64_t PreviewServer::generation() const { return impl_ ? impl_->current() : 0; }

#else  // a build without cpp-httplib

struct PreviewServer::Impl {};

PreviewServer::PreviewServer() = default;
PreviewServer::~PreviewServer() = default;
bool preview_available() { return false; }
Status PreviewServer::start(const PreviewOptions&) {
  return Status(StatusKind::NotStarted, std::string(kPreviewUnavailable));
}
void PreviewServer::stop() {}
bool PreviewServer::running() const { return false; }
int PreviewServer::port() const { return 0; }
std::string PreviewServer::address(const std::string&) const { return {}; }
void PreviewServer::compile_now(const std::string&) {}
std::uint64_t PreviewServer::generation() const { return 0; }

#endif

}  // namespace pm

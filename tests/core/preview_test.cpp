// The live preview: what its watcher notices of a book, which requests the server
// answers (paths, Host, methods), the reload script, and `pagimond-cli serve` as a
// process: a page read over HTTP, the room changed, the reload event and the new page.
#include <gtest/gtest.h>

#include <functional>
#include <thread>

#include "preview/book_watcher.h"
#include "preview/preview_request.h"
#include "preview/preview_server.h"
#include "support/temp_dir.h"

#if defined(_WIN32)
#include <windows.h>
#endif

#if !defined(_WIN32) && __has_include(<httplib.h>)
#define PREVIEW_OVER_HTTP 1
#include <httplib.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

TEST(PreviewRequest, ServesFilesOfOutputOnly) {
#if defined(_WIN32)
  GTEST_SKIP() << "no symbolic links under Wine, and no server in the Windows build";
#endif
  TempDir dir;
  const fs::path out = dir / "Output";
  write_bytes(out / "index.htm", "i");
  write_bytes(out / "1.htm", "1");
  write_bytes(out / "res/a b.png", "p");
  write_bytes(out / ".pagimond-stato", "s");
  write_bytes(dir / "segreto.txt", "x");
  fs::create_symlink(dir / "segreto.txt", out / "fuori.htm");
  fs::create_symlink(out / "1.htm", out / "dentro.htm");
  fs::create_directory_symlink(dir.path(), out / "su");
  const struct {
    const char* target;
    const char* file;  // nullptr: refused
  } cases[] = {
      {"/", "index.htm"},
      {"/1.htm", "1.htm"},
      {"/1.htm?t=3#x", "1.htm"},
      {"/res/a%20b.png", "res/a b.png"},
      {"/dentro.htm", "1.htm"},
      {"/../segreto.txt", nullptr},
      {"/%2e%2e/segreto.txt", nullptr},
      {"/res/%2E%2E/%2e%2e/segreto.txt", nullptr},
      {"/..%2fsegreto.txt", nullptr},
      {"/..%5csegreto.txt", nullptr},
      {"/res\\..\\..\\segreto.txt", nullptr},
      {"/fuori.htm", nullptr},
      {"/su/segreto.txt", nullptr},
      {"/.pagimond-stato", nullptr},
      {"/%2epagimond-stato", nullptr},
      {"//etc/passwd", nullptr},
      {"http://127.0.0.1/1.htm", nullptr},
      {"/C:/segreto.txt", nullptr},
      {"/1.htm%00.png", nullptr},
      {"/%zz", nullptr},
      {"/res", nullptr},
      {"/2.htm", nullptr},
  };
  for (const auto& c : cases) {
    const auto file = pm::served_file(out, c.target);
    if (c.file) {
      ASSERT_TRUE(file) << c.target;
      EXPECT_EQ(*file, fs::canonical(out / c.file)) << c.target;
    } else {
      EXPECT_FALSE(file) << c.target << " -> " << (file ? file->string() : "");
    }
  }
}

TEST(PreviewRequest, HostMustBeTheLoopbackNameAndPort) {
  EXPECT_TRUE(pm::host_is_loopback("127.0.0.1:8123", 8123));
  EXPECT_TRUE(pm::host_is_loopback("localhost:8123", 8123));
  EXPECT_TRUE(pm::host_is_loopback("LocalHost:8123", 8123));
  EXPECT_TRUE(pm::host_is_loopback("127.0.0.1", 80));
  for (const char* host : {"127.0.0.1:8124", "127.0.0.1", "evil.example:8123", "localhost.evil.example:8123",
                           "127.0.0.1.evil.example:8123", "", "127.0.0.1:8123x", "[::1]:8123"})
    EXPECT_FALSE(pm::host_is_loopback(host, 8123)) << host;
}

TEST(PreviewRequest, ReloadScriptGoesBeforeTheLastBodyEnd) {
  const std::string page = pm::with_reload_script("<p>a</p></BODY>\r\n</html>", 7);
  EXPECT_TRUE(page.starts_with("<p>a</p><script>")) << page;
  EXPECT_NE(page.find("var g=7;"), std::string::npos);
  EXPECT_TRUE(page.ends_with("</script></BODY>\r\n</html>")) << page;
  EXPECT_TRUE(pm::with_reload_script("no body", 0).starts_with("no body<script>"));
}

void make_book(const fs::path& book) {
  write_bytes(book / "Libro.dat", "\"Libro\",\"Prova\",\"\",\"Io\",\"\",\"\",\"100%\",\"\",\"\",\"\"\r\n");
  write_bytes(book / "Room/0", "Luogo di partenza\r\n");
  write_bytes(book / "0", "Prima versione\r\n");
}

// Each watcher, the system's and the polling one, through the same changes: what is of the
// book is seen, what is not is not, and changes that came meanwhile are one.
TEST(BookWatcher, SeesTheBooksFilesOnlyAndABurstAsOne) {
#if defined(_WIN32)
  // Wine's watch of a folder's subtree misses the folders that were there before it began
  // (Windows' own does not).
  const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
  const bool wine = false;
#endif
  TempDir dir;
  const fs::path book = dir / "Libro";
  make_book(book);
  write_bytes(book / "res/suoni/a.wav", "RIFF");
  fs::create_directories(book / "Altro");
  const struct {
    const char* what;
    std::function<void()> change;
    bool seen;
    bool old_subfolder = false;
  } steps[] = {
      {"nothing", [] {}, false},
      {"room text", [&] { write_bytes(book / "0", "Seconda\r\n"); }, true},
      {"room file", [&] { write_bytes(book / "Room/0", "Altro luogo\r\n"); }, true},
      {"resource below res", [&] { write_bytes(book / "res/suoni/a.wav", "RIFF2"); }, true, true},
      {"new resource folder", [&] { write_bytes(book / "res/nuova/b.png", "PNG"); }, true},
      {"file beside the book", [&] { write_bytes(dir / "fuori.txt", "x"); }, false},
      {"file in another folder of the book", [&] { write_bytes(book / "Altro/x.txt", "x"); }, false},
      {"burst", [&] {
         for (int i = 0; i < 20; ++i) write_bytes(book / std::to_string(i), "Stanza\r\n");
         fs::rename(book / "1", book / "1.bak");
         fs::remove(book / "2");
       }, true},
  };
  for (bool system : {true, false}) {
    auto watcher = system ? pm::watch_book(book) : pm::poll_book(book, std::chrono::milliseconds(10));
    for (const auto& step : steps) {
      step.change();
      if (system && wine && step.old_subfolder) continue;
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
      EXPECT_EQ(watcher->wait(std::chrono::milliseconds(step.seen ? 3000 : 100)), step.seen)
          << step.what << (system ? " (system)" : " (polling)");
      EXPECT_FALSE(watcher->wait(std::chrono::milliseconds(50))) << step.what << (system ? " (system)" : " (polling)");
    }
  }
}

#if defined(PREVIEW_OVER_HTTP)

TEST(PreviewServer, RefusesOtherMethodsHostsAndPaths) {
  TempDir dir;
  make_book(dir / "Libro");
  write_bytes(dir / "segreto.txt", "x");
  pm::PreviewServer server;
  pm::PreviewOptions options;
  options.book = dir / "Libro";
  options.output = dir / "Output";
  ASSERT_TRUE(server.start(options).ok());
  pm::PreviewServer second;  // the port is taken: refused, not shared
  options.port = server.port();
  EXPECT_EQ(second.start(options).kind(), pm::StatusKind::NotStarted);
  httplib::Client client("127.0.0.1", server.port());
  client.set_read_timeout(5, 0);

  auto page = client.Get("/0.htm");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_NE(page->body.find("Prima versione"), std::string::npos);
  EXPECT_NE(page->body.find(std::string(pm::kReloadPath)), std::string::npos);
  EXPECT_EQ(read_bytes(dir / "Output/0.htm").find(std::string(pm::kReloadPath)), std::string::npos);
  auto head = client.Head("/0.htm");
  ASSERT_TRUE(head);
  EXPECT_EQ(head->status, 200);
  EXPECT_TRUE(head->body.empty());

  auto post = client.Post("/0.htm", "x", "text/plain");
  ASSERT_TRUE(post);
  EXPECT_EQ(post->status, 405);
  auto rebound = client.Get("/0.htm", {{"Host", "evil.example:" + std::to_string(server.port())}});
  ASSERT_TRUE(rebound);
  EXPECT_EQ(rebound->status, 403);
  for (const char* target : {"/%2e%2e/segreto.txt", "/..%5csegreto.txt", "/.pagimond-stato"}) {
    auto out = client.Get(target);
    ASSERT_TRUE(out) << target;
    EXPECT_EQ(out->status, 404) << target;
  }
}

// pagimond-cli serve as a process, its standard output read through a pipe.
struct ServeProcess {
  pid_t pid = -1;
  FILE* out = nullptr;
  ServeProcess(const fs::path& book, const fs::path& home) {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid = ::fork();
    if (pid == 0) {
      ::dup2(fds[1], 1);
      ::close(fds[0]);
      ::execl(PAGIMOND_CLI, PAGIMOND_CLI, "serve", book.c_str(), "--home", home.c_str(), "--port", "0", nullptr);
      ::_exit(127);
    }
    ::close(fds[1]);
    out = ::fdopen(fds[0], "r");
  }
  ~ServeProcess() {
    if (pid > 0) {
      ::kill(pid, SIGTERM);
      int status = 0;
      ::waitpid(pid, &status, 0);
    }
    if (out) ::fclose(out);
  }
  // The port of the address it prints ("serving ... at http://127.0.0.1:PORT/ ...").
  int port() {
    char line[4096];
    while (out && std::fgets(line, sizeof line, out)) {
      const std::string s = line;
      if (const size_t at = s.find("127.0.0.1:"); at != std::string::npos) return std::atoi(s.c_str() + at + 10);
    }
    return 0;
  }
};

TEST(PreviewServer, CliServeReloadsTheOpenPageAfterTheRoomChanges) {
  TempDir dir;
  make_book(dir / "Libro");
  fs::create_directories(dir / "home");
  ServeProcess serve(dir / "Libro", dir / "home");
  const int port = serve.port();
  ASSERT_GT(port, 0);
  httplib::Client client("127.0.0.1", port);
  client.set_read_timeout(5, 0);
  auto first = client.Get("/0.htm");
  ASSERT_TRUE(first);
  EXPECT_NE(first->body.find("Prima versione"), std::string::npos);

  // The page's script listens: the first event names the compile it has seen; the next
  // one comes after the room is written.
  httplib::Client events("127.0.0.1", port);
  events.set_read_timeout(5, 0);
  std::string received;
  int seen = 0;
  events.Get(std::string(pm::kReloadPath), [&](const char* data, size_t size) {
    received.append(data, size);
    size_t count = 0;
    for (size_t at = received.find("data: "); at != std::string::npos; at = received.find("data: ", at + 1)) ++count;
    if (count == 1 && seen == 0) {
      seen = 1;
      write_bytes(dir / "Libro/0", "Seconda versione\r\n");
    }
    return count < 2;
  });
  EXPECT_EQ(seen, 1) << received;
  ASSERT_NE(received.find("data: ", received.find("data: ") + 1), std::string::npos) << received;
  auto second = client.Get("/0.htm");
  ASSERT_TRUE(second);
  EXPECT_NE(second->body.find("Seconda versione"), std::string::npos);
}

#endif

}  // namespace

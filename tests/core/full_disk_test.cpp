// A compile onto a full disk: it stops at the first page that cannot be written, says so
// once (the file and the reason) and leaves no half-written file behind. Proved through the
// writer's disk-space seam, and for pagimond-cli on a real one-megabyte tmpfs where this
// machine lets a test mount one.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/mount.h>
#include <sys/wait.h>
#endif

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "compiler/site_compiler.h"
#include "base/files.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using pmtest::read_bytes;
using pmtest::TempDir;
using pmtest::write_bytes;

// A book of `rooms` rooms whose pages are about 2 KB each.
std::vector<std::string> make_book(const fs::path& book, size_t rooms) {
  write_bytes(book / "Libro.dat", "\"Libro\",\"Pieno\",\"\",\"Io\",\"\",\"\",\"100%\",\"1\",\"Pagimond 2.00\"\r\n");
  std::vector<std::string> names;
  for (size_t i = 0; i < rooms; ++i) {
    names.push_back(std::to_string(i));
    write_bytes(book / "Room" / names.back(), "\"Stanza\"\r\n");
    write_bytes(book / names.back(), std::string(1500, 'x') + "\r\n");
  }
  return names;
}

// Every file of `dir` (no folders), names only.
std::vector<std::string> files_in(const fs::path& dir) {
  std::vector<std::string> names;
  for (auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) names.push_back(e.path().filename().string());
  return names;
}

struct DiskSpace {
  explicit DiskSpace(size_t bytes) { pm::set_disk_space_for_testing(bytes); }
  ~DiskSpace() { pm::set_disk_space_for_testing(std::nullopt); }
};

TEST(FullDisk, TheCompileStopsAtTheFirstPageItCannotWrite) {
  TempDir dir;
  const fs::path book = dir / "Libro", out = dir / "Output";
  const auto rooms = make_book(book, 200);
  const pm::Project project(book, "Libro");
  ASSERT_EQ(pm::compile_project(project, {"0"}, out, pm::PageStyle::Mobile).pages, 1u);
  const size_t page = fs::file_size(out / "0.htm");
  ASSERT_GT(page, 1000u);

  pm::CompileReport report;
  {
    DiskSpace space(3 * page + page / 2);  // three pages and half of the fourth
    report = pm::compile_project(project, rooms, out, pm::PageStyle::Mobile);
  }
  ASSERT_EQ(report.errors.size(), 1u);
  EXPECT_NE(report.errors[0].find("3.htm"), std::string::npos) << report.errors[0];
  EXPECT_NE(report.errors[0].find(std::strerror(ENOSPC)), std::string::npos) << report.errors[0];
  EXPECT_EQ(report.pages, 3u);
  // The three whole pages and the copied style sheet: no half page, no temporary file, no
  // start page pointing at pages that are not there.
  auto names = files_in(out);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"0.htm", "1.htm", "2.htm"}));
  for (const auto& name : names) EXPECT_EQ(fs::file_size(out / name), page) << name;
}

#if !defined(_WIN32)  // a tmpfs is a Linux file system
#if defined(PAGIMOND_CLI)
// The same through pagimond-cli on a real full file system. Mounting needs the right to do
// so (root in a container that allows it); elsewhere the test is skipped.
TEST(FullDisk, TheCliStopsOnAFullTmpfsWithOneMessageAndStatusOne) {
  TempDir dir;
  const fs::path home = dir / "home";
  fs::create_directories(home / "Output");
  if (::mount("pagimond-test", (home / "Output").c_str(), "tmpfs", 0, "size=1m") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here: " << std::strerror(errno);
  struct Unmount {
    fs::path p;
    ~Unmount() { ::umount2(p.c_str(), MNT_DETACH); }
  } unmount{home / "Output"};

  make_book(dir / "Libro", 2000);  // about 4 MB of pages for a 1 MB disk
  const std::string err = (dir / "stderr").string();
  const std::string cmd = std::string("'") + PAGIMOND_CLI + "' compile '" + (dir / "Libro").string() + "' --home '" +
                          home.string() + "' >/dev/null 2>'" + err + "'";
  const int status = std::system(cmd.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  const std::string message = read_bytes(err);
  EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message.substr(0, 500);
  EXPECT_NE(message.find(".htm"), std::string::npos) << message;
  EXPECT_NE(message.find(std::strerror(ENOSPC)), std::string::npos) << message;

  // Every page left is whole: it ends as every room page does.
  for (const auto& name : files_in(home / "Output")) {
    ASSERT_EQ(fs::path(name).extension(), ".htm") << name;
    const std::string bytes = read_bytes(home / "Output" / name);
    EXPECT_EQ(bytes.substr(bytes.size() - 9), "</html>\r\n") << name;
  }
}
#endif
#endif

}  // namespace

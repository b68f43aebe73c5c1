// Start, run as a real program from a copied book folder, with a recording opener first
// on PATH in place of the desktop's own.
#include <gtest/gtest.h>

#if defined(PAGIMOND_START) && !defined(_WIN32)

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

class StartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string tmpl = (fs::temp_directory_path() / "start_test_XXXXXX").string();
    ASSERT_NE(mkdtemp(tmpl.data()), nullptr);
    root_ = fs::canonical(tmpl);
    opener_dir_ = root_ / "bin";
    fs::create_directories(opener_dir_);
    record_ = root_ / "record";
    release_ = root_ / "release";
  }
  void TearDown() override { fs::remove_all(root_); }

  // A book folder holding a copy of Start; with index.htm when asked.
  fs::path make_book(const std::string& name, bool with_index) {
    fs::path book = root_ / name;
    fs::create_directories(book);
    fs::copy_file(PAGIMOND_START, book / "Start");
    if (with_index) std::ofstream(book / "index.htm") << "<html></html>\r\n";
    return book;
  }

  // An xdg-open that waits until the test releases it (or 20 s), then records whether
  // it was released, how many arguments it got and each argument on its own line.
  void install_recording_opener() {
    fs::path script = opener_dir_ / "xdg-open";
    std::ofstream(script) << "#!/bin/sh\n"
                          << "i=0\n"
                          << "while [ ! -e '" << release_.string() << "' ] && [ $i -lt 200 ]; do\n"
                          << "  sleep 0.1; i=$((i+1))\n"
                          << "done\n"
                          << "if [ -e '" << release_.string() << "' ]; then w=released; else w=timeout; fi\n"
                          << "{ printf '%s\\n' \"$w\" \"$#\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; }"
                          << " > '" << record_.string() << ".tmp'\n"
                          << "mv '" << record_.string() << ".tmp' '" << record_.string() << "'\n";
    fs::permissions(script, fs::perms::owner_all | fs::perms::group_read | fs::perms::others_read);
  }

  // Runs a program with PATH set to `path_var`; returns its wait status. Fails the test
  // instead of hanging if the program does not end.
  int run(const fs::path& program, const std::string& path_var) {
    std::string path_env = "PATH=" + path_var;
    std::vector<char*> envp{path_env.data(), nullptr};
    std::string prog = program.string();
    char* argv[] = {prog.data(), nullptr};
    pid_t pid = 0;
    EXPECT_EQ(posix_spawn(&pid, prog.c_str(), nullptr, nullptr, argv, envp.data()), 0);
    int status = 0;
    for (int i = 0; i < 3000; ++i) {
      if (waitpid(pid, &status, WNOHANG) == pid) return status;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    ADD_FAILURE() << program << " did not end";
    return -1;
  }

  std::string wait_for_record() {
    for (int i = 0; i < 600 && !fs::exists(record_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::ifstream in(record_);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }

  fs::path root_, opener_dir_, record_, release_;
};

TEST_F(StartTest, HandsItsOwnIndexToTheOpenerAsOneArgumentAndEndsAtOnce) {
  install_recording_opener();
  fs::path book = make_book("My \"Book\" it's  here", true);

  int status = run(book / "Start", opener_dir_.string() + ":/usr/bin:/bin");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // Start has ended while the opener still waits for us: it did not wait for the browser.
  std::ofstream(release_) << "go";
  EXPECT_EQ(wait_for_record(), "released\n1\n" + (book / "index.htm").string() + "\n");
}

TEST_F(StartTest, EndsQuietlyWithoutAnIndexOrAnOpener) {
  install_recording_opener();
  fs::path bare = make_book("no book here", false);
  int status = run(bare / "Start", opener_dir_.string() + ":/usr/bin:/bin");
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  fs::path empty_path = root_ / "empty bin";
  fs::create_directories(empty_path);
  fs::path book = make_book("a book", true);
  status = run(book / "Start", empty_path.string());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  // Had the bare folder started the opener, it would have been released and recorded by now.
  std::ofstream(release_) << "go";
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_FALSE(fs::exists(record_));
}

}  // namespace

#endif

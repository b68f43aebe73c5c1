// Following a link: the target taken from a selection, targets that would leave the
// project folder, when a pending request can be served, and when it is given up.
#include "rooms/follow_link.h"

#include <gtest/gtest.h>

#include "support/temp_dir.h"

namespace {

TEST(FollowLink, TargetFromTheSelection) {
  EXPECT_EQ(pm::follow_link_target("12.htm"), "12");
  EXPECT_EQ(pm::follow_link_target("1a.htm"), "1a");  // passes here, decided by its file
  EXPECT_EQ(pm::follow_link_target("3.htm.htm"), "3");
  // The map's request needs no ".htm".
  EXPECT_EQ(pm::follow_link_target("12", false), "12");
  EXPECT_FALSE(pm::follow_link_target("x12", false));
  // No room named, or one outside the project folder.
  for (const char* s : {"12.HTM", "12", "x12.htm", ".htm", "", "1/../../etc/passwd.htm", "1\\..\\x.htm", "1...htm",
                        "1/x.htm", "1:x.htm", "1\r\n2.htm", "0/../Room/0.htm"})
    EXPECT_FALSE(pm::follow_link_target(s)) << s;
}

TEST(FollowLink, ReadyOnlyWhenTheRoomTextHoldsALine) {
  pmtest::TempDir dir;
  const auto project = dir / "Libro";
  std::filesystem::create_directories(project);
  EXPECT_FALSE(pm::follow_link_ready(project, "40"));  // missing
  pmtest::write_bytes(project / "40", "");
  EXPECT_FALSE(pm::follow_link_ready(project, "40"));  // empty counts as missing
  pmtest::write_bytes(project / "40", "\r\n");
  EXPECT_TRUE(pm::follow_link_ready(project, "40"));  // one empty line is a line
  std::filesystem::create_directories(project / "41");
  EXPECT_FALSE(pm::follow_link_ready(project, "41"));  // a folder is no room text
  pmtest::write_bytes(dir / "secret", "x\r\n");
  EXPECT_FALSE(pm::follow_link_ready(project, "../secret"));
  EXPECT_FALSE(pm::follow_link_ready(project, ".."));
}

TEST(FollowLink, RetryWaitsItsTimeThenGivesUp) {
  using Step = pm::FollowLinkRetry::Step;
  using std::chrono::milliseconds;
  pmtest::TempDir dir;
  const auto project = dir / "Libro";
  std::filesystem::create_directories(project);
  pmtest::write_bytes(project / "2", "");  // a deleted room: no bytes
  auto now = std::chrono::steady_clock::time_point{};
  pm::FollowLinkRetry retry([&now] { return now; });
  const long patience = long(pm::kFollowLinkPatience.count());
  struct Tick {
    long after_ms;           // the clock moves on by this much first
    const char* target;
    const char* write;       // the target's text written before the tick, if any
    Step step;
  } ticks[] = {
      {0, "40", nullptr, Step::Wait},
      {patience - 1, "40", nullptr, Step::Wait},
      {1, "40", nullptr, Step::GiveUp},
      {0, "40", nullptr, Step::Wait},  // the next tick is a new request, with its own time
      {patience - 1, "2", nullptr, Step::Wait},  // another target starts the time again
      {patience - 1, "2", nullptr, Step::Wait},
      {1, "2", nullptr, Step::GiveUp},  // an empty room is a missing one
      {0, "41", nullptr, Step::Wait},
      {patience - 1, "41", "La stanza\r\n", Step::Open},  // written while the request waits
      {0, "41", nullptr, Step::Open},
      {0, "../Libro/41", nullptr, Step::Drop},  // outside the project: dropped at once
      {patience, "..", nullptr, Step::Drop},
  };
  for (const Tick& t : ticks) {
    now += milliseconds(t.after_ms);
    if (t.write) pmtest::write_bytes(project / t.target, t.write);
    EXPECT_EQ(retry.tick(project, t.target), t.step) << t.target << " +" << t.after_ms;
  }
}

}  // namespace

#include "gui/monitor/refresh_timer.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <thread>
#include <vector>

namespace velvasto::gui {
namespace {

TEST(RefreshTimerTest, CatchUpKeepsTheGridOfItsStart) {
  struct Case {
    std::uint32_t start, now, interval;
    CatchUp expected;
  };
  const Case cases[] = {
      {1000, 1099, 100, {0, 1000}},               // not yet an interval
      {1000, 1100, 100, {1, 1100}},               // exactly one
      {1000, 1350, 100, {3, 1300}},               // woke 250 ms late: a burst, grid kept
      {0xFFFFFF00u, 0x64, 100, {3, 0x2C}},        // the clock wrapped in between
      {5, 5 + 799, 800, {0, 5}},
  };
  for (const Case& c : cases) {
    const CatchUp due = CatchUpTicks(c.start, c.now, c.interval);
    EXPECT_EQ(due.ticks, c.expected.ticks) << c.start << " " << c.now;
    EXPECT_EQ(due.start, c.expected.start) << c.start << " " << c.now;
  }
}

struct TickLog {
  std::vector<int> ids;
  std::function<void(int)> Owner() {
    return [this](int id) { ids.push_back(id); };
  }
};

TEST(RefreshTimerTest, SleepingLoopTicksWithItsIdUntilStopped) {
  TickLog log;
  CRefreshTimer timer(10, 3, log.Owner());
  EXPECT_FALSE(timer.Running());
  ASSERT_TRUE(timer.Start());
  ASSERT_TRUE(QTest::qWaitFor([&] { return log.ids.size() >= 3; }, 5000));
  EXPECT_EQ(log.ids, std::vector<int>(log.ids.size(), 3));
  ASSERT_TRUE(timer.Stop());
  const std::size_t ticked = log.ids.size();
  QTest::qWait(50);
  EXPECT_EQ(log.ids.size(), ticked);
  // Started again after a stop, it ticks again.
  ASSERT_TRUE(timer.Start());
  EXPECT_TRUE(QTest::qWaitFor([&] { return log.ids.size() > ticked; }, 5000));
}

TEST(RefreshTimerTest, OneShotTicksOnceAndCannotBeStopped) {
  for (const auto loop : {CRefreshTimer::Loop::Sleeping, CRefreshTimer::Loop::CatchUp}) {
    TickLog log;
    CRefreshTimer timer(10, 1, log.Owner());
    timer.SetPeriodic(false);
    timer.SetLoop(loop);
    ASSERT_TRUE(timer.Start());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !log.ids.empty(); }, 5000));
    QTest::qWait(120);
    EXPECT_EQ(log.ids.size(), 1u);
    EXPECT_FALSE(timer.Running());
    EXPECT_FALSE(timer.Stop());
  }
}

TEST(RefreshTimerTest, CatchUpLoopMakesUpForALateWakeUpInOneBurst) {
  std::vector<qint64> tickTimes;
  QElapsedTimer clock;
  CRefreshTimer timer(100, 2, [&](int) { tickTimes.push_back(clock.elapsed()); });
  timer.SetLoop(CRefreshTimer::Loop::CatchUp);
  clock.start();
  ASSERT_TRUE(timer.Start());
  // The owner's thread is busy for 360 ms: the first wake-up after it owes at least three ticks,
  // all at once, and no more than the whole intervals that have passed.
  std::this_thread::sleep_for(std::chrono::milliseconds(360));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !tickTimes.empty(); }, 5000));
  const qint64 burstAt = tickTimes.front();
  std::size_t burst = 0;
  for (const qint64 at : tickTimes) burst += at == burstAt ? 1 : 0;
  EXPECT_GE(burst, 3u);
  EXPECT_LE(burst, static_cast<std::size_t>(burstAt / 100));
  timer.Stop();
}

}  // namespace
}  // namespace velvasto::gui

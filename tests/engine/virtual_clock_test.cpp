// Virtual time: timers fire at their deadlines as the clock passes them, and only then.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/virtual_clock.h"

namespace velvasto {
namespace {

using ::testing::ElementsAre;

class VirtualClockTest : public ::testing::Test {
 protected:
  // Starts `timer` so that each tick logs `name` with the clock's millisecond.
  void StartLogging(VirtualTimer& timer, std::uint32_t periodMs, const std::string& name) {
    timer.Start(periodMs, [this, name] { ticks.push_back(name + "@" + std::to_string(clock.NowUs() / 1000)); });
  }

  VirtualClock clock;
  VirtualTimer fast{clock};
  VirtualTimer slow{clock};
  std::vector<std::string> ticks;
};

TEST_F(VirtualClockTest, FiresTimersInTimeOrderAndTiesInTheOrderTheyWereMade) {
  StartLogging(slow, 10, "slow");
  StartLogging(fast, 4, "fast");
  clock.AdvanceMs(20);
  // "fast" was made first, so it goes first at 20 ms although "slow" started first.
  EXPECT_THAT(ticks, ElementsAre("fast@4", "fast@8", "slow@10", "fast@12", "fast@16", "fast@20", "slow@20"));
  EXPECT_EQ(clock.NowUs(), 20'000u);
}

TEST_F(VirtualClockTest, SleepingPassesDeadlinesWhichFireOnceOnTheNextAdvance) {
  StartLogging(fast, 5, "fast");
  clock.SleepMs(23);
  EXPECT_TRUE(ticks.empty());
  clock.AdvanceMs(0);
  clock.AdvanceMs(5);
  EXPECT_THAT(ticks, ElementsAre("fast@23", "fast@28"));
}

TEST_F(VirtualClockTest, FireRunsATickNowAndRestartsThePeriod) {
  StartLogging(fast, 5, "fast");
  clock.SleepMs(3);
  fast.Fire();
  clock.AdvanceMs(5);
  EXPECT_THAT(ticks, ElementsAre("fast@3", "fast@8"));
  fast.Stop();
  fast.Fire();
  clock.AdvanceMs(50);
  EXPECT_EQ(ticks.size(), 2u) << "a stopped timer never fires";
}

}  // namespace
}  // namespace velvasto

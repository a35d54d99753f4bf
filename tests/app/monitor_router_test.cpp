// Routing of monitor entries to the meters, with the master volume lock of each port.

#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "app/monitor_router.h"
#include "controller_fixture.h"

namespace velvasto::test {
namespace {

MonitorEntry Master(std::uint32_t port, std::initializer_list<std::uint8_t> message, std::uint32_t value) {
  MonitorEntry entry{
      .kind = MonitorKind::MasterVolume, .value = value, .length = static_cast<std::uint32_t>(message.size()), .port = port};
  std::ranges::copy(message, entry.data.begin());
  return entry;
}

const std::initializer_list<std::uint8_t> kGsMaster = {0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7};
const std::initializer_list<std::uint8_t> kXgMaster = {0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x04, 0x50, 0xF7};
const std::initializer_list<std::uint8_t> kUniversalMaster = {0xF0, 0x7F, 0x04, 0x01, 0x00, 0x70, 0xF7};

TEST(MonitorRouterTest, APortFollowsOnlyTheFirstKindOfMasterVolumeThatSetAValue) {
  EXPECT_EQ(MasterMessageKind(Master(0, kGsMaster, 100)), 1u);
  EXPECT_EQ(MasterMessageKind(Master(0, kXgMaster, 80)), 3u);
  EXPECT_EQ(MasterMessageKind(Master(0, kUniversalMaster, 112)), 4u);
  EXPECT_EQ(MasterMessageKind(Master(0, {0xF0, 0x41, 0x10, 0x42}, 1)), 0u) << "too short for the GS form";
  LoggingMonitor monitor;
  MonitorRouter router(monitor);
  EXPECT_TRUE(router.Route(Master(0, kXgMaster, 0)));   // value 0: stored, no lock
  EXPECT_TRUE(router.Route(Master(0, kGsMaster, 100)));  // locks port A to GS
  EXPECT_TRUE(router.Route(Master(0, kXgMaster, 80)));   // ignored
  EXPECT_TRUE(router.Route(Master(1, kXgMaster, 70)));   // port B is unlocked
  EXPECT_TRUE(router.Route(Master(0, kGsMaster, 90)));
  EXPECT_EQ(monitor.calls, (std::vector<std::string>{"master 0 0", "master 0 100", "master 1 70", "master 0 90"}));

  monitor.calls.clear();
  router.ClearLocks();
  router.Lock(1, MonitorRouter::kCm6Lock);
  router.Route(Master(0, kXgMaster, 60));
  router.Route(Master(1, kGsMaster, 50));
  router.Route(Master(1, kXgMaster, 40));
  EXPECT_EQ(monitor.calls, (std::vector<std::string>{"master 0 60"})) << "a CM-64 file holds port B's master";
}

}  // namespace
}  // namespace velvasto::test

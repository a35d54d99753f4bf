#include "song/song_settings.h"

#include <gtest/gtest.h>

#include "core/settings_block.h"

namespace velvasto {
namespace {

TEST(SongSettingsTest, TakesEveryReaderValueFromTheBlock) {
  SettingsBlock block;
  block.mapMode = 2;
  block.forceMap = 3;
  block.adjust55 = 1;
  block.fix8850 = 1;
  block.rcpLoopLimit = 4;
  block.sc55Scan = "a";
  block.sc88Scan = "b";
  block.sc88ProScan = "c";
  block.cm6Port = 2;
  block.gsdPort = 0;
  block.gsd2Port = 1;
  const SongSettings settings = MakeSongSettings(block, 2);
  EXPECT_EQ(settings.portCount, 2);
  EXPECT_EQ(settings.mapMode, 2);
  EXPECT_EQ(settings.forceMap, 3);
  EXPECT_TRUE(settings.adjust55);
  EXPECT_TRUE(settings.fix8850);
  EXPECT_EQ(settings.rcpLoopLimit, 4);
  EXPECT_EQ(settings.sc55Scan + settings.sc88Scan + settings.sc88ProScan, "abc");
  EXPECT_EQ(settings.cm6Port, 2);
  EXPECT_EQ(settings.gsdPort, 0);
  EXPECT_EQ(settings.gsd2Port, 1);
}

}  // namespace
}  // namespace velvasto

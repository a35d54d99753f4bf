#include "song/song_settings.h"

#include <gtest/gtest.h>

#include <vector>

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
  EXPECT_EQ(std::vector<int>({settings.portCount, settings.mapMode, settings.forceMap, settings.adjust55,
                              settings.fix8850, settings.rcpLoopLimit, settings.cm6Port, settings.gsdPort,
                              settings.gsd2Port}),
            std::vector<int>({2, 2, 3, 1, 1, 4, 2, 0, 1}));
  EXPECT_EQ(settings.sc55Scan + settings.sc88Scan + settings.sc88ProScan, "abc");
}

}  // namespace
}  // namespace velvasto

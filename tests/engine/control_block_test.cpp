// A Recomposer song with CM6 and GSD files through the engine: the block begin, progress and
// end entries of the monitor feed, and the sending display they drive.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/control_block_progress.h"
#include "engine_fixture.h"
#include "song/rcp_file.h"
#include "support/control_file_builder.h"
#include "support/recomposer_builder.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

bool IsBlockEntry(const MonitorEntry& entry) {
  return entry.kind >= MonitorKind::Cm6Begin && entry.kind <= MonitorKind::BlockProgress;
}

TEST_F(EngineTest, ControlBlocksReportTheirMessagesAndTheSendingDisplayFollows) {
  TempDir dir;
  dir.Write("SONG.CM6", Cm6Builder().Build());
  dir.Write("SONG.GSD", GsdBuilder().Build());
  RcpBuilder builder;
  builder.header.cm6Name = "SONG.CM6";
  builder.header.gsdName = "SONG.GSD";
  builder.AddTrack().Note(48, 60, 24, 100).End();
  CRCPFile song(SongSettings{});
  ASSERT_TRUE(song.Load(dir.Write("song.rcp", builder.Build())));

  Start(song);
  clock.AdvanceMs(song.SongStartTime() / 1000 + 1000);
  std::vector<MonitorEntry> blocks;
  for (const MonitorEntry& entry : TakeMonitor()) {
    if (IsBlockEntry(entry)) blocks.push_back(entry);
  }

  ASSERT_EQ(blocks.size(), 1u + 102u + 1u + 1u + 271u + 1u);
  EXPECT_EQ(blocks[0].kind, MonitorKind::Cm6Begin);
  EXPECT_EQ(blocks[0].value, 102u) << "the messages of the block, not its records";
  for (std::uint32_t n = 1; n <= 102; ++n) {
    ASSERT_EQ(blocks[n].kind, MonitorKind::BlockProgress);
    EXPECT_EQ(blocks[n].value, n);
  }
  EXPECT_EQ(blocks[103].kind, MonitorKind::Cm6End);
  EXPECT_EQ(blocks[104].kind, MonitorKind::GsdBegin);
  EXPECT_EQ(blocks[104].value, 271u);
  EXPECT_EQ(blocks[105].value, 1u) << "the GSD block counts only its own messages";
  EXPECT_EQ(blocks[105 + 270].value, 271u);
  EXPECT_EQ(blocks.back().kind, MonitorKind::GsdEnd);

  ControlBlockProgress display;
  EXPECT_FALSE(display.Active());
  std::vector<std::string> shown;
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    EXPECT_TRUE(display.Observe(blocks[i]));
    if (i == 0 || i == 51 || i == 102 || i == 104 || i == 104 + 271) {
      shown.push_back(std::string(display.Label()) + " " + std::to_string(display.Fraction()));
    }
  }
  EXPECT_THAT(shown, testing::ElementsAre("CM6 FILE SENDING 0.000000", "CM6 FILE SENDING 0.500000",
                                          "CM6 FILE SENDING 1.000000", "GSD FILE SENDING 0.000000",
                                          "GSD FILE SENDING 1.000000"));
  EXPECT_FALSE(display.Active()) << "the end entry closes the display";
  EXPECT_EQ(display.Fraction(), 0.0);
}

TEST(ControlBlockProgressTest, EntriesOutsideABlockChangeNothing) {
  ControlBlockProgress display;
  EXPECT_FALSE(display.Observe(BlockEntry(MonitorKind::BlockProgress, 3)));
  EXPECT_FALSE(display.Observe(BlockEntry(MonitorKind::GsdEnd, 0)));
  EXPECT_FALSE(display.Observe(TempoEntry(120)));
  EXPECT_TRUE(display.Observe(BlockEntry(MonitorKind::Gsd2Begin, 4)));
  EXPECT_EQ(display.Label(), "GSD2 FILE SENDING");
  EXPECT_FALSE(display.Observe(TempoEntry(120)));
  EXPECT_TRUE(display.Observe(BlockEntry(MonitorKind::BlockProgress, 3)));
  EXPECT_DOUBLE_EQ(display.Fraction(), 0.75);
  EXPECT_FALSE(display.Observe(BlockEntry(MonitorKind::BlockProgress, 3)));
}

}  // namespace
}  // namespace velvasto::test

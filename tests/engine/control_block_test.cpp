// A Recomposer song with CM6 and GSD files through the engine: the block begin, progress and
// end entries of the monitor feed.

#include <gtest/gtest.h>

#include <vector>

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

TEST_F(EngineTest, ControlBlocksReportTheirMessagesAndEachMessageSent) {
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
}

}  // namespace
}  // namespace velvasto::test

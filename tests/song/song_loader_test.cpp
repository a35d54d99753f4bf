#include <gtest/gtest.h>

#include "core/errors.h"
#include "song/song_loader.h"
#include "support/recomposer_builder.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

TEST(SongLoaderTest, TheReaderOfTheFilesKindLoadsItWhateverItsName) {
  test::TempDir dir;
  test::SmfBuilder smf(0, 48);
  smf.AddTrack().NoteOn(0, 0, 60, 100).EndOfTrack(1);
  test::RcpBuilder rcp;
  rcp.AddTrack().Note(1, 60, 1, 100).End();
  test::G36Builder g36;
  g36.AddTrack().Note(1, 60, 1, 100).End();
  EXPECT_EQ(LoadSong(dir.Write("a.rcp", smf.Build()), {})->Info().kind, SongKind::Smf);
  EXPECT_EQ(LoadSong(dir.Write("b.mid", rcp.Build()), {})->Info().kind, SongKind::Rcp);
  EXPECT_EQ(LoadSong(dir.Write("c.mid", g36.Build()), {})->Info().kind, SongKind::G36);
  try {
    LoadSong(dir.Write("d.rcp", std::string_view("not a song")), {});
    FAIL() << "a file of no known kind was loaded";
  } catch (const CErrMessage& error) {
    EXPECT_EQ(error.Message(), "サポートしていないファイル形式です。");
  }
}

}  // namespace
}  // namespace velvasto

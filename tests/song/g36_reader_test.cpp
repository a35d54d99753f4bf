#include <gtest/gtest.h>

#include "recomposer_load.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using test::G36Builder;
using test::LoadG36;

G36Builder SongOfTracks(int tracks) {
  G36Builder song;
  for (int t = 0; t < tracks; ++t) song.AddTrack().Note(1, 60, 1, 100).End();
  return song;
}

Bytes Rcfw() { return {'R', 'C', 'F', 'W', 0x01, 0x02, 0x03, 0x04, 0x05, 0x06}; }

TEST(G36ReaderTest, ReadsTheHeaderFields) {
  G36Builder song = SongOfTracks(2);
  song.header.title = "\x83\x65\x83\x58\x83\x67";  // "テスト"
  song.header.memo = std::string(360, 'm');
  song.header.timeBase = 480;
  song.header.tempo = 300;
  song.header.gsdName = "A.GSD";
  song.header.gsd2Name = "B.GSD";
  song.header.cm6Name = "C.CM6";
  song.header.trackCountByte = 36;
  song.trailer = Rcfw();
  const auto file = LoadG36(song.Build());
  ASSERT_TRUE(file);
  const SongInfo info = file->Info();
  EXPECT_EQ(info.kind, SongKind::G36);
  EXPECT_EQ(info.subtype, 0);
  EXPECT_EQ(info.title, "テスト");
  EXPECT_EQ(info.memo, std::string(360, 'm'));
  EXPECT_EQ(info.timeBase, 480u);
  EXPECT_EQ(file->Song().tempo, 300u);
  EXPECT_EQ(info.gsdFile, "A.GSD");
  EXPECT_EQ(info.gsd2File, "B.GSD");
  EXPECT_EQ(info.cm6File, "C.CM6");
  EXPECT_EQ(info.trackCount, 2);
  EXPECT_FALSE(file->Song().is36Track);
}

TEST(G36ReaderTest, EighteenTracksInTheHeaderMakeAG18Song) {
  G36Builder song = SongOfTracks(18);
  song.trailer = Rcfw();
  EXPECT_EQ(LoadG36(song.Build())->Info().subtype, 1);
}

TEST(G36ReaderTest, TheRcfwBlockOrTheFileEndEndsTheTrackList) {
  G36Builder song = SongOfTracks(3);
  song.trailer = Rcfw();
  EXPECT_EQ(LoadG36(song.Build())->Info().trackCount, 3);
  song.trailer.clear();
  EXPECT_EQ(LoadG36(song.Build())->Info().trackCount, 3);
  Bytes cut = song.Build();
  cut.resize(cut.size() - 1);
  EXPECT_EQ(LoadG36(cut)->Info().trackCount, 2);
}

TEST(G36ReaderTest, ImpossibleTrackSizesEndTheTrackList) {
  G36Builder below = SongOfTracks(1);
  below.AddTrack().DeclareSize(45).End();
  EXPECT_EQ(LoadG36(below.Build())->Info().trackCount, 1);
  G36Builder past = SongOfTracks(1);
  past.AddTrack().DeclareSize(0xFFFFFFF0u).End();
  EXPECT_EQ(LoadG36(past.Build())->Info().trackCount, 1);
}

TEST(G36ReaderTest, AFileWithoutACompleteTrackIsMalformed) {
  const std::string formatError = "ファイル形式が異常です。";
  G36Builder song;
  song.trailer = Rcfw();
  EXPECT_EQ(test::ErrorText([&] { LoadG36(song.Build()); }), formatError);
  EXPECT_EQ(test::ErrorText([&] { LoadG36(song.BuildHeader()); }), formatError);
  Bytes header = song.BuildHeader();
  header.resize(0x2A0);
  EXPECT_EQ(test::ErrorText([&] { LoadG36(header); }), formatError);
}

TEST(G36ReaderTest, TheHeaderCountStandsOnlyAsFarAsThereAreTracks) {
  G36Builder song = SongOfTracks(101);
  song.header.trackCountByte = 200;
  const auto file = LoadG36(song.Build());
  EXPECT_EQ(file->Song().tracks.size(), 100u);
  EXPECT_EQ(file->Info().trackCount, 100);
  song.header.trackCountByte = 3;
  EXPECT_EQ(LoadG36(song.Build())->Info().trackCount, 3);
}

TEST(G36ReaderTest, ReadersRefuseEachOthersFiles) {
  test::TempDir dir;
  CG36File g36({});
  EXPECT_FALSE(g36.Load(dir.Write("song.rcp", test::RcpBuilder().BuildHeader())));
  EXPECT_FALSE(g36.Loaded());
  CRCPFile rcp({});
  EXPECT_FALSE(rcp.Load(dir.Write("song.g36", SongOfTracks(1).Build())));
}

TEST(G36ReaderTest, ATrackThatRunsPastItsLastRecordIsADamagedG36File) {
  G36Builder song;
  song.AddTrack().Note(1, 60, 1, 100);
  EXPECT_EQ(test::ErrorText([&] { LoadG36(song.Build()); }), "壊れたG36ファイルです。");
}

TEST(G36MeasureTableTest, MeasuresStartAfterMeasureEndsAndAtSameMeasureLines) {
  auto records = [](std::initializer_list<std::uint8_t> commands) {
    std::vector<RcpRecord> out;
    for (const std::uint8_t command : commands) out.push_back({command, 0, 0, 0, 0, 0});
    return out;
  };
  // 0 note, 1 FD, 2 note, 3 FD, 4 FC, 5 FC, 6 note, 7 FD, 8 FE, 9 FD (after the end: not read)
  EXPECT_EQ(G36MeasureTable(records({0x3C, 0xFD, 0x3C, 0xFD, 0xFC, 0xFC, 0x3C, 0xFD, 0xFE, 0xFD})),
            (std::vector<std::uint32_t>{0, 2, 4, 5, 6, 8}));
  std::vector<RcpRecord> many = records({});
  for (int i = 0; i < 5000; ++i) many.push_back({0xFD, 0, 0, 0, 0, 0});
  EXPECT_EQ(G36MeasureTable(many).size(), CG36File::kMaxMeasures);
}

}  // namespace
}  // namespace velvasto

#include <gtest/gtest.h>

#include "recomposer_load.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using test::LoadRcp;
using test::RcpBuilder;

// A song of `tracks` tracks, each a single note and the end of the track.
RcpBuilder SongOfTracks(int tracks) {
  RcpBuilder song;
  for (int t = 0; t < tracks; ++t) song.AddTrack().Note(1, 60, 1, 100).End();
  return song;
}

TEST(RcpReaderTest, ReadsTheHeaderFields) {
  RcpBuilder song;
  song.header.title = "\x83\x65\x83\x58\x83\x67 SC-88";  // "テスト SC-88" in CP932
  song.header.memo = "memo \x82\xa0";
  song.header.timeBase = 480;
  song.header.tempo = 150;
  song.header.cm6Name = "SONG.CM6";
  song.header.gsdName = "SONG.GSD";
  song.AddTrack().Note(0, 60, 1, 100).End();
  const auto file = LoadRcp(song.Build());
  ASSERT_TRUE(file);
  const SongInfo info = file->Info();
  EXPECT_EQ(info.kind, SongKind::Rcp);
  EXPECT_EQ(info.subtype, 1);  // one track: not the 18-track layout
  EXPECT_EQ(info.title, "テスト SC-88");
  EXPECT_EQ(info.memo.size(), 336u);
  EXPECT_EQ(info.memo.substr(0, 7), "memo \x82\xa0");
  EXPECT_EQ(info.timeBase, 480u);
  EXPECT_EQ(info.cm6File, "SONG.CM6");
  EXPECT_EQ(info.gsdFile, "SONG.GSD");
  EXPECT_EQ(info.trackCount, 1);
  EXPECT_EQ(file->Song().tempo, 150u);
}

TEST(RcpReaderTest, TitleOfSixtyFourBytesWithoutZeroKeepsAllOfThem) {
  RcpBuilder song = SongOfTracks(1);
  song.header.title = std::string(64, 'A');
  EXPECT_EQ(LoadRcp(song.Build())->Info().title, std::string(64, 'A'));
}

TEST(RcpReaderTest, TrackCountComesFromTheTracksInTheFile) {
  RcpBuilder eighteen = SongOfTracks(18);
  eighteen.header.trackCountByte = 36;
  const auto file18 = LoadRcp(eighteen.Build());
  EXPECT_EQ(file18->Info().trackCount, 18);
  EXPECT_FALSE(file18->Song().is36Track);
  EXPECT_EQ(file18->Info().subtype, 0);

  const auto file36 = LoadRcp(SongOfTracks(36).Build());
  EXPECT_EQ(file36->Info().trackCount, 36);
  EXPECT_TRUE(file36->Song().is36Track);
  EXPECT_EQ(file36->Info().subtype, 1);

  const auto file20 = LoadRcp(SongOfTracks(20).Build());
  EXPECT_EQ(file20->Info().trackCount, 20);
  EXPECT_TRUE(file20->Song().is36Track);
}

TEST(RcpReaderTest, AHundredTracksLeaveTheHeaderCountInForce) {
  RcpBuilder song = SongOfTracks(101);
  song.header.trackCountByte = 36;
  const auto file = LoadRcp(song.Build());
  EXPECT_EQ(file->Song().tracks.size(), 100u);
  EXPECT_EQ(file->Info().trackCount, 36);
  song.header.trackCountByte = 0;
  EXPECT_EQ(LoadRcp(song.Build())->Info().trackCount, 18);
}

TEST(RcpReaderTest, ATrackCutShortEndsTheTrackList) {
  RcpBuilder song = SongOfTracks(3);
  Bytes bytes = song.Build();
  bytes.resize(bytes.size() - 3);
  const auto file = LoadRcp(bytes);
  EXPECT_EQ(file->Info().trackCount, 2);
  EXPECT_EQ(file->Events().back().status, kStatusEnd);
}

TEST(RcpReaderTest, ImpossibleTrackSizesEndTheTrackList) {
  // A size below the 44-byte track header.
  RcpBuilder below = SongOfTracks(2);
  below.AddTrack().DeclareSize(43).Note(0, 60, 1, 100).End();
  EXPECT_EQ(LoadRcp(below.Build())->Info().trackCount, 2);
  // A size past the end of the file: no allocation of it, the track list just ends.
  RcpBuilder past = SongOfTracks(2);
  past.AddTrack().DeclareSize(0xFFFF).Note(0, 60, 1, 100).End();
  EXPECT_EQ(LoadRcp(past.Build())->Info().trackCount, 2);
}

TEST(RcpReaderTest, ATrackOfFortySixBytesHasNoRecordAndTheNextFollowsIt) {
  RcpBuilder song;
  song.header.tempo = 125;  // with time base 48: 10,000 µs a tick
  // Declared 46 bytes: the header and 2 bytes that make no whole record.
  song.AddTrack().Mode(1).DeclareSize(46).Command(0x00, 0);
  // The next track starts 46 bytes after the first; its note must still be read in full.
  song.AddTrack().Note(1, 64, 1, 100).End();
  Bytes bytes = song.Build();
  // The first track was written with one 4-byte record; drop its last 2 bytes.
  bytes.erase(bytes.begin() + 0x586 + 46, bytes.begin() + 0x586 + 48);
  const auto file = LoadRcp(bytes);
  ASSERT_EQ(file->Song().tracks.size(), 2u);
  EXPECT_TRUE(file->Song().tracks[0].records.empty());
  EXPECT_EQ(test::DumpMessages(*file), (std::vector<std::string>{"0 90 40 64 A", "10000 90 40 00 A"}));
}

TEST(RcpReaderTest, DamagedHeadersAndMissingTracksFailWithTheFormatError) {
  const std::string formatError = "ファイル形式が異常です。";
  RcpBuilder song = SongOfTracks(1);
  // Ends right after the user exclusive definitions: not one track.
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(song.BuildHeader()); }), formatError);
  // Ends inside the header.
  Bytes header = song.BuildHeader();
  header.resize(0x1E0);
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(header); }), formatError);
  // Ends inside the user exclusive definitions.
  header = song.BuildHeader();
  header.resize(0x500);
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(header); }), formatError);
  // The first track's size is impossible.
  RcpBuilder bad;
  bad.AddTrack().DeclareSize(10).End();
  EXPECT_EQ(test::ErrorText([&] { LoadRcp(bad.Build()); }), formatError);
}

TEST(RcpReaderTest, AFileOfAnotherKindIsRefusedWithoutChange) {
  test::TempDir dir;
  CRCPFile reader({});
  test::G36Builder g36;
  g36.AddTrack().End();
  EXPECT_FALSE(reader.Load(dir.Write("song.g36", g36.Build())));
  EXPECT_FALSE(reader.Load(dir.Write("short.rcp", std::string_view("RCM-PC98V2.0"))));
  EXPECT_FALSE(reader.Loaded());
  EXPECT_FALSE(reader.HasTable());
  EXPECT_EQ(test::ErrorText([&] { reader.PlayTimeUs(); }), "データが読み込まれていません。");
  // The same object then loads an RCP file.
  EXPECT_TRUE(reader.Load(dir.Write("song.rcp", SongOfTracks(1).Build())));
}

TEST(RcpReaderTest, AMissingFileIsASystemError) {
  CRCPFile reader({});
  EXPECT_THROW(reader.Load("/nonexistent/velvasto/song.rcp"), CSystemErrMessage);
}

TEST(RcpReaderTest, ATrackThatRunsPastItsLastRecordIsADamagedFile) {
  RcpBuilder song;
  song.AddTrack().Note(1, 60, 1, 100);  // no end of track
  CRCPFile reader({});
  test::TempDir dir;
  EXPECT_EQ(test::ErrorText([&] { reader.Load(dir.Write("song.rcp", song.Build())); }), "壊れたRCPファイルです。");
  EXPECT_FALSE(reader.Loaded());
  EXPECT_TRUE(reader.Song().tracks.empty());
}

TEST(RcpReaderTest, MapLookupTriesThePathThenTheTitleThenTheMemo) {
  SongSettings scan;
  scan.mapMode = 1;
  RcpBuilder song = SongOfTracks(1);
  EXPECT_EQ(LoadRcp(song.Build(), scan, "tune-88p.rcp")->Info().mapResult, 3);
  EXPECT_EQ(LoadRcp(song.Build(), scan, "tune.rcp")->Info().mapResult, 0);
  song.header.title = "For SC-55";
  song.header.memo = "made on an SC-88Pro";
  EXPECT_EQ(LoadRcp(song.Build(), scan, "tune.rcp")->Info().mapResult, 1);
  // The path wins over the title.
  EXPECT_EQ(LoadRcp(song.Build(), scan, "88n/tune.rcp")->Info().mapResult, 2);
  song.header.title = "untitled";
  EXPECT_EQ(LoadRcp(song.Build(), scan, "tune.rcp")->Info().mapResult, 3);
  // Without automatic scanning nothing is looked up.
  EXPECT_EQ(LoadRcp(song.Build(), {}, "tune-88p.rcp")->Info().mapResult, 0);
}

TEST(RcpReaderTest, PlayTimeIsTheEndTime) {
  RcpBuilder song;
  song.header.tempo = 125;  // with time base 48: 10,000 µs a tick
  song.AddTrack().Note(30, 60, 10, 100).Rest(20).End();
  const auto file = LoadRcp(song.Build());
  EXPECT_EQ(file->PlayTimeUs(), 500'000u);
  EXPECT_EQ(file->Info().playTimeUs, 500'000u);
}

}  // namespace
}  // namespace velvasto

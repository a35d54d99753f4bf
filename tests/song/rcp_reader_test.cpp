// Reading Recomposer files (RCP/R36 and G36/G18): header fields, the track list, damaged
// files with their errors, and the limits that end every load in bounded time and memory.

#include <gtest/gtest.h>

#include <functional>

#include "recomposer_load.h"
#include "song/song_loader.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using test::ErrorText;
using test::G36Builder;
using test::LoadG36;
using test::LoadRcp;
using test::RcpBuilder;

constexpr const char* kFormatError = "ファイル形式が異常です。";
constexpr const char* kDamagedRcp = "壊れたRCPファイルです。";

// A song of `tracks` tracks, each a single note and the end of the track.
template <typename Builder>
Builder SongOfTracks(int tracks) {
  Builder song;
  for (int t = 0; t < tracks; ++t) song.AddTrack().Note(1, 60, 1, 100).End();
  return song;
}

TEST(RcpReaderTest, ReadsTheHeaderFieldsOfBothLayouts) {
  RcpBuilder rcp = SongOfTracks<RcpBuilder>(1);
  // "テスト SC-88" in CP932; the memo's 336 bytes.
  rcp.header = {.title = "\x83\x65\x83\x58\x83\x67 SC-88", .memo = "memo", .timeBase = 480, .cm6Name = "A.CM6", .gsdName = "B.GSD"};
  const SongInfo r = LoadRcp(rcp.Build())->Info();
  EXPECT_EQ(std::make_tuple(r.kind, r.title, r.memo.substr(0, 4), r.memo.size(), r.timeBase, r.cm6File, r.gsdFile),
            std::make_tuple(SongKind::Rcp, "テスト SC-88", "memo", 336u, 480u, "A.CM6", "B.GSD"));
  rcp.header.title = std::string(64, 'A');  // no zero byte: all 64 are the title
  EXPECT_EQ(LoadRcp(rcp.Build())->Info().title, std::string(64, 'A'));
  G36Builder g36 = SongOfTracks<G36Builder>(2);
  g36.header = {.title = "\x83\x65\x83\x58\x83\x67", .memo = std::string(360, 'm'), .timeBase = 480, .cm6Name = "C.CM6",
                .gsdName = "A.GSD", .gsd2Name = "B.GSD"};
  g36.trailer = {'R', 'C', 'F', 'W', 0x01, 0x02, 0x03, 0x04, 0x05, 0x06};  // ends the track list
  const SongInfo g = LoadG36(g36.Build())->Info();
  EXPECT_EQ(std::make_tuple(g.kind, g.title, g.memo, g.timeBase, g.gsdFile, g.gsd2File, g.cm6File, g.trackCount),
            std::make_tuple(SongKind::G36, "テスト", std::string(360, 'm'), 480u, "A.GSD", "B.GSD", "C.CM6", 2));
}

TEST(RcpReaderTest, TrackListsEndAtAHundredTracksOrAtTheFirstTrackCutShort) {
  RcpBuilder rcp = SongOfTracks<RcpBuilder>(18);
  rcp.header.trackCountByte = 36;
  EXPECT_EQ(std::make_tuple(LoadRcp(rcp.Build())->Info().trackCount, LoadRcp(rcp.Build())->Info().subtype),
            std::make_tuple(18, 0)) << "the tracks in the file count";
  EXPECT_EQ(LoadRcp(SongOfTracks<RcpBuilder>(20).Build())->Info().subtype, 1) << "more than 18: the 36-track layout";
  rcp = SongOfTracks<RcpBuilder>(101);
  rcp.header.trackCountByte = 36;
  EXPECT_EQ(LoadRcp(rcp.Build())->Song().tracks.size(), 100u);
  EXPECT_EQ(LoadRcp(rcp.Build())->Info().trackCount, 36) << "a hundred tracks leave the header count in force";
  EXPECT_EQ(LoadG36(SongOfTracks<G36Builder>(18).Build())->Info().subtype, 1) << "18 tracks make a G18 song";
  G36Builder g36 = SongOfTracks<G36Builder>(101);
  g36.header.trackCountByte = 200;
  EXPECT_EQ(LoadG36(g36.Build())->Info().trackCount, 100);
  g36.header.trackCountByte = 3;
  EXPECT_EQ(LoadG36(g36.Build())->Info().trackCount, 3);

  Bytes rcpCut = SongOfTracks<RcpBuilder>(3).Build();
  rcpCut.resize(rcpCut.size() - 3);
  EXPECT_EQ(LoadRcp(rcpCut)->Info().trackCount, 2);
  Bytes g36Cut = SongOfTracks<G36Builder>(3).Build();
  g36Cut.resize(g36Cut.size() - 1);
  EXPECT_EQ(LoadG36(g36Cut)->Info().trackCount, 2);
  // Sizes past the end of the file: a last track cut short (never allocated).
  for (const std::uint32_t size : {0xFFFFu, 0xFFFFFFF0u}) {
    RcpBuilder longRcp = SongOfTracks<RcpBuilder>(2);
    longRcp.AddTrack().DeclareSize(size).End();
    G36Builder longG36 = SongOfTracks<G36Builder>(2);
    longG36.AddTrack().DeclareSize(size).End();
    EXPECT_EQ(std::make_tuple(LoadRcp(longRcp.Build())->Info().trackCount, LoadG36(longG36.Build())->Info().trackCount),
              std::make_tuple(2, 2)) << size;
  }
}

TEST(RcpReaderTest, ATrackSizeInsideTheTrackHeaderFailsTheFileWhereverTheTrackStands) {
  // The second or the fourth of five tracks declares a size 1 or 44 bytes short of its header
  // (RCP 44 bytes, G36 46); the tracks after it are in the file.
  for (const int position : {1, 3}) {
    for (const std::uint32_t shortBy : {1u, 44u}) {
      RcpBuilder rcp;
      G36Builder g36;
      for (int t = 0; t < 5; ++t) {
        auto& rcpTrack = rcp.AddTrack().Note(1, 60, 1, 100).End();
        auto& g36Track = g36.AddTrack().Note(1, 60, 1, 100).End();
        if (t != position) continue;
        rcpTrack.DeclareSize(44 - shortBy);
        g36Track.DeclareSize(46 - shortBy);
      }
      EXPECT_EQ(ErrorText([&] { LoadRcp(rcp.Build()); }), kFormatError) << position << " " << shortBy;
      EXPECT_EQ(ErrorText([&] { LoadG36(g36.Build()); }), kFormatError) << position << " " << shortBy;
    }
  }
}

TEST(RcpReaderTest, ATrackOfFortySixBytesHasNoRecordAndTheNextFollowsIt) {
  RcpBuilder song;
  song.header.tempo = 125;  // with time base 48: 10,000 µs a tick
  // Declared 46 bytes: the header and 2 bytes that make no whole record.
  song.AddTrack().Mode(1).DeclareSize(46).Command(0x00, 0);
  song.AddTrack().Note(1, 64, 1, 100).End();
  Bytes bytes = song.Build();
  // The first track was written with one 4-byte record; drop its last 2 bytes.
  bytes.erase(bytes.begin() + 0x586 + 46, bytes.begin() + 0x586 + 48);
  const auto file = LoadRcp(bytes);
  ASSERT_EQ(file->Song().tracks.size(), 2u);
  EXPECT_TRUE(file->Song().tracks[0].records.empty());
  EXPECT_EQ(test::DumpMessages(*file), (std::vector<std::string>{"0 A MSG 90 40 64", "10000 A MSG 90 40 00"}));
}

TEST(RcpReaderTest, DamagedFilesFailWithTheirCatalogueTexts) {
  const RcpBuilder rcp = SongOfTracks<RcpBuilder>(1);
  // Cut inside the header, inside the user exclusives, and before the first track.
  for (const std::size_t size : {std::size_t{0x1E0}, std::size_t{0x500}, rcp.BuildHeader().size()}) {
    Bytes header = rcp.BuildHeader();
    header.resize(size);
    EXPECT_EQ(ErrorText([&] { LoadRcp(header); }), kFormatError) << size;
  }
  RcpBuilder badFirst;
  badFirst.AddTrack().DeclareSize(10).End();
  EXPECT_EQ(ErrorText([&] { LoadRcp(badFirst.Build()); }), kFormatError);
  G36Builder g36;
  g36.trailer = {'R', 'C', 'F', 'W'};
  EXPECT_EQ(ErrorText([&] { LoadG36(g36.Build()); }), kFormatError);
  Bytes g36Header = g36.BuildHeader();
  g36Header.resize(0x2A0);
  EXPECT_EQ(ErrorText([&] { LoadG36(g36Header); }), kFormatError);
  // A track that runs past its last record.
  RcpBuilder rcpOpen;
  rcpOpen.AddTrack().Note(1, 60, 1, 100);
  EXPECT_EQ(ErrorText([&] { LoadRcp(rcpOpen.Build()); }), kDamagedRcp);
  G36Builder g36Open;
  g36Open.AddTrack().Note(1, 60, 1, 100);
  EXPECT_EQ(ErrorText([&] { LoadG36(g36Open.Build()); }), "壊れたG36ファイルです。");
}

TEST(RcpReaderTest, ReadersDeclineOtherKindsAndTheLoaderPicksByContent) {
  test::TempDir dir;
  CRCPFile rcp({});
  EXPECT_FALSE(rcp.Load(dir.Write("song.g36", SongOfTracks<G36Builder>(1).Build())));
  EXPECT_FALSE(rcp.Load(dir.Write("short.rcp", std::string_view("RCM-PC98V2.0"))));
  EXPECT_EQ(ErrorText([&] { rcp.PlayTimeUs(); }), "データが読み込まれていません。");
  EXPECT_TRUE(rcp.Load(dir.Write("song.rcp", SongOfTracks<RcpBuilder>(1).Build()))) << "the same object loads later";
  EXPECT_FALSE(CG36File({}).Load(dir.Write("header.rcp", RcpBuilder().BuildHeader())));
  EXPECT_THROW(CRCPFile({}).Load(dir.Path() / "absent.rcp"), CSystemErrMessage);
  test::SmfBuilder smf(0, 48);
  smf.AddTrack().NoteOn(0, 0, 60, 100).EndOfTrack(1);
  EXPECT_EQ(LoadSong(dir.Write("a.rcp", smf.Build()), {})->Info().kind, SongKind::Smf);
  EXPECT_EQ(LoadSong(dir.Write("b.mid", SongOfTracks<RcpBuilder>(1).Build()), {})->Info().kind, SongKind::Rcp);
  EXPECT_EQ(LoadSong(dir.Write("c.mid", SongOfTracks<G36Builder>(1).Build()), {})->Info().kind, SongKind::G36);
  EXPECT_EQ(ErrorText([&] { LoadSong(dir.Write("d.rcp", std::string_view("not a song")), {}); }),
            "サポートしていないファイル形式です。");
}

TEST(RcpReaderTest, MapLookupTriesThePathThenTheTitleThenTheMemo) {
  SongSettings scan{.mapMode = 1};
  RcpBuilder song = SongOfTracks<RcpBuilder>(1);
  EXPECT_EQ(LoadRcp(song.Build(), scan, "tune-88p.rcp")->Info().mapResult, 3);
  EXPECT_EQ(LoadRcp(song.Build(), {}, "tune-88p.rcp")->Info().mapResult, 0) << "no lookup without scanning";
  song.header = {.title = "For SC-55", .memo = "made on an SC-88Pro"};
  EXPECT_EQ(LoadRcp(song.Build(), scan, "tune.rcp")->Info().mapResult, 1);
  EXPECT_EQ(LoadRcp(song.Build(), scan, "88n/tune.rcp")->Info().mapResult, 2) << "the path wins over the title";
  song.header.title = "untitled";
  EXPECT_EQ(LoadRcp(song.Build(), scan, "tune.rcp")->Info().mapResult, 3);
}

// `depth` nested loops of 255 rounds around `body`, at 10 ms a tick.
RcpBuilder NestedLoops(int depth, const std::function<void(test::RecomposerTrack&)>& body) {
  RcpBuilder song;
  song.header.tempo = 125;
  auto& track = song.AddTrack();
  for (int i = 0; i < depth; ++i) track.LoopStart();
  body(track);
  for (int i = 0; i < depth; ++i) track.LoopEnd(255);
  track.End();
  return song;
}

TEST(RcpLimitsTest, FilesThatAskForTooMuchEndWithAnErrorAndEachLimitIsExact) {
  // 255^5 rounds of a command of step 0: no time passes, no record is written.
  const RcpBuilder idle = NestedLoops(5, [](test::RecomposerTrack& track) { track.Command(0xE5, 0); });
  EXPECT_EQ(ErrorText([&] { LoadRcp(idle.Build()); }), kDamagedRcp);
  // 255^4 rests of 255 ticks: 4.3 × 10^10 seconds.
  const RcpBuilder rests = NestedLoops(4, [](test::RecomposerTrack& track) { track.Rest(255); });
  EXPECT_EQ(ErrorText([&] { LoadRcp(rests.Build()); }), kDamagedRcp);
  SongSettings limit2{.rcpLoopLimit = 2};
  EXPECT_EQ(LoadRcp(rests.Build(), limit2)->PlayTimeUs(), 16u * 255 * 10'000) << "a loop limit of 2";
  // Two records a round and no time: the table limit comes before the command limit.
  const RcpBuilder banks = NestedLoops(4, [](test::RecomposerTrack& t) { t.BankProgram(0, 0, 0).BankProgram(0, 0, 0); });
  EXPECT_EQ(ErrorText([&] { LoadRcp(banks.Build()); }), "メモリ不足です。");

  // Six commands, seven records (tempo, three notes on, two notes off, end), 200,000 µs: each
  // limit lets the song reach it and stops the next step.
  RcpBuilder song;
  song.header.tempo = 125;
  song.AddTrack().Note(1, 60, 1, 100).Note(1, 61, 1, 100).Note(18, 62, 30, 100).Command(0xE5, 0).Command(0xE5, 0).End();
  test::TempDir dir;
  const auto path = dir.Write("song.rcp", song.Build());
  auto load = [&path](RcpPassLimits limits) { CRCPFile(SongSettings{}, limits).Load(path); };
  EXPECT_EQ(ErrorText([&] { load({6, 7, 200'000}); }), "");
  EXPECT_EQ(ErrorText([&] { load({5, 7, 200'000}); }), kDamagedRcp);
  EXPECT_EQ(ErrorText([&] { load({6, 6, 200'000}); }), "メモリ不足です。");
  EXPECT_EQ(ErrorText([&] { load({6, 7, 199'999}); }), kDamagedRcp);
}

}  // namespace
}  // namespace velvasto

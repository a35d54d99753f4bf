// Loading a Standard MIDI File: wrappers, header and chunk checks and their messages.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "recomposer_load.h"
#include "song/midi_file.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using ::testing::ElementsAre;

constexpr const char* kBadFormat = "ファイル形式が異常です。";

Bytes OneNoteSong() {
  test::SmfBuilder smf(0, 480);
  smf.AddTrack().Text(0, 0x03, "Title").NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack(0);
  return smf.Build();
}

// The catalogue text of the error loading `bytes` throws, or "" when it loads.
std::string LoadError(const Bytes& bytes) {
  test::TempDir dir;
  return test::ErrorText([&] { CMIDIFile(SongSettings{}).Load(dir.Write("song.mid", bytes)); });
}

// A header chunk of `length` bytes, followed by `tail`.
Bytes Header(std::uint32_t length, std::uint16_t format, std::uint16_t tracks, std::uint16_t division,
             const Bytes& tail = {}) {
  Bytes out = {'M', 'T', 'h', 'd'};
  test::AppendBE32(out, length);
  test::AppendBE16(out, format);
  test::AppendBE16(out, tracks);
  test::AppendBE16(out, division);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

TEST(MidiFileLoadTest, PlainRiffAndMacBinaryFilesLoadAlike) {
  test::TempDir dir;
  const Bytes plain = OneNoteSong();
  struct Case {
    const char* name;
    Bytes bytes;
    bool riff, macBinary;
  };
  const Case cases[] = {{"plain.mid", plain, false, false},
                        {"riff.rmi", test::WrapRiff(plain), true, false},
                        {"mac.mid", test::WrapMacBinary(plain), false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CMIDIFile file(SongSettings{});
    ASSERT_TRUE(file.Load(dir.Write(c.name, c.bytes)));
    EXPECT_THAT(test::EventLines(file), ElementsAre("0 A MSG 90 3C 64", "500000 A MSG 80 3C 40", "500000 - END"));
    const SongInfo info = file.Info();
    EXPECT_EQ(std::make_tuple(info.kind, info.riff, info.macBinary, info.title, info.playTimeUs),
              std::make_tuple(SongKind::Smf, c.riff, c.macBinary, "Title", 500000u));
  }
  // The file is read once: a second load is refused.
  CMIDIFile file(SongSettings{});
  ASSERT_TRUE(file.Load(dir.Write("song.mid", plain)));
  EXPECT_EQ(test::ErrorText([&] { file.Load(dir.Path() / "song.mid"); }), "データはすでに読み込まれています。");
  EXPECT_EQ(file.EventCount(), 3u);
}

TEST(MidiFileLoadTest, TitleIsTheFirstTextOfTrackZeroInUtf8) {
  test::SmfBuilder smf(1, 480);
  // Track 1's text comes first in time but is not track 0's.
  smf.AddTrack().NoteOn(0, 0, 60, 1).Text(10, 0x03, "\x83\x5E\x83\x43\x83\x67\x83\x8B").Text(0, 0x01, "second");
  smf.AddTrack().Text(0, 0x01, "track 1");
  CMIDIFile file(SongSettings{});
  ASSERT_TRUE(file.LoadFromMemory(smf.Build()));
  EXPECT_EQ(file.Info().title, "タイトル");
}

TEST(MidiFileLoadTest, OtherFilesAreDeclinedAndLeaveNothingLoaded) {
  test::TempDir dir;
  Bytes shifted(21, 0);  // "MThd" at byte 21 is none of the three places
  const Bytes song = OneNoteSong();
  shifted.insert(shifted.end(), song.begin(), song.end());
  for (const Bytes& bytes : {Bytes{}, Bytes{'M', 'T', 'h'}, shifted}) {
    CMIDIFile file(SongSettings{});
    EXPECT_FALSE(file.Load(dir.Write("other.bin", bytes)));
    EXPECT_FALSE(file.HasTable());
    EXPECT_EQ(test::ErrorText([&] { file.TrackCount(); }), "データが読み込まれていません。");
  }
  EXPECT_THROW(CMIDIFile(SongSettings{}).Load(dir.Path() / "absent.mid"), CSystemErrMessage);
}

TEST(MidiFileLoadTest, DamagedChunksAreBadFormat) {
  const Bytes track = {'M', 'T', 'r', 'k', 0, 0, 0, 4, 0x00, 0xFF, 0x2F, 0x00};
  Bytes alienTrack = track;
  alienTrack[3] = 'X';
  Bytes longChunk = track;
  longChunk[4] = 0x7F;  // 2 GiB declared, 4 bytes present
  const Bytes cases[] = {
      Bytes(Header(6, 0, 1, 480).begin(), Header(6, 0, 1, 480).begin() + 10),  // header cut short
      Bytes{'M', 'T', 'h', 'd', 0, 0},
      Header(4, 0, 1, 480, track),           // shorter than its three fields
      Header(0xFFFFFFFF, 0, 1, 480, track),  // far beyond the file
      Header(6, 0, 1, 480),                  // declared track missing
      Header(6, 0, 1, 480, alienTrack),      // a chunk of another type
      Header(6, 0, 1, 480, longChunk),       // chunk length past the end of the file
  };
  for (const Bytes& bytes : cases) EXPECT_EQ(LoadError(bytes), kBadFormat) << bytes.size() << " bytes";
  // A longer header is skipped by its length; chunks after the last track are not read.
  Bytes longHeader = Header(8, 0, 1, 480, {0xAA, 0xBB});
  longHeader.insert(longHeader.end(), track.begin(), track.end());
  longHeader.insert(longHeader.end(), {'J', 'U', 'N', 'K', 0xFF, 0xFF, 0xFF, 0xFF});
  EXPECT_EQ(LoadError(longHeader), "");
}

TEST(MidiFileLoadTest, HeaderValuesOutsideTheSupportedRange) {
  const std::string format = "標準MIDIファイルはformat0とformat1以外はサポートしていません。";
  const std::string tracks = "標準MIDIファイルのサポートトラック数の上限100を超えています。";
  const std::string division = "標準MIDIファイルのサポートしていないタイムベースです。";
  EXPECT_EQ(LoadError(Header(6, 2, 1, 480)), format);
  EXPECT_EQ(LoadError(Header(6, 0x100, 1, 480)), format) << "the whole 16-bit field counts";
  EXPECT_EQ(LoadError(Header(6, 1, 101, 480)), tracks);
  EXPECT_EQ(LoadError(Header(6, 1, 0x100, 480)), tracks);
  EXPECT_EQ(LoadError(Header(6, 1, 1, 0xE728)), division);
  EXPECT_EQ(LoadError(Header(6, 1, 1, 0)), division);

  test::SmfBuilder hundred(1, 96);
  for (int i = 0; i < 100; ++i) hundred.AddTrack().NoteOn(static_cast<std::uint32_t>(i), 0, 60, 1).EndOfTrack();
  CMIDIFile file(SongSettings{});
  ASSERT_TRUE(file.LoadFromMemory(hundred.Build()));
  EXPECT_EQ(file.TrackCount(), 100);
  EXPECT_EQ(file.EventCount(), 101u);
  CMIDIFile empty(SongSettings{});
  ASSERT_TRUE(empty.LoadFromMemory(Header(6, 1, 0, 480)));
  EXPECT_THAT(test::EventLines(empty), ElementsAre("0 - END")) << "zero tracks give an empty song";
}

TEST(MidiFileLoadTest, EventErrors) {
  test::SmfBuilder noStatus(0, 480);
  noStatus.AddTrack().Raw(0, {0x3C, 0x64}).EndOfTrack();
  EXPECT_EQ(LoadError(noStatus.Build()), "標準MIDIファイルのランニングステータス異常。ファイルが壊れています。");
  // A system common byte in a track: the length of what follows is unknown.
  test::SmfBuilder common(0, 480);
  common.AddTrack().NoteOn(0, 0, 60, 1).Raw(0, {0xF2, 0x00, 0x00}).EndOfTrack();
  EXPECT_EQ(LoadError(common.Build()), kBadFormat);
}

TEST(MidiFileLoadTest, SongsLongerThanTheClockRangeAreBadFormat) {
  // One largest delta at the slowest tempo and division 1: 2^28 ticks of 16.8 s, 4.5e9 s.
  test::SmfBuilder slow(0, 1);
  slow.AddTrack().Tempo(0, 0xFFFFFF).NoteOn(0x0FFFFFFF, 0, 60, 1).EndOfTrack();
  EXPECT_EQ(LoadError(slow.Build()), kBadFormat);
  // At 120 beats per minute and division 96 a largest delta lasts 1,398,101 s: 1500 of them
  // stay below 2^31 s, 1600 do not.
  const auto manyDeltas = [](int count) {
    test::SmfBuilder smf(0, 96);
    test::SmfTrack& track = smf.AddTrack();
    for (int i = 0; i < count; ++i) track.NoteOn(0x0FFFFFFF, 0, 60, 1);
    track.EndOfTrack();
    return smf.Build();
  };
  EXPECT_EQ(LoadError(manyDeltas(1500)), "");
  EXPECT_EQ(LoadError(manyDeltas(1600)), kBadFormat);
}

}  // namespace
}  // namespace velvasto

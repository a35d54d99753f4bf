// Reading Standard MIDI Files: wrappers, header and chunk checks with their messages, the merge
// of the tracks (order, event decoding, exact times, ports), the track settings file (.mtk), and
// the bank handling and drum-pitch conversion the reader applies.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "recomposer_load.h"
#include "song/channel_converter.h"
#include "song/midi_file.h"
#include "song/smf_track_settings.h"
#include "support/event_text.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using ::testing::ElementsAre;
using Strings = std::vector<std::string>;
using test::Bytes;

constexpr const char* kBadFormat = "ファイル形式が異常です。";

// A title in CP932, one note.
Bytes OneNoteSong() {
  test::SmfBuilder smf(0, 480);
  smf.AddTrack().Text(0, 0x03, "\x83\x5E\x83\x43\x83\x67\x83\x8B").NoteOn(0, 0, 60, 100).NoteOff(480, 0, 60).EndOfTrack(0);
  return smf.Build();
}

// One track of `events` at `division` ticks a quarter, as a format 0 file.
Bytes OneTrack(std::uint16_t division, const std::function<void(test::SmfTrack&)>& events) {
  test::SmfBuilder smf(0, division);
  events(smf.AddTrack());
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
  for (const std::uint16_t field : {format, tracks, division}) test::AppendBE16(out, field);
  out.insert(out.end(), tail.begin(), tail.end());
  return out;
}

TEST(MidiFileLoadTest, PlainRiffAndMacBinaryFilesLoadAlikeOnceAndOthersAreDeclined) {
  test::TempDir dir;
  const Bytes plain = OneNoteSong();
  for (const auto& [bytes, riff, macBinary] : {std::tuple(plain, false, false), std::tuple(test::WrapRiff(plain), true, false),
                                               std::tuple(test::WrapMacBinary(plain), false, true)}) {
    CMIDIFile file(SongSettings{});
    ASSERT_TRUE(file.Load(dir.Write("song.mid", bytes)));
    EXPECT_THAT(test::EventLines(file), ElementsAre("0 A MSG 90 3C 64", "500000 A MSG 80 3C 40", "500000 - END"));
    const SongInfo info = file.Info();
    EXPECT_EQ(std::make_tuple(info.kind, info.riff, info.macBinary, info.title),
              std::make_tuple(SongKind::Smf, riff, macBinary, "タイトル"));  // from CP932
    EXPECT_EQ(test::ErrorText([&] { file.Load(dir.Path() / "song.mid"); }), "データはすでに読み込まれています。");
  }
  Bytes shifted(21, 0);  // "MThd" at byte 21 is none of the three places
  shifted.insert(shifted.end(), plain.begin(), plain.end());
  for (const Bytes& bytes : {Bytes{}, Bytes{'M', 'T', 'h'}, shifted}) {
    CMIDIFile file(SongSettings{});
    EXPECT_FALSE(file.Load(dir.Write("other.bin", bytes)));
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
      Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0},  // header cut short
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
  EXPECT_EQ(std::make_tuple(file.TrackCount(), file.EventCount()), std::make_tuple(100, 101u));
  CMIDIFile empty(SongSettings{});
  ASSERT_TRUE(empty.LoadFromMemory(Header(6, 1, 0, 480)));
  EXPECT_THAT(test::EventLines(empty), ElementsAre("0 - END")) << "zero tracks give an empty song";
}

TEST(MidiFileLoadTest, BadEventsAndSongsLongerThanTheClockRangeFail) {
  EXPECT_EQ(LoadError(OneTrack(480, [](test::SmfTrack& t) { t.Raw(0, {0x3C, 0x64}).EndOfTrack(); })),
            "標準MIDIファイルのランニングステータス異常。ファイルが壊れています。");
  // A system common byte in a track: the length of what follows is unknown.
  EXPECT_EQ(LoadError(OneTrack(480, [](test::SmfTrack& t) { t.NoteOn(0, 0, 60, 1).Raw(0, {0xF2, 0x00, 0x00}).EndOfTrack(); })),
            kBadFormat);
  // One largest delta at the slowest tempo and division 1: 2^28 ticks of 16.8 s, 4.5e9 s.
  EXPECT_EQ(LoadError(OneTrack(1, [](test::SmfTrack& t) { t.Tempo(0, 0xFFFFFF).NoteOn(0x0FFFFFFF, 0, 60, 1).EndOfTrack(); })),
            kBadFormat);
  // At 120 beats per minute and division 96 a largest delta lasts 1,398,101 s: 1500 of them
  // stay below 2^31 s, 1600 do not.
  const auto manyDeltas = [](int count) {
    return OneTrack(96, [count](test::SmfTrack& t) {
      for (int i = 0; i < count; ++i) t.NoteOn(0x0FFFFFFF, 0, 60, 1);
    });
  };
  EXPECT_EQ(LoadError(manyDeltas(1500)), "");
  EXPECT_EQ(LoadError(manyDeltas(1600)), kBadFormat);
}

// The table of `bytes` loaded with `settings` in the `dump` form.
Strings Lines(const Bytes& bytes, SongSettings settings = {}, const std::filesystem::path& path = {}) {
  CMIDIFile file(std::move(settings));
  EXPECT_TRUE(file.LoadFromMemory(bytes, path));
  return test::EventLines(file);
}

TEST(MidiFileMergeTest, SameTickEventsGoTrackByTrackThenInFileOrder) {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().NoteOn(96, 0, 60, 1).NoteOn(0, 0, 61, 1).NoteOn(96, 0, 62, 1).EndOfTrack();
  smf.AddTrack().NoteOn(0, 1, 70, 1).NoteOn(96, 1, 71, 1).NoteOn(0, 1, 72, 1).EndOfTrack(96);
  smf.AddTrack().NoteOn(96, 2, 80, 1).EndOfTrack();
  // The song ends when its last track does: track 1, one beat later.
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 A MSG 91 46 01", "500000 A MSG 90 3C 01", "500000 A MSG 90 3D 01", "500000 A MSG 91 47 01",
                          "500000 A MSG 91 48 01", "500000 A MSG 92 50 01", "1000000 A MSG 90 3E 01", "1000000 - END"));
}

TEST(MidiFileMergeTest, RunningStatusSystemExclusiveAndEscapes) {
  test::SmfBuilder smf(0, 96);
  // Running status note-on; a meta event keeps the running status; one data byte under running
  // status; a divided exclusive message and its continuation sent as it stands; a real-time byte
  // through an escape; an empty escape sends nothing.
  smf.AddTrack().Raw(0, {0x90, 0x3C, 0x40}).Raw(0, {0x3E, 0x41}).Text(0, 0x01, "between").Raw(0, {0x40, 0x00})
      .Raw(0, {0xC5, 0x10}).Raw(0, {0x11}).Raw(0, {0xD5, 0x33}).Raw(0, {0xE5, 0x00, 0x40}).Raw(0, {0xA5, 0x3C, 0x7F})
      .Raw(0, {0xB5, 0x07, 0x64}).SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
      .SysEx(0, {0x43, 0x10}).Escape(0, {0x4C, 0x00, 0xF7}).Escape(0, {0xF8}).Escape(0, {}).EndOfTrack();
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 A MSG 90 3C 40", "0 A MSG 90 3E 41", "0 A MSG 90 40 00", "0 A MSG C5 10", "0 A MSG C5 11",
                          "0 A MSG D5 33", "0 A MSG E5 00 40", "0 A MSG A5 3C 7F", "0 A MSG B5 07 64",
                          "0 A SYX F0 41 10 42 12 40 00 7F 00 41 F7", "0 A SYX F0 43 10", "0 A SYX 4C 00 F7",
                          "0 A SYX F8", "0 - END"));
}

TEST(MidiFileMergeTest, TruncatedTracksEndWhereTheirDataEnds) {
  // Each track is cut inside its last event; what came before it is kept.
  // A delta without event, a delta cut inside its bytes, a note with one data byte, SysEx
  // shorter than its length, a SysEx length cut, text shorter than its length, a meta event
  // without a type, End of Track without its length.
  const std::vector<Bytes> cutTails = {{0x00}, {0x81}, {0x00, 0x90, 0x3C}, {0x00, 0xF0, 0x05, 0x41, 0x10}, {0x00, 0xF0, 0x85},
                                       {0x00, 0xFF, 0x01, 0x10, 0x41}, {0x00, 0xFF}, {0x00, 0xFF, 0x2F}};
  for (const Bytes& tail : cutTails) {
    Bytes bytes = OneTrack(96, [](test::SmfTrack& t) { t.NoteOn(96, 0, 60, 1); });
    bytes.insert(bytes.end(), tail.begin(), tail.end());  // and fix the chunk length
    const std::uint32_t length = static_cast<std::uint32_t>(bytes.size() - 22);
    for (int i = 0; i < 4; ++i) bytes[18 + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    EXPECT_THAT(Lines(bytes), ElementsAre("500000 A MSG 90 3C 01", "500000 - END"));
  }
  // A track without End of Track ends with its data.
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().NoteOn(0, 0, 60, 1).NoteOn(192, 0, 61, 1);
  smf.AddTrack().NoteOn(96, 1, 60, 1).EndOfTrack(0);
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 A MSG 90 3C 01", "500000 A MSG 91 3C 01", "1000000 A MSG 90 3D 01", "1000000 - END"));
}

TEST(MidiFileMergeTest, TempoRecordsCarryWholeBeatsPerMinute) {
  test::SmfBuilder smf(0, 480);
  // Tempo 0 is no tempo at all: ignored, 400,001 stays; 300 µs are 200,000 beats per minute,
  // more than the record's 16 bits hold.
  smf.AddTrack().Tempo(0, 500000).Tempo(480, 461538).Tempo(480, 400001).NoteOn(480, 0, 60, 1).Tempo(0, 0)
      .NoteOn(480, 0, 61, 1).Tempo(0, 300).EndOfTrack(0);
  // The times use the file's exact microseconds per quarter, not the truncated tempo.
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 - TEMPO 120", "500000 - TEMPO 130", "961538 - TEMPO 149", "1361539 A MSG 90 3C 01",
                          "1761540 A MSG 90 3D 01", "1761540 - TEMPO 65535", "1761540 - END"));
}

// Exact time of `tick` under a tempo map (tick → microseconds per quarter, from tick 0),
// computed from scratch for each tick: round(sum of ticks × tempo / division), halves up.
std::uint64_t ExactTime(const std::map<std::uint64_t, std::uint64_t>& tempoMap, std::uint64_t division,
                        std::uint64_t tick) {
  std::uint64_t scaled = 0;
  for (auto it = tempoMap.begin(); it != tempoMap.end() && it->first < tick; ++it) {
    const auto next = std::next(it);
    const std::uint64_t end = next == tempoMap.end() || next->first > tick ? tick : next->first;
    scaled += (end - it->first) * it->second;
  }
  return (2 * scaled + division) / (2 * division);
}

TEST(MidiFileMergeTest, TimesAreExactUnderATempoMap) {
  constexpr std::uint64_t kDivision = 457;  // odd, so that no tempo divides evenly
  const std::map<std::uint64_t, std::uint64_t> tempoMap = {{0, 500000}, {1237, 461539}, {2999, 333333}, {5003, 700001}};
  test::SmfBuilder smf(1, kDivision);
  // Track 0: the tempo map. Track 1: a note on every 7th tick up to tick 9000.
  smf.AddTrack().Tempo(1237, 461539).Tempo(2999 - 1237, 333333).Tempo(5003 - 2999, 700001).EndOfTrack();
  test::SmfTrack& notes = smf.AddTrack().NoteOn(0, 0, 60, 1);
  for (int i = 0; i < 9000 / 7; ++i) notes.NoteOn(7, 0, 60, 1);
  notes.EndOfTrack();
  const Strings lines = Lines(smf.Build());
  // Compare the note records only; tempo records sit in between.
  Strings noteLines;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(noteLines),
               [](const std::string& line) { return line.find(" MSG ") != std::string::npos; });
  ASSERT_EQ(noteLines.size(), 9000 / 7 + 1);
  for (std::uint64_t i = 0; i < noteLines.size(); ++i) {
    EXPECT_EQ(noteLines[i], std::to_string(ExactTime(tempoMap, kDivision, i * 7)) + " A MSG 90 3C 01") << "tick " << i * 7;
  }
  EXPECT_EQ(lines.back(), std::to_string(ExactTime(tempoMap, kDivision, 9000 / 7 * 7)) + " - END");
}

Bytes PortSong() {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack(96);
  // Track 1 moves to port B, where its tempo still counts for the whole song.
  smf.AddTrack().Port(0, 1).NoteOn(0, 1, 61, 1).SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).Tempo(0, 250000).Port(48, 0)
      .NoteOn(0, 1, 62, 1).EndOfTrack();
  return smf.Build();
}

TEST(MidiFileMergeTest, PortMetaEventsAddressTracksAndWithOnePortPortBSendsNothing) {
  EXPECT_THAT(Lines(PortSong(), SongSettings{.portCount = 2}),
              ElementsAre("0 A MSG 90 3C 01", "0 B MSG 91 3D 01", "0 B SYX F0 7E 7F 09 01 F7", "0 - TEMPO 240",
                          "125000 A MSG 91 3E 01", "250000 - END"));
  EXPECT_THAT(Lines(PortSong()), ElementsAre("0 A MSG 90 3C 01", "0 - TEMPO 240", "125000 A MSG 91 3E 01", "250000 - END"));
}

TEST(MidiFileMergeTest, SequencerMarkSkipsChannels11To16FromThenOn) {
  test::SmfBuilder smf(0, 96);
  const std::uint8_t mark[] = {0x00, 0x00, 0x41, 0x01};
  const std::uint8_t otherMark[] = {0x00, 0x00, 0x43};
  smf.AddTrack().NoteOn(0, 10, 60, 1).Meta(0, 0x7F, otherMark).NoteOn(0, 11, 60, 1).Meta(0, 0x7F, mark)
      .NoteOn(0, 9, 60, 1).NoteOn(0, 10, 61, 1).Control(0, 15, 7, 100).NoteOn(0, 0, 62, 1).EndOfTrack();
  EXPECT_THAT(Lines(smf.Build()), ElementsAre("0 A MSG 9A 3C 01", "0 A MSG 9B 3C 01", "0 A MSG 99 3C 01",
                                              "0 A MSG 90 3E 01", "0 - END"));
}

// The track settings file (.mtk) beside a song moves and silences its tracks.
TEST(SmfTrackSettingsTest, DirectiveLinesAndFileLimits) {
  TrackSettings settings{};
  for (const char* line : {"TRACK1 PORT:B", "  track 2\tport: a   ch:off", "Track3: CH: OFF PORT:c # PORT:A",
                           "TRACK4 PORT:1 CH:5 VOLUME:3", "TRACK101 PORT:B"}) {
    EXPECT_TRUE(ApplyTrackSettingsLine(line, settings)) << line;
  }
  for (const char* line : {"TRACKS 5 PORT:B", "TRACK0 PORT:B", "TRACK PORT:B", "# TRACK5 PORT:B", "PORT:B TRACK5"}) {
    EXPECT_FALSE(ApplyTrackSettingsLine(line, settings)) << line;
  }
  using State = std::pair<std::optional<PortId>, bool>;
  const auto state = [&settings](int track) { return State(settings[track].port, settings[track].silenced); };
  EXPECT_EQ((std::vector{state(0), state(1), state(2), state(3), state(4)}),
            (std::vector<State>{{PortId::B, false}, {PortId::A, true}, {PortId::B, true}, {}, {}}));
  EXPECT_TRUE(ApplyTrackSettingsLine("TRACK1 PORT:A", settings));
  EXPECT_EQ(settings[0].port, PortId::A) << "a later directive overrides";

  test::TempDir dir;
  std::string text = "TRACK1" + std::string(250, ' ') + "PORT:B\r\n";  // PORT stands past 256 characters
  for (int i = 0; i < 99; ++i) text += "TRACK2 PORT:A\r\n";              // directive lines 2 to 100
  dir.Write("song.mtk", text + "TRACK3 PORT:B\r\n");                   // the 101st is not read
  const TrackSettings read = ReadTrackSettingsFile(dir.Path() / "song.mid");
  EXPECT_EQ(std::vector({read[0].port, read[1].port, read[2].port}), std::vector<std::optional<PortId>>({{}, PortId::A, {}}));
}

TEST(SmfTrackSettingsTest, SettingsFileMovesAndSilencesTracks) {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().Port(0, 1).NoteOn(0, 0, 60, 1).EndOfTrack();  // asks for port B itself
  smf.AddTrack().NoteOn(0, 1, 61, 1).EndOfTrack();
  smf.AddTrack().Port(0, 1).NoteOn(0, 2, 62, 1).SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}).Tempo(0, 250000).EndOfTrack(96);
  test::TempDir dir;
  const auto path = dir.Write("song.mid", smf.Build());
  dir.Write("song.mtk", "# ports for my module\nTRACK1 PORT:A\nTRACK2 PORT:B\nTRACK3 CH:OFF\n");
  CMIDIFile file(SongSettings{.portCount = 2});
  ASSERT_TRUE(file.Load(path));
  // Track 1's own port event yields to the file; track 3 follows its port event but sends
  // only its exclusive message, and its tempo still rules the song.
  EXPECT_THAT(test::EventLines(file), ElementsAre("0 A MSG 90 3C 01", "0 B MSG 91 3D 01", "0 B SYX F0 7E 7F 09 01 F7",
                                                  "0 - TEMPO 240", "250000 - END"));
  // Silenced tracks get no map insertions; with one port the port B track is dropped.
  dir.Write("song.mtk", "TRACK 1 PORT:A CH:OFF\nTRACK 2 PORT:B\n");
  CMIDIFile forced(SongSettings{.mapMode = 2, .forceMap = 2});
  ASSERT_TRUE(forced.Load(path));
  EXPECT_THAT(test::EventLines(forced), ElementsAre("0 - TEMPO 240", "250000 - END"));
}


TEST(ChannelConverterTest, VariationFallbackFitsBanksOfTheThreeClasses) {
  // Program 56 Trumpet is class 1, 48 Strings class 2, 0 Piano 1 class 3, 4 E.Piano 1 class 0.
  struct Case {
    std::uint8_t program, bank, expected;
  };
  const Case cases[] = {{56, 8, 0},  {56, 126, 126}, {56, 127, 127}, {56, 0, 0},   {48, 12, 8},    {48, 9, 8},
                        {48, 15, 8}, {48, 16, 0},    {48, 8, 8},     {48, 127, 127}, {0, 9, 8},    {0, 20, 16},
                        {0, 17, 16}, {0, 23, 16},    {0, 24, 0},     {0, 16, 16},  {0, 126, 126}, {4, 24, 24},
                        {4, 99, 99}};
  for (const Case& c : cases) {
    EXPECT_EQ(FitBankToVariationClass(c.bank, CMIDIStream::ProgramMapTable()[c.program]), c.expected)
        << "program " << int(c.program) << " bank " << int(c.bank);
  }
}

TEST(MidiFileConversionTest, VariationFallbackFitsRememberedBanksPerChannelAndHoldsTheCutoff) {
  test::SmfBuilder smf(0, 96);
  // Trumpet (class 1) on bank 8 becomes bank 0; Strings then need no fit; channel 2 never had a
  // bank select. NRPN 01 20 (cutoff) is held at 64 at most, 01 21 (resonance) is not; a data
  // entry without an NRPN and one on another channel pass.
  smf.AddTrack().Control(0, 0, 0x00, 8).Program(0, 0, 56).Program(0, 0, 48).Program(0, 1, 56).Control(0, 0, 0x06, 100)
      .Control(0, 0, 0x63, 0x01).Control(0, 0, 0x62, 0x20).Control(0, 0, 0x06, 100).Control(0, 0, 0x06, 30)
      .Control(0, 1, 0x06, 100).Control(0, 0, 0x62, 0x21).Control(0, 0, 0x06, 100).EndOfTrack();
  EXPECT_THAT(Lines(smf.Build(), SongSettings{.adjust55 = true}),
              ElementsAre("0 A MSG B0 00 08", "0 A MSG B0 00 00", "0 A MSG C0 38", "0 A MSG C0 30", "0 A MSG C1 38",
                          "0 A MSG B0 06 64", "0 A MSG B0 63 01", "0 A MSG B0 62 20", "0 A MSG B0 06 40",
                          "0 A MSG B0 06 1E", "0 A MSG B1 06 64", "0 A MSG B0 62 21", "0 A MSG B0 06 64", "0 - END"));
}

TEST(MidiFileConversionTest, ForcedMapReplacesAndInsertsTheMapLsb) {
  // Channel 1 had its LSB; on channel 2 a note-off by velocity 0 needs no map, the first
  // sounding note gets the LSB and program 0; channel 3's program change gets the LSB alone.
  const Bytes smf = OneTrack(96, [](test::SmfTrack& t) {
    t.Control(0, 0, 0x20, 0).NoteOn(0, 0, 60, 1).NoteOn(0, 1, 60, 0).NoteOn(0, 1, 61, 1).NoteOn(0, 1, 62, 1);
    t.Program(0, 2, 5).EndOfTrack();
  });
  EXPECT_THAT(Lines(smf, SongSettings{.mapMode = 2, .forceMap = 1}),
              ElementsAre("0 A MSG B0 20 03", "0 A MSG 90 3C 01", "0 A MSG 91 3C 00", "0 A MSG B1 20 03",
                          "0 A MSG C1 00", "0 A MSG 91 3D 01", "0 A MSG 91 3E 01", "0 A MSG B2 20 03",
                          "0 A MSG C2 05", "0 - END"));
}

TEST(MidiFileConversionTest, MapScanOfThePathOrOfATitleFoundLaterMapsTheWholeSong) {
  SongSettings settings{.mapMode = 1};
  const Bytes plain = OneTrack(96, [](test::SmfTrack& t) { t.NoteOn(0, 0, 60, 1).EndOfTrack(); });
  EXPECT_THAT(Lines(plain, settings, "/songs/sc-88pro/song.mid"),
              ElementsAre("0 A MSG B0 20 03", "0 A MSG C0 00", "0 A MSG 90 3C 01", "0 - END"));
  // Track 0's first text, a beat in, names the SC-88 map; track 1 plays before it.
  test::SmfBuilder titled(1, 96);
  titled.AddTrack().Text(96, 0x03, "Song for 88n").Text(0, 0x01, "88Pro later text").EndOfTrack();
  titled.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack();
  EXPECT_THAT(Lines(titled.Build(), settings),
              ElementsAre("0 A MSG B0 20 02", "0 A MSG C0 00", "0 A MSG 90 3C 01", "500000 - END"));
  settings.mapMode = 0;  // without automatic scanning the path means nothing
  EXPECT_THAT(Lines(plain, settings, "/songs/sc-88pro/song.mid"), ElementsAre("0 A MSG 90 3C 01", "0 - END"));
}

// "Use for rhythm part" of GS part block `block`: F0 41 10 42 12 40 1b 15 vv sum F7.
std::vector<std::uint8_t> UseForRhythmPart(std::uint8_t block, std::uint8_t value) {
  const std::uint8_t address = static_cast<std::uint8_t>(0x10 | block);
  const auto sum = static_cast<std::uint8_t>((0u - (0x40u + address + 0x15u + value)) & 0x7F);
  return {0x41, 0x10, 0x42, 0x12, 0x40, address, 0x15, value, sum, 0xF7};
}

test::SmfTrack& DrumPitch(test::SmfTrack& track, std::uint8_t channel, std::uint8_t value = 0x44) {
  return track.Control(0, channel, 0x63, 0x18).Control(0, channel, 0x62, 0x24).Control(0, channel, 0x06, value);
}

TEST(MidiFileConversionTest, DrumPitchConversionFollowsTheRhythmPartsOfTheSong) {
  SongSettings settings{.fix8850 = true};
  test::SmfBuilder smf(0, 96);
  test::SmfTrack& track = smf.AddTrack();
  DrumPitch(track, 9);  // channel 10 plays drum map 1 from power-on
  DrumPitch(track, 0);  // channel 1 is a normal part
  track.SysEx(0, UseForRhythmPart(1, 2));
  DrumPitch(track, 0, 0x02);  // now drum map 2; below 4: pitch 0
  std::vector<std::uint8_t> badSum = UseForRhythmPart(1, 1);
  badSum[8] ^= 1;
  track.SysEx(0, badSum);  // a wrong checksum: the module ignores it, so do we
  DrumPitch(track, 0);
  track.SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});  // GS reset
  DrumPitch(track, 0);
  track.EndOfTrack();
  const Strings lines = Lines(smf.Build(), settings);
  Strings exclusives;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(exclusives),
               [](const std::string& line) { return line.find("SYX F0 41 10 42 12 41") != std::string::npos; });
  // -(0x41 + 0x01 + 0x24 + 0x40) & 0x7F = 0x5A; with map byte 0x11: 0x4A (0x0A for pitch 0).
  EXPECT_EQ(exclusives, (Strings{"0 A SYX F0 41 10 42 12 41 01 24 40 5A F7", "0 A SYX F0 41 10 42 12 41 11 24 00 0A F7",
                               "0 A SYX F0 41 10 42 12 41 11 24 40 4A F7"}));
  // The exclusive goes right before the data entry it converts.
  EXPECT_EQ(Strings(lines.begin() + 2, lines.begin() + 4), (Strings{exclusives[0], "0 A MSG B9 06 44"}));
  EXPECT_EQ(lines.size(), 3u * 5 + 3 + 3 + 1);  // 5 NRPN triples, 3 song SysEx, 3 conversions, end
}

TEST(MidiFileConversionTest, RhythmPartsAndChannelStateArePerPort) {
  SongSettings settings{.portCount = 2, .mapMode = 2, .forceMap = 3, .fix8850 = true};
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().SysEx(0, UseForRhythmPart(0, 0)).NoteOn(0, 9, 36, 1).EndOfTrack();
  test::SmfTrack& portB = smf.AddTrack().Port(0, 1).NoteOn(0, 9, 36, 1);
  DrumPitch(portB, 9).EndOfTrack();
  EXPECT_THAT(Lines(smf.Build(), settings),
              ElementsAre("0 A SYX F0 41 10 42 12 40 10 15 00 1B F7", "0 A MSG B9 20 01", "0 A MSG C9 00",
                          "0 A MSG 99 24 01", "0 B MSG B9 20 01", "0 B MSG C9 00", "0 B MSG 99 24 01",
                          "0 B MSG B9 63 18", "0 B MSG B9 62 24", "0 B SYX F0 41 10 42 12 41 01 24 40 5A F7",
                          "0 B MSG B9 06 44", "0 - END"));
}

}  // namespace
}  // namespace velvasto

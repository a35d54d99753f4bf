// The merge of a Standard MIDI File's tracks: order, event decoding, times and ports.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "recomposer_load.h"
#include "song/midi_file.h"
#include "song/smf_track_settings.h"
#include "support/event_text.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using ::testing::ElementsAre;

std::vector<std::string> Lines(const Bytes& bytes, SongSettings settings = {}) {
  CMIDIFile file(std::move(settings));
  EXPECT_TRUE(file.LoadFromMemory(bytes));
  return test::EventLines(file);
}

TEST(MidiFileMergeTest, SameTickEventsGoTrackByTrackThenInFileOrder) {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().NoteOn(96, 0, 60, 1).NoteOn(0, 0, 61, 1).NoteOn(96, 0, 62, 1).EndOfTrack();
  smf.AddTrack().NoteOn(0, 1, 70, 1).NoteOn(96, 1, 71, 1).NoteOn(0, 1, 72, 1).EndOfTrack(96);
  smf.AddTrack().NoteOn(96, 2, 80, 1).EndOfTrack();
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 A MSG 91 46 01", "500000 A MSG 90 3C 01", "500000 A MSG 90 3D 01",
                          "500000 A MSG 91 47 01", "500000 A MSG 91 48 01", "500000 A MSG 92 50 01",
                          "1000000 A MSG 90 3E 01",
                          // The song ends when its last track does: track 1, one beat later.
                          "1000000 - END"));
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
    test::SmfBuilder smf(0, 96);
    smf.AddTrack().NoteOn(96, 0, 60, 1);
    Bytes bytes = smf.Build();
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
  const std::vector<std::string> lines = Lines(smf.Build());
  // Compare the note records only; tempo records sit in between.
  std::vector<std::string> noteLines;
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
TEST(SmfTrackSettingsTest, DirectiveLines) {
  TrackSettings settings{};
  for (const char* line : {"TRACK1 PORT:B", "  track 2\tport: a   ch:off", "Track3: CH: OFF PORT:c # PORT:A",
                           "TRACK4 PORT:1 CH:5 VOLUME:3", "TRACK101 PORT:B"}) {
    EXPECT_TRUE(ApplyTrackSettingsLine(line, settings)) << line;
  }
  for (const char* line : {"TRACKS 5 PORT:B", "TRACK0 PORT:B", "TRACK PORT:B", "# TRACK5 PORT:B", "PORT:B TRACK5"}) {
    EXPECT_FALSE(ApplyTrackSettingsLine(line, settings)) << line;
  }
  EXPECT_EQ(std::make_pair(settings[0].port, settings[0].silenced), std::make_pair(std::optional(PortId::B), false));
  EXPECT_EQ(std::make_pair(settings[1].port, settings[1].silenced), std::make_pair(std::optional(PortId::A), true));
  EXPECT_EQ(std::make_pair(settings[2].port, settings[2].silenced), std::make_pair(std::optional(PortId::B), true));
  EXPECT_EQ(std::make_pair(settings[3].port, settings[3].silenced), std::make_pair(std::optional<PortId>(), false));
  EXPECT_EQ(settings[4].port, std::nullopt);
  EXPECT_TRUE(ApplyTrackSettingsLine("TRACK1 PORT:A", settings));
  EXPECT_EQ(settings[0].port, PortId::A) << "a later directive overrides";
}

TEST(SmfTrackSettingsTest, FileLimitsLinesAndDirectives) {
  test::TempDir dir;
  std::string text = "TRACK1" + std::string(250, ' ') + "PORT:B\r\n";  // PORT stands past 256 characters
  for (int i = 0; i < 99; ++i) text += "TRACK2 PORT:A\r\n";              // directive lines 2 to 100
  text += "TRACK3 PORT:B\r\n";                                          // the 101st is not read
  dir.Write("song.mtk", text);
  const TrackSettings settings = ReadTrackSettingsFile(dir.Path() / "song.mid");
  EXPECT_EQ(settings[0].port, std::nullopt);
  EXPECT_EQ(settings[1].port, PortId::A);
  EXPECT_EQ(settings[2].port, std::nullopt);
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
  SongSettings settings{.mapMode = 2, .forceMap = 2};
  CMIDIFile forced(settings);
  ASSERT_TRUE(forced.Load(path));
  EXPECT_THAT(test::EventLines(forced), ElementsAre("0 - TEMPO 240", "250000 - END"));
}

}  // namespace
}  // namespace velvasto

// The merge of a Standard MIDI File's tracks: order, event decoding, times and ports.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "song/midi_file.h"
#include "support/event_text.h"
#include "support/smf_builder.h"

namespace velvasto {
namespace {

using test::Bytes;
using ::testing::ElementsAre;

std::vector<std::string> Lines(const Bytes& bytes, SongSettings settings = {}) {
  CMIDIFile file(std::move(settings));
  EXPECT_TRUE(file.LoadFromMemory(bytes));
  return test::EventLines(file);
}

SongSettings TwoPorts() {
  SongSettings settings;
  settings.portCount = 2;
  return settings;
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

TEST(MidiFileMergeTest, RunningStatusAndDataBytesOfEachMessageKind) {
  test::SmfBuilder smf(0, 96);
  smf.AddTrack()
      .Raw(0, {0x90, 0x3C, 0x40})
      .Raw(0, {0x3E, 0x41})               // running status note-on
      .Text(0, 0x01, "between")           // a meta event keeps the running status
      .Raw(0, {0x40, 0x00})
      .Raw(0, {0xC5, 0x10})
      .Raw(0, {0x11})                     // one data byte under running status
      .Raw(0, {0xD5, 0x33})
      .Raw(0, {0xE5, 0x00, 0x40})
      .Raw(0, {0xA5, 0x3C, 0x7F})
      .Raw(0, {0xB5, 0x07, 0x64})
      .EndOfTrack();
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 A MSG 90 3C 40", "0 A MSG 90 3E 41", "0 A MSG 90 40 00", "0 A MSG C5 10",
                          "0 A MSG C5 11", "0 A MSG D5 33", "0 A MSG E5 00 40", "0 A MSG A5 3C 7F",
                          "0 A MSG B5 07 64", "0 - END"));
}

TEST(MidiFileMergeTest, SystemExclusiveAndEscapes) {
  test::SmfBuilder smf(0, 96);
  smf.AddTrack()
      .SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
      .SysEx(0, {0x43, 0x10})         // first packet of a divided message
      .Escape(0, {0x4C, 0x00, 0xF7})  // its continuation, sent as it stands
      .Escape(0, {0xF8})              // a real-time byte through an escape
      .Escape(0, {})                  // an empty escape sends nothing
      .EndOfTrack();
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 A SYX F0 41 10 42 12 40 00 7F 00 41 F7", "0 A SYX F0 43 10", "0 A SYX 4C 00 F7",
                          "0 A SYX F8", "0 - END"));
}

TEST(MidiFileMergeTest, TruncatedTracksEndWhereTheirDataEnds) {
  // Each track is cut inside its last event; what came before it is kept.
  const std::vector<Bytes> cutTails = {
      {0x00},                          // delta, no event
      {0x81},                          // delta cut inside its bytes
      {0x00, 0x90, 0x3C},              // note with one of its data bytes
      {0x00, 0xF0, 0x05, 0x41, 0x10},  // SysEx shorter than its length
      {0x00, 0xF0, 0x85},              // SysEx length cut
      {0x00, 0xFF, 0x01, 0x10, 0x41},  // text shorter than its length
      {0x00, 0xFF},                    // meta without a type
      {0x00, 0xFF, 0x2F},              // End of Track without its length
  };
  for (const Bytes& tail : cutTails) {
    test::SmfBuilder smf(0, 96);
    test::SmfTrack& track = smf.AddTrack().NoteOn(96, 0, 60, 1);
    track.Raw(0, {});
    Bytes bytes = smf.Build();
    // Replace the zero delta Raw() wrote by the cut tail and fix the chunk length.
    bytes.pop_back();
    bytes.insert(bytes.end(), tail.begin(), tail.end());
    const std::uint32_t length = static_cast<std::uint32_t>(bytes.size() - 22);
    for (int i = 0; i < 4; ++i) bytes[18 + i] = static_cast<std::uint8_t>(length >> (24 - 8 * i));
    EXPECT_THAT(Lines(bytes), ElementsAre("500000 A MSG 90 3C 01", "500000 - END"));
  }
}

TEST(MidiFileMergeTest, TrackWithoutEndOfTrackEndsWithItsData) {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().NoteOn(0, 0, 60, 1).NoteOn(192, 0, 61, 1);
  smf.AddTrack().NoteOn(96, 1, 60, 1).EndOfTrack(0);
  EXPECT_THAT(Lines(smf.Build()),
              ElementsAre("0 A MSG 90 3C 01", "500000 A MSG 91 3C 01", "1000000 A MSG 90 3D 01", "1000000 - END"));
}

TEST(MidiFileMergeTest, TempoRecordsCarryWholeBeatsPerMinute) {
  test::SmfBuilder smf(0, 480);
  smf.AddTrack()
      .Tempo(0, 500000)
      .Tempo(480, 461538)
      .Tempo(480, 400001)
      .NoteOn(480, 0, 60, 1)
      .Tempo(0, 0)  // no tempo at all: ignored, 400,001 stays
      .NoteOn(480, 0, 61, 1)
      .Tempo(0, 300)  // 200,000 beats per minute: the record holds 16 bits
      .EndOfTrack(0);
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
  const std::map<std::uint64_t, std::uint64_t> tempoMap = {
      {0, 500000}, {1237, 461539}, {2999, 333333}, {5003, 700001}};
  test::SmfBuilder smf(1, kDivision);
  // Track 0: the tempo map. Track 1: a note on every 7th tick up to tick 9000.
  smf.AddTrack().Tempo(1237, 461539).Tempo(2999 - 1237, 333333).Tempo(5003 - 2999, 700001).EndOfTrack();
  test::SmfTrack& notes = smf.AddTrack();
  std::uint64_t tick = 0;
  std::vector<std::string> expected;
  expected.push_back("0 A MSG 90 3C 01");
  notes.NoteOn(0, 0, 60, 1);
  while (tick + 7 <= 9000) {
    tick += 7;
    notes.NoteOn(7, 0, 60, 1);
  }
  notes.EndOfTrack();

  std::vector<std::string> lines = Lines(smf.Build());
  // Compare the note records only; tempo records sit in between.
  std::vector<std::string> noteLines;
  for (const std::string& line : lines) {
    if (line.find(" MSG ") != std::string::npos) noteLines.push_back(line);
  }
  ASSERT_EQ(noteLines.size(), 9000 / 7 + 1);
  for (std::uint64_t i = 0; i < noteLines.size(); ++i) {
    EXPECT_EQ(noteLines[i], std::to_string(ExactTime(tempoMap, kDivision, i * 7)) + " A MSG 90 3C 01") << "tick " << i * 7;
  }
  EXPECT_EQ(lines.back(), std::to_string(ExactTime(tempoMap, kDivision, 9000 / 7 * 7)) + " - END");
}

TEST(MidiFileMergeTest, OneTickAtDivision480IsRoundedNotTruncated) {
  // 500,000 / 480 = 1041.67 µs a tick: ticks 1, 2, 3 fall at 1042, 2083 and 3125 µs.
  test::SmfBuilder smf(0, 480);
  smf.AddTrack().NoteOn(1, 0, 60, 1).NoteOn(1, 0, 61, 1).NoteOn(1, 0, 62, 1).EndOfTrack();
  EXPECT_THAT(Lines(smf.Build()), ElementsAre("1042 A MSG 90 3C 01", "2083 A MSG 90 3D 01", "3125 A MSG 90 3E 01",
                                              "3125 - END"));
}

Bytes PortSong() {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack(96);
  // Track 1 moves to port B, where its tempo still counts for the whole song.
  smf.AddTrack()
      .Port(0, 1)
      .NoteOn(0, 1, 61, 1)
      .SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
      .Tempo(0, 250000)
      .Port(48, 0)
      .NoteOn(0, 1, 62, 1)
      .EndOfTrack();
  return smf.Build();
}

TEST(MidiFileMergeTest, PortMetaEventsAddressTracks) {
  EXPECT_THAT(Lines(PortSong(), TwoPorts()),
              ElementsAre("0 A MSG 90 3C 01", "0 B MSG 91 3D 01", "0 B SYX F0 7E 7F 09 01 F7", "0 - TEMPO 240",
                          "125000 A MSG 91 3E 01", "250000 - END"));
}

TEST(MidiFileMergeTest, WithOnePortTracksOnPortBSendNothing) {
  EXPECT_THAT(Lines(PortSong()),
              ElementsAre("0 A MSG 90 3C 01", "0 - TEMPO 240", "125000 A MSG 91 3E 01", "250000 - END"));
}

TEST(MidiFileMergeTest, SequencerMarkSkipsChannels11To16FromThenOn) {
  test::SmfBuilder smf(0, 96);
  const std::uint8_t mark[] = {0x00, 0x00, 0x41, 0x01};
  const std::uint8_t otherMark[] = {0x00, 0x00, 0x43};
  smf.AddTrack()
      .NoteOn(0, 10, 60, 1)
      .Meta(0, 0x7F, otherMark)
      .NoteOn(0, 11, 60, 1)
      .Meta(0, 0x7F, mark)
      .NoteOn(0, 9, 60, 1)
      .NoteOn(0, 10, 61, 1)
      .Control(0, 15, 7, 100)
      .NoteOn(0, 0, 62, 1)
      .EndOfTrack();
  EXPECT_THAT(Lines(smf.Build()), ElementsAre("0 A MSG 9A 3C 01", "0 A MSG 9B 3C 01", "0 A MSG 99 3C 01",
                                              "0 A MSG 90 3E 01", "0 - END"));
}

}  // namespace
}  // namespace velvasto

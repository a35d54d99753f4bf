// Bank handling and drum-pitch conversion of Standard MIDI Files, through the reader.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "song/midi_file.h"
#include "support/event_text.h"
#include "support/smf_builder.h"

namespace velvasto {
namespace {

using test::Bytes;
using ::testing::ElementsAre;

struct Loaded {
  std::vector<std::string> lines;
  SongInfo info;
};

Loaded Load(const Bytes& bytes, SongSettings settings, const std::filesystem::path& path = {}) {
  CMIDIFile file(std::move(settings));
  EXPECT_TRUE(file.LoadFromMemory(bytes, path));
  return {test::EventLines(file), file.Info()};
}

TEST(MidiFileConversionTest, ForcedMapReplacesAndInsertsTheMapLsb) {
  SongSettings settings;
  settings.mapMode = 2;
  settings.forceMap = 1;  // SC-88Pro: map LSB 3
  test::SmfBuilder smf(0, 96);
  smf.AddTrack()
      .Control(0, 0, 0x20, 0)
      .NoteOn(0, 0, 60, 1)     // channel 1 had its LSB
      .NoteOn(0, 1, 60, 0)     // a note-off by velocity 0 needs no map
      .NoteOn(0, 1, 61, 1)     // first sounding note: LSB and program 0
      .NoteOn(0, 1, 62, 1)
      .Program(0, 2, 5)        // program change without an LSB
      .EndOfTrack();
  const Loaded loaded = Load(smf.Build(), settings);
  EXPECT_THAT(loaded.lines,
              ElementsAre("0 A MSG B0 20 03", "0 A MSG 90 3C 01", "0 A MSG 91 3C 00", "0 A MSG B1 20 03",
                          "0 A MSG C1 00", "0 A MSG 91 3D 01", "0 A MSG 91 3E 01", "0 A MSG B2 20 03",
                          "0 A MSG C2 05", "0 - END"));
  EXPECT_EQ(loaded.info.mapResult, 3);
}

TEST(MidiFileConversionTest, MapScanOfThePathChoosesTheMap) {
  SongSettings settings;
  settings.mapMode = 1;
  test::SmfBuilder smf(0, 96);
  smf.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack();
  const Loaded scanned = Load(smf.Build(), settings, "/songs/sc-88pro/song.mid");
  EXPECT_THAT(scanned.lines, ElementsAre("0 A MSG B0 20 03", "0 A MSG C0 00", "0 A MSG 90 3C 01", "0 - END"));
  EXPECT_EQ(scanned.info.mapResult, 3);

  // Without automatic scanning the path means nothing.
  settings.mapMode = 0;
  const Loaded plain = Load(smf.Build(), settings, "/songs/sc-88pro/song.mid");
  EXPECT_THAT(plain.lines, ElementsAre("0 A MSG 90 3C 01", "0 - END"));
  EXPECT_EQ(plain.info.mapResult, 0);
}

TEST(MidiFileConversionTest, TitleFoundLaterStillMapsTheWholeSong) {
  SongSettings settings;
  settings.mapMode = 1;
  test::SmfBuilder smf(1, 96);
  // Track 0's first text, a beat in, names the SC-88 map; track 1 plays before it.
  smf.AddTrack().Text(96, 0x03, "Song for 88n").Text(0, 0x01, "88Pro later text").EndOfTrack();
  smf.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack();
  const Loaded loaded = Load(smf.Build(), settings);
  EXPECT_THAT(loaded.lines, ElementsAre("0 A MSG B0 20 02", "0 A MSG C0 00", "0 A MSG 90 3C 01", "500000 - END"));
  EXPECT_EQ(loaded.info.mapResult, 2);
  EXPECT_EQ(loaded.info.title, "Song for 88n");
}

TEST(MidiFileConversionTest, VariationFallbackFitsTheBankBeforeAProgramChange) {
  SongSettings settings;
  settings.adjust55 = true;
  test::SmfBuilder smf(0, 96);
  smf.AddTrack().Control(0, 0, 0x00, 8).Program(0, 0, 56).Control(0, 1, 0x00, 8).Program(0, 1, 48).EndOfTrack();
  EXPECT_THAT(Load(smf.Build(), settings).lines,
              ElementsAre("0 A MSG B0 00 08", "0 A MSG B0 00 00", "0 A MSG C0 38", "0 A MSG B1 00 08",
                          "0 A MSG C1 30", "0 - END"));
}

// "Use for rhythm part" of GS part block `block`: F0 41 10 42 12 40 1b 15 vv sum F7.
std::vector<std::uint8_t> UseForRhythmPart(std::uint8_t block, std::uint8_t value) {
  const std::uint8_t address = static_cast<std::uint8_t>(0x10 | block);
  const auto sum = static_cast<std::uint8_t>((0u - (0x40u + address + 0x15u + value)) & 0x7F);
  return {0x41, 0x10, 0x42, 0x12, 0x40, address, 0x15, value, sum, 0xF7};
}

test::SmfTrack& DrumPitch(test::SmfTrack& track, std::uint8_t channel) {
  return track.Control(0, channel, 0x63, 0x18).Control(0, channel, 0x62, 0x24).Control(0, channel, 0x06, 0x44);
}

TEST(MidiFileConversionTest, DrumPitchConversionFollowsTheRhythmPartsOfTheSong) {
  SongSettings settings;
  settings.fix8850 = true;
  test::SmfBuilder smf(0, 96);
  test::SmfTrack& track = smf.AddTrack();
  DrumPitch(track, 9);  // channel 10 plays drum map 1 from power-on
  DrumPitch(track, 0);  // channel 1 is a normal part
  track.SysEx(0, UseForRhythmPart(1, 2));
  DrumPitch(track, 0);  // now drum map 2
  std::vector<std::uint8_t> badSum = UseForRhythmPart(1, 1);
  badSum[8] ^= 1;
  track.SysEx(0, badSum);  // a wrong checksum: the module ignores it, so do we
  DrumPitch(track, 0);
  track.SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7});  // GS reset
  DrumPitch(track, 0);
  track.EndOfTrack();

  std::vector<std::string> lines = Load(smf.Build(), settings).lines;
  std::vector<std::string> exclusives;
  for (const std::string& line : lines) {
    if (line.find("SYX F0 41 10 42 12 41") != std::string::npos) exclusives.push_back(line);
  }
  // -(0x41 + 0x01 + 0x24 + 0x40) & 0x7F = 0x5A; with map byte 0x11: 0x4A.
  EXPECT_THAT(exclusives, ElementsAre("0 A SYX F0 41 10 42 12 41 01 24 40 5A F7",
                                      "0 A SYX F0 41 10 42 12 41 11 24 40 4A F7",
                                      "0 A SYX F0 41 10 42 12 41 11 24 40 4A F7"));
  // The exclusive goes right before the data entry it converts.
  EXPECT_EQ(lines[2], "0 A SYX F0 41 10 42 12 41 01 24 40 5A F7");
  EXPECT_EQ(lines[3], "0 A MSG B9 06 44");
  EXPECT_EQ(lines.size(), 3u * 5 + 3 + 3 + 1);  // 5 NRPN triples, 3 song SysEx, 3 conversions, end
}

TEST(MidiFileConversionTest, RhythmPartsAndChannelStateArePerPort) {
  SongSettings settings;
  settings.portCount = 2;
  settings.fix8850 = true;
  settings.mapMode = 2;
  settings.forceMap = 3;  // SC-55: map LSB 1
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().SysEx(0, UseForRhythmPart(0, 0)).NoteOn(0, 9, 36, 1).EndOfTrack();
  test::SmfTrack& portB = smf.AddTrack().Port(0, 1).NoteOn(0, 9, 36, 1);
  DrumPitch(portB, 9).EndOfTrack();
  EXPECT_THAT(Load(smf.Build(), settings).lines,
              ElementsAre("0 A SYX F0 41 10 42 12 40 10 15 00 1B F7", "0 A MSG B9 20 01", "0 A MSG C9 00",
                          "0 A MSG 99 24 01", "0 B MSG B9 20 01", "0 B MSG C9 00", "0 B MSG 99 24 01",
                          "0 B MSG B9 63 18", "0 B MSG B9 62 24", "0 B SYX F0 41 10 42 12 41 01 24 40 5A F7",
                          "0 B MSG B9 06 44", "0 - END"));
}

}  // namespace
}  // namespace velvasto

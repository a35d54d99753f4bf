// Bank handling and drum-pitch conversion (the map LSB, the variation fallback of the first
// module, the drum-pitch exclusive) in the channel converter and through the SMF reader.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "midiout/event_line.h"
#include "song/channel_converter.h"
#include "song/midi_file.h"
#include "support/event_text.h"
#include "support/smf_builder.h"

namespace velvasto {
namespace {

using ::testing::ElementsAre;
using Lines = std::vector<std::string>;

// Keeps every produced message in the `dump` form without time and port.
class RecordingSink final : public ChannelMessageSink {
 public:
  void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    messages.push_back(FormatShortLine(0, PortId::A, status | data1 << 8 | data2 << 16).substr(4));
  }
  void SysEx(std::span<const std::uint8_t> bytes) override { messages.push_back(FormatSysExLine(0, PortId::A, bytes).substr(4)); }
  Lines Take() { return std::exchange(messages, {}); }
  Lines messages;
};

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
    SCOPED_TRACE(::testing::Message() << "program " << int(c.program) << " bank " << int(c.bank));
    EXPECT_EQ(FitBankToVariationClass(c.bank, CMIDIStream::ProgramMapTable()[c.program]), c.expected);
    // Bank and program together: the fitted bank goes out before the program.
    ChannelConverter converter(0, true, false);
    RecordingSink sink;
    converter.BankAndProgram(PortId::A, 0, c.bank, c.program, sink);
    EXPECT_EQ(sink.Take(), (Lines{FormatShortLine(0, PortId::A, 0xB0 | c.expected << 16).substr(4),
                                  FormatShortLine(0, PortId::A, 0xC0 | c.program << 8).substr(4)}));
  }
}

TEST(ChannelConverterTest, VariationFallbackRemembersBanksPerChannelAndHoldsTheCutoff) {
  ChannelConverter converter(0, true, false);
  RecordingSink sink;
  converter.ControlChange(PortId::A, 0, 0x00, 8, std::nullopt, sink);
  converter.ProgramChange(PortId::A, 0, 56, sink);  // class 1: bank 8 becomes 0
  converter.ProgramChange(PortId::A, 0, 48, sink);  // bank is 0 now: nothing to fit
  converter.ProgramChange(PortId::A, 1, 56, sink);  // channel 1 never had a bank select
  converter.ControlChange(PortId::A, 0, 0x06, 100, std::nullopt, sink);  // no NRPN selected yet
  for (const auto& [controller, value] : {std::pair{0x63, 0x01}, {0x62, 0x20}, {0x06, 100}, {0x06, 30}, {0x62, 0x21}, {0x06, 100}}) {
    converter.ControlChange(PortId::A, 0, std::uint8_t(controller), std::uint8_t(value), std::nullopt, sink);
  }
  converter.ControlChange(PortId::A, 1, 0x06, 100, std::nullopt, sink);  // other channel
  // NRPN 01 20 (cutoff) is held at 64 at most; 01 21 (resonance) is not.
  EXPECT_EQ(sink.Take(), (Lines{"MSG B0 00 08", "MSG B0 00 00", "MSG C0 38", "MSG C0 30", "MSG C1 38", "MSG B0 06 64",
                                "MSG B0 63 01", "MSG B0 62 20", "MSG B0 06 40", "MSG B0 06 1E", "MSG B0 62 21",
                                "MSG B0 06 64", "MSG B1 06 64"}));
}

Lines Load(const test::Bytes& bytes, SongSettings settings, const std::filesystem::path& path = {}) {
  CMIDIFile file(std::move(settings));
  EXPECT_TRUE(file.LoadFromMemory(bytes, path));
  return test::EventLines(file);
}

TEST(MidiFileConversionTest, ForcedMapReplacesAndInsertsTheMapLsb) {
  SongSettings settings{.mapMode = 2, .forceMap = 1};
  test::SmfBuilder smf(0, 96);
  smf.AddTrack()
      .Control(0, 0, 0x20, 0)
      .NoteOn(0, 0, 60, 1)     // channel 1 had its LSB
      .NoteOn(0, 1, 60, 0)     // a note-off by velocity 0 needs no map
      .NoteOn(0, 1, 61, 1)     // first sounding note: LSB and program 0
      .NoteOn(0, 1, 62, 1)
      .Program(0, 2, 5)        // program change without an LSB
      .EndOfTrack();
  EXPECT_THAT(Load(smf.Build(), settings),
              ElementsAre("0 A MSG B0 20 03", "0 A MSG 90 3C 01", "0 A MSG 91 3C 00", "0 A MSG B1 20 03",
                          "0 A MSG C1 00", "0 A MSG 91 3D 01", "0 A MSG 91 3E 01", "0 A MSG B2 20 03",
                          "0 A MSG C2 05", "0 - END"));
}

TEST(MidiFileConversionTest, MapScanOfThePathOrOfATitleFoundLaterMapsTheWholeSong) {
  SongSettings settings{.mapMode = 1};
  test::SmfBuilder plain(0, 96);
  plain.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack();
  EXPECT_THAT(Load(plain.Build(), settings, "/songs/sc-88pro/song.mid"),
              ElementsAre("0 A MSG B0 20 03", "0 A MSG C0 00", "0 A MSG 90 3C 01", "0 - END"));
  // Track 0's first text, a beat in, names the SC-88 map; track 1 plays before it.
  test::SmfBuilder titled(1, 96);
  titled.AddTrack().Text(96, 0x03, "Song for 88n").Text(0, 0x01, "88Pro later text").EndOfTrack();
  titled.AddTrack().NoteOn(0, 0, 60, 1).EndOfTrack();
  EXPECT_THAT(Load(titled.Build(), settings),
              ElementsAre("0 A MSG B0 20 02", "0 A MSG C0 00", "0 A MSG 90 3C 01", "500000 - END"));
  settings.mapMode = 0;  // without automatic scanning the path means nothing
  EXPECT_THAT(Load(plain.Build(), settings, "/songs/sc-88pro/song.mid"), ElementsAre("0 A MSG 90 3C 01", "0 - END"));
  // The variation fallback fits the remembered bank before a program change.
  settings.adjust55 = true;
  test::SmfBuilder banks(0, 96);
  banks.AddTrack().Control(0, 0, 0x00, 8).Program(0, 0, 56).EndOfTrack();
  EXPECT_THAT(Load(banks.Build(), settings), ElementsAre("0 A MSG B0 00 08", "0 A MSG B0 00 00", "0 A MSG C0 38", "0 - END"));
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
  const Lines lines = Load(smf.Build(), settings);
  Lines exclusives;
  std::copy_if(lines.begin(), lines.end(), std::back_inserter(exclusives),
               [](const std::string& line) { return line.find("SYX F0 41 10 42 12 41") != std::string::npos; });
  // -(0x41 + 0x01 + 0x24 + 0x40) & 0x7F = 0x5A; with map byte 0x11: 0x4A (0x0A for pitch 0).
  EXPECT_EQ(exclusives, (Lines{"0 A SYX F0 41 10 42 12 41 01 24 40 5A F7", "0 A SYX F0 41 10 42 12 41 11 24 00 0A F7",
                               "0 A SYX F0 41 10 42 12 41 11 24 40 4A F7"}));
  // The exclusive goes right before the data entry it converts.
  EXPECT_EQ(Lines(lines.begin() + 2, lines.begin() + 4), (Lines{exclusives[0], "0 A MSG B9 06 44"}));
  EXPECT_EQ(lines.size(), 3u * 5 + 3 + 3 + 1);  // 5 NRPN triples, 3 song SysEx, 3 conversions, end
}

TEST(MidiFileConversionTest, RhythmPartsAndChannelStateArePerPort) {
  SongSettings settings{.portCount = 2, .mapMode = 2, .forceMap = 3, .fix8850 = true};
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().SysEx(0, UseForRhythmPart(0, 0)).NoteOn(0, 9, 36, 1).EndOfTrack();
  test::SmfTrack& portB = smf.AddTrack().Port(0, 1).NoteOn(0, 9, 36, 1);
  DrumPitch(portB, 9).EndOfTrack();
  EXPECT_THAT(Load(smf.Build(), settings),
              ElementsAre("0 A SYX F0 41 10 42 12 40 10 15 00 1B F7", "0 A MSG B9 20 01", "0 A MSG C9 00",
                          "0 A MSG 99 24 01", "0 B MSG B9 20 01", "0 B MSG C9 00", "0 B MSG 99 24 01",
                          "0 B MSG B9 63 18", "0 B MSG B9 62 24", "0 B SYX F0 41 10 42 12 41 01 24 40 5A F7",
                          "0 B MSG B9 06 44", "0 - END"));
}

}  // namespace
}  // namespace velvasto

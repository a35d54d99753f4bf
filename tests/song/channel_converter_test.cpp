#include "song/channel_converter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "song/midi_stream.h"

namespace velvasto {
namespace {

using Message = std::vector<std::uint8_t>;
using ::testing::ElementsAre;

// Keeps every produced message: short messages as their three bytes, SysEx as given.
class RecordingSink final : public ChannelMessageSink {
 public:
  void Short(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) override {
    messages.push_back({status, data1, data2});
  }
  void SysEx(std::span<const std::uint8_t> bytes) override { messages.emplace_back(bytes.begin(), bytes.end()); }

  std::vector<Message> Take() { return std::exchange(messages, {}); }
  std::vector<Message> messages;
};

constexpr auto kNoDrum = std::nullopt;

TEST(ChannelConverterTest, WithoutSettingsEverythingPassesUnchanged) {
  ChannelConverter converter(0, false, false);
  RecordingSink sink;
  converter.BeforeNote(PortId::A, 0, sink);
  converter.ControlChange(PortId::A, 0, 0x20, 0, kNoDrum, sink);
  converter.ControlChange(PortId::A, 0, 0x00, 9, kNoDrum, sink);
  converter.ProgramChange(PortId::A, 0, 56, sink);
  converter.ControlChange(PortId::A, 0, 0x63, 0x18, std::uint8_t{0x01}, sink);
  converter.ControlChange(PortId::A, 0, 0x06, 0x50, std::uint8_t{0x01}, sink);
  converter.BankAndProgram(PortId::A, 3, 9, 56, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB0, 0x20, 0}, Message{0xB0, 0x00, 9}, Message{0xC0, 56, 0},
                                       Message{0xB0, 0x63, 0x18}, Message{0xB0, 0x06, 0x50},
                                       Message{0xB3, 0x00, 9}, Message{0xC3, 56, 0}));
}

TEST(ChannelConverterTest, MapLsbReplacesNoneAndNewerMapsButKeepsOlderOnes) {
  ChannelConverter converter(2, false, false);  // SC-88 map in force
  RecordingSink sink;
  converter.ControlChange(PortId::A, 0, 0x20, 0, kNoDrum, sink);
  converter.ControlChange(PortId::A, 1, 0x20, 3, kNoDrum, sink);
  converter.ControlChange(PortId::A, 2, 0x20, 1, kNoDrum, sink);
  converter.ControlChange(PortId::A, 3, 0x20, 2, kNoDrum, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB0, 0x20, 2}, Message{0xB1, 0x20, 2}, Message{0xB2, 0x20, 1},
                                       Message{0xB3, 0x20, 2}));
  // Those channels have had their LSB: no insertion any more.
  converter.ProgramChange(PortId::A, 0, 5, sink);
  converter.BeforeNote(PortId::A, 1, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xC0, 5, 0}));
}

TEST(ChannelConverterTest, MapLsbIsInsertedOncePerPortAndChannel) {
  ChannelConverter converter(3, false, false);
  RecordingSink sink;
  converter.ProgramChange(PortId::A, 4, 10, sink);
  converter.ProgramChange(PortId::A, 4, 11, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB4, 0x20, 3}, Message{0xC4, 10, 0}, Message{0xC4, 11, 0}));

  // The same channel on port B is a different part.
  converter.ProgramChange(PortId::B, 4, 10, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB4, 0x20, 3}, Message{0xC4, 10, 0}));

  // A first note without any program change gets the LSB and program 0, once.
  converter.BeforeNote(PortId::A, 9, sink);
  converter.BeforeNote(PortId::A, 9, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB9, 0x20, 3}, Message{0xC9, 0, 0}));

  converter.BankAndProgram(PortId::A, 2, 8, 25, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB2, 0x20, 3}, Message{0xB2, 0x00, 8}, Message{0xC2, 25, 0}));

  // A new pass starts from scratch.
  converter.Reset();
  converter.BeforeNote(PortId::A, 9, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB9, 0x20, 3}, Message{0xC9, 0, 0}));
}

TEST(ChannelConverterTest, VariationFallbackFitsBanksOfTheThreeClasses) {
  // Program 56 Trumpet is class 1, 48 Strings class 2, 0 Piano 1 class 3, 4 E.Piano 1 class 0.
  struct Case {
    std::uint8_t program, bank, expected;
  };
  const Case cases[] = {
      {56, 8, 0},   {56, 126, 126}, {56, 127, 127}, {56, 0, 0},   {48, 12, 8},  {48, 9, 8},
      {48, 15, 8},  {48, 16, 0},    {48, 8, 8},     {48, 127, 127}, {0, 9, 8},  {0, 20, 16},
      {0, 17, 16},  {0, 23, 16},    {0, 24, 0},     {0, 16, 16},  {0, 126, 126}, {4, 24, 24},
      {4, 99, 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "program " << int(c.program) << " bank " << int(c.bank));
    EXPECT_EQ(FitBankToVariationClass(c.bank, CMIDIStream::ProgramMapTable()[c.program]), c.expected);

    // Bank and program together: the fitted bank goes out before the program.
    ChannelConverter converter(0, true, false);
    RecordingSink sink;
    converter.BankAndProgram(PortId::A, 0, c.bank, c.program, sink);
    EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB0, 0x00, c.expected}, Message{0xC0, c.program, 0}));

    // A program change uses the channel's remembered bank select; only a changed bank is sent.
    converter.Reset();
    converter.ControlChange(PortId::A, 0, 0x00, c.bank, kNoDrum, sink);
    converter.ProgramChange(PortId::A, 0, c.program, sink);
    if (c.expected == c.bank) {
      EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB0, 0x00, c.bank}, Message{0xC0, c.program, 0}));
    } else {
      EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB0, 0x00, c.bank}, Message{0xB0, 0x00, c.expected},
                                           Message{0xC0, c.program, 0}));
    }
  }
}

TEST(ChannelConverterTest, VariationFallbackRemembersTheFittedBankPerChannel) {
  ChannelConverter converter(0, true, false);
  RecordingSink sink;
  converter.ControlChange(PortId::A, 0, 0x00, 8, kNoDrum, sink);
  converter.ProgramChange(PortId::A, 0, 56, sink);  // class 1: bank 8 becomes 0
  converter.ProgramChange(PortId::A, 0, 48, sink);  // bank is 0 now: nothing to fit
  converter.ProgramChange(PortId::A, 1, 56, sink);  // channel 1 never had a bank select
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB0, 0x00, 8}, Message{0xB0, 0x00, 0}, Message{0xC0, 56, 0},
                                       Message{0xC0, 48, 0}, Message{0xC1, 56, 0}));
}

TEST(ChannelConverterTest, VariationFallbackLimitsCutoffDataEntry) {
  ChannelConverter converter(0, true, false);
  RecordingSink sink;
  converter.ControlChange(PortId::A, 0, 0x06, 100, kNoDrum, sink);  // no NRPN selected yet
  converter.ControlChange(PortId::A, 0, 0x63, 0x01, kNoDrum, sink);
  converter.ControlChange(PortId::A, 0, 0x62, 0x20, kNoDrum, sink);
  converter.ControlChange(PortId::A, 0, 0x06, 100, kNoDrum, sink);
  converter.ControlChange(PortId::A, 0, 0x06, 64, kNoDrum, sink);
  converter.ControlChange(PortId::A, 0, 0x06, 30, kNoDrum, sink);
  converter.ControlChange(PortId::A, 1, 0x06, 100, kNoDrum, sink);  // other channel
  converter.ControlChange(PortId::A, 0, 0x62, 0x21, kNoDrum, sink);
  converter.ControlChange(PortId::A, 0, 0x06, 100, kNoDrum, sink);  // resonance: unchanged
  EXPECT_THAT(sink.Take(),
              ElementsAre(Message{0xB0, 0x06, 100}, Message{0xB0, 0x63, 0x01}, Message{0xB0, 0x62, 0x20},
                          Message{0xB0, 0x06, 64}, Message{0xB0, 0x06, 64}, Message{0xB0, 0x06, 30},
                          Message{0xB1, 0x06, 100}, Message{0xB0, 0x62, 0x21}, Message{0xB0, 0x06, 100}));
}

TEST(ChannelConverterTest, DrumPitchConversionSendsTheExclusiveBeforeTheDataEntry) {
  ChannelConverter converter(0, false, true);
  RecordingSink sink;
  converter.ControlChange(PortId::A, 9, 0x63, 0x18, std::uint8_t{0x01}, sink);
  converter.ControlChange(PortId::A, 9, 0x62, 0x24, std::uint8_t{0x01}, sink);  // note 36
  sink.Take();

  converter.ControlChange(PortId::A, 9, 0x06, 0x44, std::uint8_t{0x01}, sink);
  // d = 0x44 - 4 = 0x40; checksum = -(0x41 + 0x01 + 0x24 + 0x40) & 0x7F = 0x5A.
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xF0, 0x41, 0x10, 0x42, 0x12, 0x41, 0x01, 0x24, 0x40, 0x5A, 0xF7},
                                       Message{0xB9, 0x06, 0x44}));

  // Drum map 2; a value below 4 gives pitch 0: -(0x41 + 0x11 + 0x24 + 0) & 0x7F = 0x0A.
  converter.ControlChange(PortId::A, 9, 0x06, 2, std::uint8_t{0x11}, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xF0, 0x41, 0x10, 0x42, 0x12, 0x41, 0x11, 0x24, 0x00, 0x0A, 0xF7},
                                       Message{0xB9, 0x06, 2}));

  // A part that plays no drum map gets only the control change.
  converter.ControlChange(PortId::A, 9, 0x06, 0x44, kNoDrum, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB9, 0x06, 0x44}));

  // The NRPN is remembered per port: port B's channel 10 has none selected.
  converter.ControlChange(PortId::B, 9, 0x06, 0x44, std::uint8_t{0x01}, sink);
  EXPECT_THAT(sink.Take(), ElementsAre(Message{0xB9, 0x06, 0x44}));

  // Without the conversion switch nothing is added.
  ChannelConverter off(0, false, false);
  off.ControlChange(PortId::A, 9, 0x63, 0x18, std::uint8_t{0x01}, sink);
  off.ControlChange(PortId::A, 9, 0x62, 0x24, std::uint8_t{0x01}, sink);
  off.ControlChange(PortId::A, 9, 0x06, 0x44, std::uint8_t{0x01}, sink);
  EXPECT_EQ(sink.Take().size(), 3u);
}

TEST(ChannelConverterTest, RhythmPartValuesAndGsBlocks) {
  EXPECT_EQ(DrumPitchMapByte(1), std::optional<std::uint8_t>(0x01));
  EXPECT_EQ(DrumPitchMapByte(2), std::optional<std::uint8_t>(0x11));
  EXPECT_EQ(DrumPitchMapByte(0), std::nullopt);
  EXPECT_EQ(DrumPitchMapByte(3), std::nullopt);
  EXPECT_EQ(GsPartBlockOfChannel(9), 0u);
  EXPECT_EQ(GsPartBlockOfChannel(0), 1u);
  EXPECT_EQ(GsPartBlockOfChannel(8), 9u);
  EXPECT_EQ(GsPartBlockOfChannel(10), 0xAu);
  EXPECT_EQ(GsPartBlockOfChannel(15), 0xFu);
}

}  // namespace
}  // namespace velvasto

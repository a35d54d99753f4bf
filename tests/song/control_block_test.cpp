// The control blocks at the head of Recomposer songs: the CM6 and GSD messages with their exact
// bytes, the pacing between them, the markers, ports, and the counts and durations that tell
// where the song proper begins.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <utility>
#include <vector>

#include "recomposer_load.h"
#include "support/control_file_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using test::Cm6Builder;
using test::G36Builder;
using test::GsdBuilder;
using test::RcpBuilder;

struct ControlFile {
  std::string name;
  Bytes bytes;
};

// Loads `song` from a folder that also holds `files`.
template <typename Reader, typename Builder>
std::unique_ptr<Reader> LoadBeside(const Builder& song, const std::vector<ControlFile>& files,
                                   SongSettings settings = {}, const std::string& songName = "song.rcp") {
  test::TempDir dir;
  for (const ControlFile& file : files) dir.Write(file.name, file.bytes);
  auto reader = std::make_unique<Reader>(std::move(settings));
  EXPECT_TRUE(reader->Load(dir.Write(songName, song.Build())));
  return reader;
}

// Tempo 120 at time base 48, one note a quarter after the start.
RcpBuilder Song() {
  RcpBuilder song;
  song.header.tempo = 120;
  song.header.timeBase = 48;
  song.AddTrack().Note(48, 60, 24, 100).End();
  return song;
}

// A Roland data set as the module receives it.
Bytes DataSet(std::uint8_t model, std::uint32_t a1, std::uint32_t a2, std::uint32_t a3,
              std::span<const std::uint8_t> data) {
  Bytes message{0xF0, 0x41, 0x10, model, 0x12, static_cast<std::uint8_t>(a1), static_cast<std::uint8_t>(a2),
                static_cast<std::uint8_t>(a3)};
  unsigned sum = a1 + a2 + a3;
  for (const std::uint8_t byte : data) {
    message.push_back(byte);
    sum += byte;
  }
  message.push_back(static_cast<std::uint8_t>((128 - sum % 128) % 128));
  message.push_back(0xF7);
  return message;
}

Bytes Slice(const Bytes& file, std::size_t offset, std::size_t length) {
  return Bytes(file.begin() + static_cast<std::ptrdiff_t>(offset),
               file.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

Bytes SysEx(const CMIDIStream& song, std::size_t index) {
  const auto bytes = song.SysExData(song.Events()[index]);
  return Bytes(bytes.begin(), bytes.end());
}

// Pacing at tempo 120 and time base 48: 10 ticks of 10,416 or 10,417 µs, the remainder carried
// once a pause.
constexpr std::uint64_t kPauses[] = {104'160, 104'170, 104'170};
std::uint64_t PausesUs(std::size_t count) {
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += kPauses[i % 3];
  return sum;
}

struct Cm6Message {
  std::uint32_t address;
  std::size_t length;
  std::size_t offset;
};

// The 102 messages of a CM6 block, as the CM-64 address map lists them.
std::vector<Cm6Message> Cm6Table() {
  std::vector<Cm6Message> table{{0x100000, 23, 0x0080}};
  for (std::uint32_t i = 0; i < 64; ++i) table.push_back({0x080000 | (2 * i) << 8, 256, 0x0E34 + 256 * i});
  table.push_back({0x030110, 256, 0x0130});
  table.push_back({0x030310, 84, 0x0230});
  table.push_back({0x030000, 144, 0x00A0});
  const std::uint32_t timbres[] = {0x040000, 0x040176, 0x04036C, 0x040562, 0x040758, 0x04094E, 0x040B44, 0x040D3A};
  for (std::uint32_t k = 0; k < 8; ++k) table.push_back({timbres[k], 246, 0x0284 + 246 * k});
  for (std::uint32_t k = 0; k < 8; ++k) table.push_back({0x050000 | k << 8, 128, 0x0A34 + 128 * k});
  table.push_back({0x500000, 189, 0x4E34});
  const std::uint32_t patches[] = {0x510000, 0x510118, 0x510230, 0x510348, 0x510460, 0x510578, 0x510710, 0x510828,
                                   0x510940, 0x510A58, 0x510B70, 0x510D08, 0x510E20, 0x510F38, 0x511050, 0x511168};
  for (std::uint32_t k = 0; k < 16; ++k) table.push_back({patches[k], 152, 0x4EB2 + 152 * k});
  table.push_back({0x520000, 17, 0x5832});
  return table;
}

TEST(ControlBlockTest, Cm6BlockSendsTheTableOfTheCm64AddressMapPacedAtTheHeaderTempo) {
  const Bytes cm6 = Cm6Builder().Numbered(5).Build();
  const auto file = LoadBeside<CRCPFile>(
      [] {
        RcpBuilder song = Song();
        song.header.cm6Name = "SONG.CM6";
        return song;
      }(),
      {{"SONG.CM6", cm6}});
  const auto events = file->Events();
  const std::vector<Cm6Message> table = Cm6Table();
  ASSERT_EQ(table.size(), 102u);
  ASSERT_GT(events.size(), 105u);

  EXPECT_EQ(events[0].status, kStatusTempo);
  EXPECT_EQ(events[1].status, kStatusMarker);
  EXPECT_EQ(events[1].message, kMarkerCm6Begin);
  EXPECT_EQ(events[1].time, 0u);
  EXPECT_EQ(events[1].port, PortId::A);
  for (std::size_t k = 0; k < table.size(); ++k) {
    const Cm6Message& m = table[k];
    SCOPED_TRACE("message " + std::to_string(k + 1));
    EXPECT_EQ(SysEx(*file, 2 + k), DataSet(0x16, m.address >> 16, (m.address >> 8) & 0xFF, m.address & 0xFF,
                                           Slice(cm6, m.offset, m.length)));
    EXPECT_EQ(events[2 + k].time, PausesUs(k + 1)) << "a pause after the marker and after each message";
    EXPECT_EQ(events[2 + k].port, PortId::A);
  }
  EXPECT_EQ(events[2].time, 104'160u);
  EXPECT_EQ(events[3].time, 104'160u + 104'170u);

  const std::uint64_t end = PausesUs(102) + 500'000;
  EXPECT_EQ(events[104].status, kStatusMarker);
  EXPECT_EQ(events[104].message, kMarkerCm6End);
  EXPECT_EQ(events[104].time, end) << "the last message is followed by half a second";
  EXPECT_EQ(file->ControlBlockCount(CMIDIStream::kCm6Block), 105u) << "102 messages, 2 markers, the tempo record";
  EXPECT_EQ(file->ControlBlockMessages(CMIDIStream::kCm6Block), 102u);
  EXPECT_EQ(file->ControlBlockDuration(CMIDIStream::kCm6Block), end);
  EXPECT_EQ(file->SongStartIndex(), 105u);
  EXPECT_EQ(file->SongStartTime(), end);
  // The song's first tick falls where the block ends.
  EXPECT_EQ(test::Dump(*file)[105], std::to_string(end) + " 90 3C 64 A");
  EXPECT_EQ(file->PlayTimeUs(), file->Events().back().time - end);
}

TEST(ControlBlockTest, DataBytesWithTheTopBitSetAreSentWithoutIt) {
  const std::array<std::uint8_t, 3> high{0x80, 0xF7, 0xFF};
  const Bytes cm6 = Cm6Builder().Set(0x80, high).Build();
  RcpBuilder song = Song();
  song.header.cm6Name = "SONG.CM6";
  const auto file = LoadBeside<CRCPFile>(song, {{"SONG.CM6", cm6}});
  Bytes data(23, 0);
  data[1] = 0x77;
  data[2] = 0x7F;
  EXPECT_EQ(SysEx(*file, 2), DataSet(0x16, 0x10, 0x00, 0x00, data));
}

// A GSD file with values in every place the per-channel set-up and the bulk form read.
GsdBuilder ExampleGsd() {
  GsdBuilder gsd;
  const std::array<std::uint8_t, 7> reverb{0x04, 0x05, 0x06, 0x40, 0x41, 0x00, 0x12};
  const std::array<std::uint8_t, 8> chorus{0x02, 0x03, 0x40, 0x08, 0x50, 0x03, 0x13, 0x00};
  gsd.MasterVolume(0x64).MasterPan(0x40).Reverb(reverb).Chorus(chorus).FineTuning(0x2345).CoarseTuning(0x41);
  gsd.Part(1, GsdBuilder::kBank, 8)
      .Part(1, GsdBuilder::kProgram, 25)
      .Part(1, GsdBuilder::kLevel, 100)
      .Part(1, GsdBuilder::kPan, 32)
      .Part(1, GsdBuilder::kReverb, 50)
      .Part(1, GsdBuilder::kChorus, 10)
      .Part(1, GsdBuilder::kVoiceReserve, 2)
      .Part(1, 0x03, 1)      // receive pitch bend
      .Part(1, 0x12, 1)      // receive soft
      .Part(1, 0x16, 0x40)   // pitch key shift
      .Part(1, 0x17, 0x08)   // pitch offset fine, high half
      .Part(1, 0x18, 0x01)   // pitch offset fine, low half
      .Part(1, 0x23, 0x41)   // vibrato rate
      .Part(1, 0x36, 0x7F)   // scale tuning B
      .Part(1, 0x37, 0x12)   // MOD pitch control
      .Part(1, 0x78, 0x34);  // CC2 LFO2 TVA depth
  gsd.Part(10, GsdBuilder::kProgram, 16).Part(10, GsdBuilder::kVoiceReserve, 8);
  gsd.Part(16, GsdBuilder::kVoiceReserve, 6);
  gsd.Drum(1, 0, 0x7F).Drum(1, 64 * 4 + 63, 0x33).Drum(2, 64 + 1, 0x05);
  return gsd;
}

// Each value as two bytes, its high and low 4 bits.
Bytes Nibbles(std::initializer_list<std::uint8_t> values) {
  Bytes bytes;
  for (const std::uint8_t value : values) {
    bytes.push_back(value >> 4);
    bytes.push_back(value & 0x0F);
  }
  return bytes;
}

TEST(ControlBlockTest, GsdBlockSetsUpEveryChannelThenSendsTheModuleAreas) {
  const Bytes gsd = ExampleGsd().Build();
  RcpBuilder song = Song();
  song.header.gsdName = "SONG.GSD";
  const auto file = LoadBeside<CRCPFile>(song, {{"SONG.GSD", gsd}});
  const std::vector<std::string> lines = test::Dump(*file);
  ASSERT_GT(lines.size(), 274u);
  EXPECT_EQ(lines[1], "0 marker 2 A");

  // Channel 1: master tuning 0x2345 (fine 0x46/0x45, coarse 0x41), then part 1's values.
  const std::vector<std::string> channel1{"B0 65 00", "B0 64 01", "B0 06 46", "B0 26 45", "B0 64 02",
                                          "B0 06 41", "B0 00 08", "B0 20 00", "C0 19",    "B0 07 64",
                                          "B0 5B 32", "B0 5D 0A", "B0 0A 20"};
  for (std::size_t i = 0; i < channel1.size(); ++i) {
    EXPECT_EQ(lines[2 + i], std::to_string(PausesUs(i + 1)) + " " + channel1[i] + " A");
  }
  // Channel 10 plays part 10; channel 16 is the last of the 208 channel messages.
  EXPECT_EQ(lines[2 + 13 * 9 + 8], std::to_string(PausesUs(13 * 9 + 9)) + " C9 10 A");
  EXPECT_EQ(lines[2 + 207].substr(lines[2 + 207].find(' ') + 1), "BF 0A 00 A");

  const auto events = file->Events();
  std::size_t next = 2 + 208;
  EXPECT_EQ(SysEx(*file, next++), (Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7}));
  EXPECT_EQ(SysEx(*file, next++), (Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x06, 0x40, 0x7A, 0xF7}));
  EXPECT_EQ(SysEx(*file, next++), DataSet(0x42, 0x40, 0x01, 0x30, Slice(gsd, 0x27, 7)));
  EXPECT_EQ(SysEx(*file, next++), DataSet(0x42, 0x40, 0x01, 0x38, Slice(gsd, 0x2E, 8)));

  // Part 1 in bulk form: its 20 part parameters (receive switches packed, bit 7 first; the
  // halves of the pitch offset fine joined), tone modify and scale tuning, then the
  // controller set-ups in two messages.
  Bytes part1 = Nibbles({8, 25, 0, 0x80, 0x01, 0, 0, 0, 0x40, 0x81, 100, 0, 0, 32, 0, 0, 0, 0, 10, 50});
  const Bytes modifyAndScale = Nibbles({0x41, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x7F});
  part1.insert(part1.end(), modifyAndScale.begin(), modifyAndScale.end());
  ASSERT_EQ(part1.size(), 80u);
  Bytes controllers1(66, 0);
  controllers1[0] = 0x01;
  controllers1[1] = 0x02;
  Bytes controllers2(66, 0);
  controllers2[64] = 0x03;
  controllers2[65] = 0x04;
  EXPECT_EQ(SysEx(*file, next), DataSet(0x42, 0x48, 0x02, 0x70, part1));
  EXPECT_EQ(SysEx(*file, next + 1), DataSet(0x42, 0x48, 0x03, 0x40, controllers1));
  EXPECT_EQ(SysEx(*file, next + 2), DataSet(0x42, 0x48, 0x04, 0x02, controllers2));

  // Every part's window, 0xE0 apart with part 10 lowest, in the order part 1 to part 16.
  const std::pair<std::uint32_t, std::uint32_t> windows[] = {
      {0x02, 0x70}, {0x04, 0x50}, {0x06, 0x30}, {0x08, 0x10}, {0x09, 0x70}, {0x0B, 0x50}, {0x0D, 0x30}, {0x0F, 0x10},
      {0x10, 0x70}, {0x01, 0x10}, {0x12, 0x50}, {0x14, 0x30}, {0x16, 0x10}, {0x17, 0x70}, {0x19, 0x50}, {0x1B, 0x30}};
  for (std::size_t part = 0; part < 16; ++part) {
    for (std::size_t m = 0; m < 3; ++m) {
      const Bytes message = SysEx(*file, next + 3 * part + m);
      const std::uint32_t address = windows[part].first * 128 + windows[part].second + (m == 0 ? 0 : m == 1 ? 0x50 : 0x92);
      SCOPED_TRACE("part " + std::to_string(part + 1) + " message " + std::to_string(m + 1));
      ASSERT_EQ(message.size(), m == 0 ? 90u : 76u);
      EXPECT_EQ(message[5], 0x48);
      EXPECT_EQ(message[6] * 128u + message[7], address);
    }
  }
  next += 48;

  // The drum set-ups: five tables of 64 notes from note 24, at 41 02 18 and 41 12 18 on.
  for (std::size_t setup = 0; setup < 2; ++setup) {
    for (std::size_t table = 0; table < 5; ++table) {
      const std::size_t offset = (setup == 0 ? 0x7D6 : 0x922) + 64 * table;
      EXPECT_EQ(SysEx(*file, next++), DataSet(0x42, 0x41, (setup == 0 ? 0x02 : 0x12) + table, 0x18,
                                              Slice(gsd, offset, 64)));
    }
  }
  // The voice reserve of the parts, in the order of the module's part blocks (part 10 first).
  const Bytes reserve{8, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6};
  EXPECT_EQ(SysEx(*file, next), DataSet(0x42, 0x40, 0x01, 0x10, reserve));
  EXPECT_EQ(SysEx(*file, next).size(), 26u);
  ASSERT_EQ(next, 1u + 271u);

  const std::uint64_t end = PausesUs(271) + 500'000;
  EXPECT_EQ(events[next].time, PausesUs(271));
  EXPECT_EQ(lines[next + 1], std::to_string(end) + " marker 3 A");
  EXPECT_EQ(file->ControlBlockCount(CMIDIStream::kGsdBlock), 274u);
  EXPECT_EQ(file->ControlBlockMessages(CMIDIStream::kGsdBlock), 271u);
  EXPECT_EQ(file->ControlBlockDuration(CMIDIStream::kGsdBlock), end);
  EXPECT_EQ(file->SongStartTime(), end);
}

TEST(ControlBlockTest, G36SongSendsItsThreeBlocksInOrderEachOnThePortItsSettingChooses) {
  G36Builder song;
  song.header.tempo = 120;
  song.header.timeBase = 48;
  song.header.cm6Name = "SONG.CM6";
  song.header.gsdName = "SONG.GSD";
  song.header.gsd2Name = "SONG2.GSD";
  song.AddTrack().Note(48, 60, 24, 100).End();
  SongSettings settings;
  settings.portCount = 2;
  settings.cm6Port = 2;
  settings.gsdPort = 1;
  settings.gsd2Port = 2;
  const auto file = LoadBeside<CG36File>(song,
                                         {{"SONG.CM6", Cm6Builder().Numbered().Build()},
                                          {"SONG.GSD", ExampleGsd().Build()},
                                          {"SONG2.GSD", GsdBuilder().MasterVolume(0x10).Build()}},
                                         settings, "song.g36");
  const auto events = file->Events();
  const std::uint32_t cm6 = file->ControlBlockCount(CMIDIStream::kCm6Block);
  const std::uint32_t gsd = file->ControlBlockCount(CMIDIStream::kGsdBlock);
  const std::uint32_t gsd2 = file->ControlBlockCount(CMIDIStream::kGsd2Block);
  EXPECT_EQ(cm6, 105u) << "the first block counts the opening tempo record";
  EXPECT_EQ(gsd, 273u);
  EXPECT_EQ(gsd2, 273u);
  EXPECT_EQ(file->ControlBlockMessages(CMIDIStream::kCm6Block), 102u);
  EXPECT_EQ(file->ControlBlockMessages(CMIDIStream::kGsdBlock), 271u);
  EXPECT_EQ(file->ControlBlockMessages(CMIDIStream::kGsd2Block), 271u);

  const std::pair<std::size_t, std::uint32_t> markers[] = {{1, kMarkerCm6Begin},
                                                           {cm6 - 1, kMarkerCm6End},
                                                           {cm6, kMarkerGsdBegin},
                                                           {cm6 + gsd - 1, kMarkerGsdEnd},
                                                           {cm6 + gsd, kMarkerGsd2Begin},
                                                           {cm6 + gsd + gsd2 - 1, kMarkerGsd2End}};
  for (const auto& [index, subtype] : markers) {
    EXPECT_EQ(events[index].status, kStatusMarker);
    EXPECT_EQ(events[index].message, subtype);
  }
  EXPECT_EQ(events[2].port, PortId::B) << "CM6 Port 2";
  EXPECT_EQ(events[cm6 + 1].port, PortId::A) << "GSD Port 1";
  EXPECT_EQ(events[cm6 + gsd + 1].port, PortId::B) << "GSD2 Port 2";
  EXPECT_EQ(SysEx(*file, cm6 + gsd + 1 + 208),
            (Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x10, 0x2C, 0xF7}))
      << "the GSD2 block sends the second file";

  // The pacing goes on where the block before left it: 102 + 271 + 271 pauses and three final
  // half seconds.
  const std::uint64_t end = PausesUs(102 + 271 + 271) + 3 * 500'000;
  EXPECT_EQ(file->ControlBlockDuration(CMIDIStream::kCm6Block), PausesUs(102) + 500'000);
  EXPECT_EQ(file->ControlBlockDuration(CMIDIStream::kGsdBlock) + file->ControlBlockDuration(CMIDIStream::kCm6Block),
            PausesUs(102 + 271) + 2 * 500'000);
  EXPECT_EQ(file->SongStartTime(), end);
  EXPECT_EQ(events[cm6 + gsd + gsd2 - 1].time, end);
  EXPECT_EQ(file->SongStartIndex(), cm6 + gsd + gsd2);
  EXPECT_EQ(events[file->SongStartIndex()].time, end) << "the song's first note";
}

TEST(ControlBlockTest, PortSettingsDecideWhetherABlockIsSent) {
  RcpBuilder song = Song();
  song.header.cm6Name = "SONG.CM6";
  song.header.gsdName = "SONG.GSD";
  const std::vector<ControlFile> files{{"SONG.CM6", Cm6Builder().Build()}, {"SONG.GSD", GsdBuilder().Build()}};
  struct Case {
    int portCount;
    int cm6Port;
    int gsdPort;
    std::uint32_t cm6Count;
    std::uint32_t gsdCount;
  };
  const Case cases[] = {
      {1, 2, 1, 0, 274},    // one port in use: a block for port B is not sent
      {2, 2, 1, 105, 273},  // two ports: port B is fine
      {2, 0, 0, 0, 0},      // 0 sends nothing
      {2, 3, -1, 0, 0},     // values outside 0..2 send nothing either
  };
  for (const Case& c : cases) {
    SongSettings settings;
    settings.portCount = c.portCount;
    settings.cm6Port = c.cm6Port;
    settings.gsdPort = c.gsdPort;
    const auto file = LoadBeside<CRCPFile>(song, files, settings);
    SCOPED_TRACE(std::to_string(c.portCount) + " ports, CM6 Port " + std::to_string(c.cm6Port) + ", GSD Port " +
                 std::to_string(c.gsdPort));
    EXPECT_EQ(file->ControlBlockCount(CMIDIStream::kCm6Block), c.cm6Count);
    EXPECT_EQ(file->ControlBlockCount(CMIDIStream::kGsdBlock), c.gsdCount);
    EXPECT_EQ(file->SongStartIndex(), c.cm6Count + c.gsdCount);
    // The song's first record follows the blocks, or the tempo record when there is none.
    const StreamEvent& first = file->Events()[std::max<std::uint32_t>(file->SongStartIndex(), 1)];
    EXPECT_EQ(first.status, 0x90);
    EXPECT_EQ(first.port, PortId::A) << "the song itself plays on port A";
  }
}

}  // namespace
}  // namespace velvasto

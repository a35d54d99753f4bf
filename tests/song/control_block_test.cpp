// The control files Recomposer songs name and the blocks they become at the head of the song:
// the CM6 and GSD messages with their exact bytes, the pacing between them, the markers,
// ports, and the counts and durations that tell where the song proper begins.

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "recomposer_load.h"
#include "song/control_files.h"
#include "support/control_file_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;
using test::Cm6Builder;
using test::G36Builder;
using test::GsdBuilder;
using test::RcpBuilder;

using ControlFiles = std::vector<std::pair<std::string, Bytes>>;

// Loads `song` from a folder that also holds `files`.
template <typename Reader, typename Builder>
std::unique_ptr<Reader> LoadBeside(const Builder& song, const ControlFiles& files, SongSettings settings = {},
                                   const std::string& songName = "song.rcp") {
  test::TempDir dir;
  for (const auto& [name, bytes] : files) dir.Write(name, bytes);
  auto reader = std::make_unique<Reader>(std::move(settings));
  EXPECT_TRUE(reader->Load(dir.Write(songName, song.Build())));
  return reader;
}

// Tempo 120 at time base 48, one note a quarter after the start, naming the control files.
RcpBuilder Song(const std::string& cm6Name, const std::string& gsdName = "") {
  RcpBuilder song;
  song.header = {.cm6Name = cm6Name, .gsdName = gsdName};
  song.AddTrack().Note(48, 60, 24, 100).End();
  return song;
}

// A Roland data set as the module receives it.
Bytes DataSet(std::uint8_t model, std::uint32_t address, std::span<const std::uint8_t> data) {
  Bytes message{0xF0, 0x41, 0x10, model, 0x12, std::uint8_t(address >> 16), std::uint8_t(address >> 8), std::uint8_t(address)};
  unsigned sum = (address >> 16) + ((address >> 8) & 0xFF) + (address & 0xFF);
  for (const std::uint8_t byte : data) {
    message.push_back(byte);
    sum += byte;
  }
  message.push_back(std::uint8_t((128 - sum % 128) % 128));
  message.push_back(0xF7);
  return message;
}

// Bytes of `file`, each without its top bit as the module needs them.
Bytes Slice(const Bytes& file, std::size_t offset, std::size_t length) {
  Bytes bytes(file.begin() + static_cast<std::ptrdiff_t>(offset),
              file.begin() + static_cast<std::ptrdiff_t>(offset + length));
  for (std::uint8_t& byte : bytes) byte &= 0x7F;
  return bytes;
}

Bytes SysEx(const CMIDIStream& song, std::size_t index) {
  const auto bytes = song.SysExData(song.Events()[index]);
  return Bytes(bytes.begin(), bytes.end());
}

// Pacing at tempo 120 and time base 48: 10 ticks of 10,416 or 10,417 µs, the remainder carried
// once a pause.
std::uint64_t PausesUs(std::size_t count) {
  constexpr std::uint64_t kPauses[] = {104'160, 104'170, 104'170};
  std::uint64_t sum = 0;
  for (std::size_t i = 0; i < count; ++i) sum += kPauses[i % 3];
  return sum;
}

TEST(ControlBlockTest, Cm6BlockSendsTheTableOfTheCm64AddressMapPacedAtTheHeaderTempo) {
  const std::array<std::uint8_t, 3> high{0x80, 0xF7, 0xFF};
  const Bytes cm6 = Cm6Builder().Numbered(5).Set(0x80, high).Build();
  const auto file = LoadBeside<CRCPFile>(Song("SONG.CM6"), {{"SONG.CM6", cm6}});
  // The 102 messages as the CM-64 address map lists them: address, length, file offset.
  std::vector<std::array<std::uint32_t, 3>> table{{0x100000, 23, 0x0080}};
  for (std::uint32_t i = 0; i < 64; ++i) table.push_back({0x080000 | (2 * i) << 8, 256, 0x0E34 + 256 * i});
  table.insert(table.end(), {{0x030110, 256, 0x0130}, {0x030310, 84, 0x0230}, {0x030000, 144, 0x00A0}});
  const std::uint32_t timbres[] = {0x040000, 0x040176, 0x04036C, 0x040562, 0x040758, 0x04094E, 0x040B44, 0x040D3A};
  for (std::uint32_t k = 0; k < 8; ++k) table.push_back({timbres[k], 246, 0x0284 + 246 * k});
  for (std::uint32_t k = 0; k < 8; ++k) table.push_back({0x050000 | k << 8, 128, 0x0A34 + 128 * k});
  table.push_back({0x500000, 189, 0x4E34});
  const std::uint32_t patches[] = {0x510000, 0x510118, 0x510230, 0x510348, 0x510460, 0x510578, 0x510710, 0x510828,
                                   0x510940, 0x510A58, 0x510B70, 0x510D08, 0x510E20, 0x510F38, 0x511050, 0x511168};
  for (std::uint32_t k = 0; k < 16; ++k) table.push_back({patches[k], 152, 0x4EB2 + 152 * k});
  table.push_back({0x520000, 17, 0x5832});
  const auto events = file->Events();
  ASSERT_GT(events.size(), 105u);
  EXPECT_EQ(test::EventLines(*file)[1], "0 A MARK 0");
  for (std::size_t k = 0; k < table.size(); ++k) {
    SCOPED_TRACE("message " + std::to_string(k + 1));
    EXPECT_EQ(SysEx(*file, 2 + k), DataSet(0x16, table[k][0], Slice(cm6, table[k][2], table[k][1])));
    EXPECT_EQ(events[2 + k].time, PausesUs(k + 1)) << "a pause after the marker and after each message";
    EXPECT_EQ(events[2 + k].port, PortId::A);
  }
  const std::uint64_t end = PausesUs(102) + 500'000;  // the last message is followed by half a second
  EXPECT_EQ(test::EventLines(*file)[104], std::to_string(end) + " A MARK 1");
  // 102 messages, 2 markers and the tempo record; the song starts where the block ends.
  EXPECT_EQ(std::make_tuple(file->ControlBlockCount(CMIDIStream::kCm6Block), file->ControlBlockMessages(CMIDIStream::kCm6Block),
                            file->ControlBlockDuration(CMIDIStream::kCm6Block), file->SongStartIndex(), file->SongStartTime()),
            std::make_tuple(105u, 102u, end, 105u, end));
  EXPECT_EQ(test::EventLines(*file)[105], std::to_string(end) + " A MSG 90 3C 64") << "the song's first tick";
  EXPECT_EQ(file->PlayTimeUs(), file->Events().back().time - end);
}

// A GSD file with values in every place the per-channel set-up and the bulk form read.
GsdBuilder ExampleGsd() {
  GsdBuilder gsd;
  const std::uint8_t masterPan = 0x40, coarse = 0x41;
  const std::array<std::uint8_t, 7> reverb{0x04, 0x05, 0x06, 0x40, 0x41, 0x00, 0x12};
  const std::array<std::uint8_t, 8> chorus{0x02, 0x03, 0x40, 0x08, 0x50, 0x03, 0x13, 0x00};
  const std::array<std::uint8_t, 2> fine{0x45, 0x23};  // master tuning 0x2345, low byte first
  gsd.MasterVolume(0x64).Set(GsdBuilder::kMasterPan, {&masterPan, 1}).Set(GsdBuilder::kReverb, reverb);
  gsd.Set(GsdBuilder::kChorus, chorus).Set(GsdBuilder::kFineTuning, fine).Set(GsdBuilder::kCoarseTuning, {&coarse, 1});
  // Bank, program, level, pan, reverb, chorus, voice reserve, receive pitch bend, receive soft,
  // pitch key shift, pitch offset fine (two halves), vibrato rate, scale tuning B, MOD pitch
  // control, CC2 LFO2 TVA depth.
  const std::pair<std::size_t, std::uint8_t> part1[] = {
      {GsdBuilder::kBank, 8}, {GsdBuilder::kProgram, 25}, {GsdBuilder::kLevel, 100}, {GsdBuilder::kPan, 32},
      {GsdBuilder::kReverbSend, 50}, {GsdBuilder::kChorusSend, 10}, {GsdBuilder::kVoiceReserve, 2}, {0x03, 1}, {0x12, 1},
      {0x16, 0x40}, {0x17, 0x08}, {0x18, 0x01}, {0x23, 0x41}, {0x36, 0x7F}, {0x37, 0x12}, {0x78, 0x34}};
  for (const auto& [offset, value] : part1) gsd.Part(1, offset, value);
  gsd.Part(10, GsdBuilder::kProgram, 16).Part(10, GsdBuilder::kVoiceReserve, 8);
  gsd.Part(16, GsdBuilder::kVoiceReserve, 6);
  gsd.Drum(1, 0, 0x7F).Drum(1, 64 * 4 + 63, 0x33).Drum(2, 64 + 1, 0x05);
  return gsd;
}

// Each value as two bytes, its high and low 4 bits.
Bytes Nibbles(std::initializer_list<std::uint8_t> values) {
  Bytes bytes;
  for (const std::uint8_t value : values) bytes.insert(bytes.end(), {std::uint8_t(value >> 4), std::uint8_t(value & 0x0F)});
  return bytes;
}

TEST(ControlBlockTest, GsdBlockSetsUpEveryChannelThenSendsTheModuleAreas) {
  const Bytes gsd = ExampleGsd().Build();
  const auto file = LoadBeside<CRCPFile>(Song("", "SONG.GSD"), {{"SONG.GSD", gsd}});
  const std::vector<std::string> lines = test::EventLines(*file);
  ASSERT_GT(lines.size(), 274u);
  EXPECT_EQ(lines[1], "0 A MARK 2");

  // Channel 1: master tuning 0x2345 (fine 0x46/0x45, coarse 0x41), then part 1's values.
  const std::vector<std::string> channel1{"B0 65 00", "B0 64 01", "B0 06 46", "B0 26 45", "B0 64 02",
                                          "B0 06 41", "B0 00 08", "B0 20 00", "C0 19",    "B0 07 64",
                                          "B0 5B 32", "B0 5D 0A", "B0 0A 20"};
  for (std::size_t i = 0; i < channel1.size(); ++i) {
    EXPECT_EQ(lines[2 + i], std::to_string(PausesUs(i + 1)) + " A MSG " + channel1[i]);
  }
  // Channel 10 plays part 10; channel 16 is the last of the 208 channel messages.
  EXPECT_EQ(lines[2 + 13 * 9 + 8], std::to_string(PausesUs(13 * 9 + 9)) + " A MSG C9 10");
  EXPECT_TRUE(lines[2 + 207].ends_with(" A MSG BF 0A 00"));

  std::size_t next = 2 + 208;
  EXPECT_EQ(SysEx(*file, next++), (Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x04, 0x64, 0x58, 0xF7}));
  EXPECT_EQ(SysEx(*file, next++), (Bytes{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x06, 0x40, 0x7A, 0xF7}));
  EXPECT_EQ(SysEx(*file, next++), DataSet(0x42, 0x400130, Slice(gsd, 0x27, 7)));
  EXPECT_EQ(SysEx(*file, next++), DataSet(0x42, 0x400138, Slice(gsd, 0x2E, 8)));

  // Part 1 in bulk form: its 20 part parameters (receive switches packed, bit 7 first; the
  // halves of the pitch offset fine joined), tone modify and scale tuning, then the
  // controller set-ups in two messages.
  Bytes part1 = Nibbles({8, 25, 0, 0x80, 0x01, 0, 0, 0, 0x40, 0x81, 100, 0, 0, 32, 0, 0, 0, 0, 10, 50});
  const Bytes modifyAndScale = Nibbles({0x41, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x7F});
  part1.insert(part1.end(), modifyAndScale.begin(), modifyAndScale.end());
  Bytes controllers1(66, 0), controllers2(66, 0);  // MOD pitch control 0x12, CC2 LFO2 TVA depth 0x34
  std::tie(controllers1[0], controllers1[1]) = std::pair(0x01, 0x02);
  std::tie(controllers2[64], controllers2[65]) = std::pair(0x03, 0x04);
  EXPECT_EQ(SysEx(*file, next), DataSet(0x42, 0x480270, part1));
  EXPECT_EQ(SysEx(*file, next + 1), DataSet(0x42, 0x480340, controllers1));
  EXPECT_EQ(SysEx(*file, next + 2), DataSet(0x42, 0x480402, controllers2));

  // Every part's window, 0xE0 apart with part 10 lowest, in the order part 1 to part 16.
  const std::uint32_t windows[] = {0x0270, 0x0450, 0x0630, 0x0810, 0x0970, 0x0B50, 0x0D30, 0x0F10,
                                   0x1070, 0x0110, 0x1250, 0x1430, 0x1610, 0x1770, 0x1950, 0x1B30};
  for (std::size_t k = 0; k < 48; ++k) {
    const Bytes message = SysEx(*file, next + k);
    const std::uint32_t offsets[] = {0, 0x50, 0x92};
    EXPECT_EQ(std::make_tuple(message.size(), message[5], message[6] * 128u + message[7]),
              std::make_tuple(k % 3 == 0 ? 90u : 76u, 0x48, (windows[k / 3] >> 8) * 128 + (windows[k / 3] & 0xFF) + offsets[k % 3]))
        << "part " << k / 3 + 1 << " message " << k % 3 + 1;
  }
  next += 48;
  // The drum set-ups: five tables of 64 notes from note 24, at 41 02 18 and 41 12 18 on.
  for (std::uint32_t k = 0; k < 10; ++k, ++next) {
    const std::size_t offset = (k < 5 ? 0x7D6 : 0x922) + 64 * (k % 5);
    EXPECT_EQ(SysEx(*file, next), DataSet(0x42, 0x410018 | (0x02 + 0x10 * (k / 5) + k % 5) << 8, Slice(gsd, offset, 64)));
  }
  // The voice reserve of the parts, in the order of the module's part blocks (part 10 first).
  const Bytes reserve{8, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 6};
  EXPECT_EQ(SysEx(*file, next), DataSet(0x42, 0x400110, reserve));
  ASSERT_EQ(next, 1u + 271u);

  const std::uint64_t end = PausesUs(271) + 500'000;
  EXPECT_EQ(file->Events()[next].time, PausesUs(271));
  EXPECT_EQ(lines[next + 1], std::to_string(end) + " A MARK 3");
  EXPECT_EQ(std::make_tuple(file->ControlBlockCount(CMIDIStream::kGsdBlock), file->ControlBlockMessages(CMIDIStream::kGsdBlock),
                            file->ControlBlockDuration(CMIDIStream::kGsdBlock), file->SongStartTime()),
            std::make_tuple(274u, 271u, end, end));
}

TEST(ControlBlockTest, G36SongSendsItsThreeBlocksInOrderEachOnThePortItsSettingChooses) {
  G36Builder song;
  song.header = {.cm6Name = "SONG.CM6", .gsdName = "SONG.GSD", .gsd2Name = "SONG2.GSD"};
  song.AddTrack().Note(48, 60, 24, 100).End();
  SongSettings settings{.portCount = 2, .cm6Port = 2, .gsdPort = 1, .gsd2Port = 2};
  const ControlFiles files{{"SONG.CM6", Cm6Builder().Build()}, {"SONG.GSD", GsdBuilder().Build()},
                           {"SONG2.GSD", GsdBuilder().MasterVolume(0x10).Build()}};
  const auto file = LoadBeside<CG36File>(song, files, settings, "song.g36");
  // 105 records of CM6 (the first block counts the opening tempo record), 273 of each GSD.
  const std::vector<std::string> lines = test::EventLines(*file);
  const std::uint64_t cm6End = PausesUs(102) + 500'000;
  const std::uint64_t gsdEnd = PausesUs(102 + 271) + 2 * 500'000;  // the pacing goes on across blocks
  const std::uint64_t end = PausesUs(102 + 271 + 271) + 3 * 500'000;
  EXPECT_EQ(lines[1], "0 B MARK 0");
  EXPECT_EQ(lines[104], std::to_string(cm6End) + " B MARK 1");
  EXPECT_EQ(lines[105 + 272], std::to_string(gsdEnd) + " A MARK 3");
  EXPECT_EQ(lines[105 + 273], std::to_string(gsdEnd) + " B MARK 4");
  EXPECT_TRUE(lines[105 + 273 + 1 + 208].ends_with(" B SYX F0 41 10 42 12 40 00 04 10 2C F7")) << "the second file";
  EXPECT_EQ(lines[105 + 273 + 272], std::to_string(end) + " B MARK 5");
  EXPECT_EQ(file->SongStartIndex(), 105u + 273 + 273);
  EXPECT_EQ(lines[file->SongStartIndex()], std::to_string(end) + " A MSG 90 3C 64") << "the song's first note";
}

TEST(ControlBlockTest, PortSettingsDecideWhetherABlockIsSent) {
  const ControlFiles files{{"SONG.CM6", Cm6Builder().Build()}, {"SONG.GSD", GsdBuilder().Build()}};
  // Ports in use, CM6 port, GSD port; the records of each block. With one port a block for port
  // B is not sent; 0 sends nothing, and neither do values outside 0..2.
  const std::array<int, 5> cases[] = {{1, 2, 1, 0, 274}, {2, 2, 1, 105, 273}, {2, 0, 0, 0, 0}, {2, 3, -1, 0, 0}};
  for (const auto& [portCount, cm6Port, gsdPort, cm6Count, gsdCount] : cases) {
    const SongSettings settings{.portCount = portCount, .cm6Port = cm6Port, .gsdPort = gsdPort};
    const auto file = LoadBeside<CRCPFile>(Song("SONG.CM6", "SONG.GSD"), files, settings);
    // The song's first record follows the blocks (or the tempo record) and plays on port A.
    const StreamEvent& first = file->Events()[std::max<std::uint32_t>(file->SongStartIndex(), 1)];
    EXPECT_EQ(std::make_tuple(file->ControlBlockCount(CMIDIStream::kCm6Block), file->ControlBlockCount(CMIDIStream::kGsdBlock),
                              file->SongStartIndex(), first.status, first.port),
              std::make_tuple(cm6Count, gsdCount, cm6Count + gsdCount, 0x90, PortId::A))
        << portCount << " ports, CM6 " << cm6Port << ", GSD " << gsdPort;
  }
}

TEST(ControlFileTest, NamesAreTrimmedMatchedWithoutRegardToCaseAndKeptInTheSongsFolder) {
  test::TempDir dir;
  dir.Write("song.cm6", Cm6Builder().Build());
  dir.Write("SONG.cm6", Cm6Builder().Build());
  dir.Write("Song.Gsd", GsdBuilder().Build());
  EXPECT_EQ(FindControlFile(dir.Path() / "x.rcp", "song.cm6"), dir.Path() / "song.cm6") << "an exact name wins";
  EXPECT_EQ(FindControlFile(dir.Path() / "x.rcp", "Song.CM6  "), dir.Path() / "SONG.cm6") << "then the first by name";
  EXPECT_EQ(FindControlFile(dir.Path() / "x.rcp", "SONG.GSD    "), dir.Path() / "Song.Gsd");
  std::filesystem::create_directory(dir.Path() / "songs");
  std::filesystem::create_directory(dir.Path() / "songs" / "DIR.CM6");
  const std::filesystem::path song = dir.Path() / "songs" / "a.rcp";
  for (const char* name : {"../song.cm6", "..\\song.cm6", "..", "DIR.CM6", "            ", ""}) {
    EXPECT_EQ(FindControlFile(song, name), std::nullopt) << "'" << name << "' is no control file";
  }
}

TEST(ControlFileTest, FilesThatCannotBeUsedAreDroppedSilently) {
  const ControlFiles files{{"SHORT.CM6", Bytes(22600, 0)}, {"LONG.GSD", Bytes(30000, 0)}};
  // 22600 bytes are one too few, but the name stays for the displays; a longer file is used,
  // its first 2673 bytes.
  const auto used = LoadBeside<CRCPFile>(Song("SHORT.CM6", "LONG.GSD"), files);
  EXPECT_EQ(std::make_tuple(used->Info().cm6Loaded, used->Info().cm6File, used->Info().gsdLoaded, used->SongStartIndex()),
            std::make_tuple(false, "SHORT.CM6", true, 274u));
  const auto missing = LoadBeside<CRCPFile>(Song("NONE.CM6", "NONE.GSD"), files);
  EXPECT_EQ(test::EventLines(*missing)[1], "0 A MSG 90 3C 64") << "the song starts at once";
  G36Builder g36;  // without its second GSD file the song plays without that block
  g36.header = {.gsdName = "LONG.GSD", .gsd2Name = "NONE.GSD"};
  g36.AddTrack().Note(1, 60, 1, 100).End();
  const auto file = LoadBeside<CG36File>(g36, files, SongSettings{.gsd2Port = 1}, "song.g36");
  EXPECT_EQ(std::make_tuple(file->Info().gsd2Loaded, file->ControlBlockCount(CMIDIStream::kGsd2Block), file->SongStartIndex()),
            std::make_tuple(false, 0u, 274u));
  Bytes bytes(2672, 0x11);  // one byte short of a GSD file
  std::unique_ptr<std::FILE, decltype(&std::fclose)> stream(fmemopen(bytes.data(), bytes.size(), "rb"), &std::fclose);
  EXPECT_EQ(test::ErrorText([&] { ReadControlFile(stream.get(), kGsdFileSize); }),
            "コントロールファイルが壊れています。");
}

}  // namespace
}  // namespace velvasto

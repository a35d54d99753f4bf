// Writing loaded songs as Standard MIDI Files: read back, every message comes at the same time
// (within a millisecond) in the same order on its channel, for songs of every kind.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/errors.h"
#include "recomposer_load.h"
#include "song/midi_file.h"
#include "song/smf_writer.h"
#include "support/control_file_builder.h"
#include "support/read_file.h"
#include "support/smf_builder.h"
#include "support/song_compare.h"
#include "support/table_stream.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;

SongSettings TwoPorts() {
  SongSettings settings;
  settings.portCount = 2;
  return settings;
}

std::unique_ptr<CMIDIFile> ReadBack(const Bytes& bytes) {
  auto file = std::make_unique<CMIDIFile>(TwoPorts());
  EXPECT_TRUE(file->LoadFromMemory(bytes));
  return file;
}

std::uint32_t BE(const Bytes& bytes, std::size_t offset, int size) {
  std::uint32_t value = 0;
  for (int i = 0; i < size; ++i) value = value << 8 | bytes[offset + i];
  return value;
}

TEST(SmfWriterTest, StandardMidiFileComesBackWithExactlyTheSameTimes) {
  test::SmfBuilder smf(1, 480);
  smf.AddTrack()
      .Text(0, 0x03, "Round trip")
      .TimeSignature(0, 3, 2)
      .Tempo(0, 500'000)
      .Tempo(1000, 333'333)
      .Tempo(2000, 1'234'567)
      .EndOfTrack(100);
  smf.AddTrack()
      .SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7})
      .Program(0, 0, 5)
      .NoteOn(10, 0, 60, 100)
      .Raw(0, {62, 90})  // running status
      .NoteOff(700, 0, 60)
      .NoteOff(0, 0, 62)
      .Raw(900, {0xE0, 0x00, 0x50})
      .EndOfTrack(0);
  smf.AddTrack()
      .Port(0, 1)
      .Control(0, 9, 7, 110)
      .NoteOn(1500, 9, 36, 120)
      .NoteOn(1, 9, 36, 0)
      .Escape(5, {0xF8})
      .SysEx(0, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7})
      .EndOfTrack(0);
  CMIDIFile original(TwoPorts());
  ASSERT_TRUE(original.LoadFromMemory(smf.Build()));

  const Bytes written = BuildStandardMidiFile(original);
  EXPECT_EQ(BE(written, 8, 2), 1u) << "format 1";
  EXPECT_EQ(BE(written, 12, 2), 480u) << "the song's own time base";
  const auto back = ReadBack(written);
  EXPECT_EQ(test::MessageDifferences(original, *back, 0), std::vector<std::string>{});
  EXPECT_EQ(back->Events().back().time, original.Events().back().time);
  EXPECT_EQ(back->Info().title, "Round trip");
  ASSERT_EQ(back->Tempos().Segments().size(), 3u);
  EXPECT_EQ(back->Tempos().Segments()[2].quarterUs, 1'234'567.0);
  ASSERT_EQ(back->Tempos().Meters().size(), 1u);
  EXPECT_EQ(back->Tempos().Meters()[0].numerator, 3);
  // Conductor, then PORT A's exclusives and channel 1, then PORT B's exclusives and channel 10.
  EXPECT_EQ(BE(written, 10, 2), 5u);
}

// An RCP song with CM6 and GSD blocks, two ports and a tempo without a whole number of
// microseconds a quarter note (187 beats a minute) for half an hour.
test::RcpBuilder LongRcpSong() {
  test::RcpBuilder song;
  song.header.title = "\x83\x65\x83\x58\x83\x67";  // テスト
  song.header.tempo = 120;
  song.header.timeBase = 48;
  song.header.cm6Name = "A.CM6";
  song.header.gsdName = "A.GSD";
  song.AddTrack()
      .Program(0, 10)
      .Tempo(24, 100)  // 100 × 120 / 64 = 187
      .LoopStart()
      .LoopStart()
      .Note(240, 60, 200, 100)
      .LoopEnd(100)
      .LoopEnd(12)
      .End();
  song.AddTrack().Channel(0x19).Control(5, 7, 90).Note(43, 36, 1, 127).Note(3, 38, 250, 80).End();
  return song;
}

TEST(SmfWriterTest, RcpSongWithControlBlocksComesBackWithinAMillisecond) {
  test::TempDir dir;
  dir.Write("A.CM6", test::Cm6Builder().Numbered().Build());
  dir.Write("A.GSD", test::GsdBuilder().MasterVolume(100).Build());
  CRCPFile original(TwoPorts());
  ASSERT_TRUE(original.Load(dir.Write("song.rcp", LongRcpSong().Build())));
  ASSERT_GT(original.Events().back().time, 30ull * 60 * 1'000'000);

  const auto back = ReadBack(BuildStandardMidiFile(original));
  EXPECT_EQ(test::MessageDifferences(original, *back, 1'000), std::vector<std::string>{});
  EXPECT_LE(test::LargestTimeDifference(original, *back), 250u) << "the written tempo never drifts far";
  EXPECT_EQ(back->Info().title, "テスト");
  EXPECT_EQ(back->Tempos().TicksPerQuarter(), 48u);
  // The song starts on a bar line after the control blocks: its first tick is a whole number
  // of 4/4 bars.
  const TempoMap& tempos = back->Tempos();
  const auto start = std::find_if(tempos.Segments().begin(), tempos.Segments().end(),
                                  [&](const TempoMap::Segment& s) { return s.timeUs >= original.SongStartTime(); });
  ASSERT_NE(start, tempos.Segments().end());
  EXPECT_EQ(start->tick % (4 * 48), 0u);
  EXPECT_NEAR(static_cast<double>(start->timeUs), static_cast<double>(original.SongStartTime()), 20.0);
}

TEST(SmfWriterTest, G36SongWithLongStepsAndThreeBlocksComesBackWithinAMillisecond) {
  test::TempDir dir;
  dir.Write("A.GSD", test::GsdBuilder().MasterVolume(90).Build());
  dir.Write("B.GSD", test::GsdBuilder().MasterVolume(80).Build());
  test::G36Builder song;
  song.header.tempo = 93;
  song.header.timeBase = 96;
  song.header.beatNumerator = 6;
  song.header.beatDenominator = 8;
  song.header.gsdName = "A.GSD";
  song.header.gsd2Name = "B.GSD";
  song.AddTrack().Note(1000, 60, 300, 100).Tempo(0, 77).Note(5000, 62, 4000, 90).Rest(60000).Note(7, 64, 1, 1).End();
  song.AddTrack().Channel(0x12).Rest(1).Control(0, 10, 30).Note(12345, 40, 2, 70).End();
  SongSettings settings = TwoPorts();
  settings.gsd2Port = 2;
  CG36File original(settings);
  ASSERT_TRUE(original.Load(dir.Write("song.g36", song.Build())));
  ASSERT_EQ(original.ControlBlockCount(CMIDIStream::kGsd2Block), 273u);

  const auto back = ReadBack(BuildStandardMidiFile(original));
  EXPECT_EQ(test::MessageDifferences(original, *back, 1'000), std::vector<std::string>{});
  ASSERT_FALSE(back->Tempos().Meters().empty());
  EXPECT_EQ(back->Tempos().Meters()[0].numerator, 6);
  EXPECT_EQ(back->Tempos().Meters()[0].denominatorPower, 3);
}

TEST(SmfWriterTest, TempoSlowerThanATempoEventHoldsIsWrittenInShorterQuarterNotes) {
  test::RcpBuilder song;
  song.header.tempo = 2;  // 30 s a quarter note
  song.header.timeBase = 48;
  song.AddTrack().Note(5, 60, 50, 100).Note(1, 61, 1, 100).End();
  const auto original = test::LoadRcp(song.Build());
  const auto back = ReadBack(BuildStandardMidiFile(*original));
  EXPECT_EQ(test::MessageDifferences(*original, *back, 1'000), std::vector<std::string>{});
  EXPECT_EQ(back->Tempos().Segments()[0].quarterUs, 15'000'000.0);
}

TEST(SmfWriterTest, TableWithoutTempoMapIsWrittenATickAMillisecond) {
  test::TableStream table(TwoPorts());
  table.Short(0, PortId::A, 0xC0, 3)
      .Short(1'234'567, PortId::B, 0x91, 64, 100)
      .SysEx(1'234'999, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7})
      .Short(2'000'400, PortId::B, 0x81, 64, 0)
      .End(3'000'000);
  table.Build();
  const Bytes written = BuildStandardMidiFile(table);
  EXPECT_EQ(BE(written, 12, 2), 500u);
  const auto back = ReadBack(written);
  EXPECT_EQ(test::MessageDifferences(table, *back, 500), std::vector<std::string>{});
}

TEST(SmfWriterTest, WritingReplacesTheFileOnlyWhenComplete) {
  test::TempDir dir;
  test::TableStream table;
  table.Short(0, PortId::A, 0x90, 60, 1).End(1'000);
  table.Build();
  const std::filesystem::path path = dir.Path() / "out.mid";
  const Bytes expected = WriteStandardMidiFile(table, path);
  EXPECT_EQ(expected, BuildStandardMidiFile(table));
  EXPECT_EQ(test::ReadWholeFile(path), std::string(expected.begin(), expected.end()));

  const std::filesystem::path missing = dir.Path() / "no such folder" / "out.mid";
  EXPECT_EQ(test::ErrorText([&] { WriteStandardMidiFile(table, missing); }), std::strerror(ENOENT));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

}  // namespace
}  // namespace velvasto

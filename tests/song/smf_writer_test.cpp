// Writing loaded songs as Standard MIDI Files: read back, every message comes at the same time
// (within a millisecond) in the same order on its channel, for songs of every kind; and the
// bundled demo song, which exists as a Standard MIDI File and as an RCP file with the same music.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/errors.h"
#include "recomposer_load.h"
#include "song/midi_file.h"
#include "song/rcp_file.h"
#include "song/smf_writer.h"
#include "support/control_file_builder.h"
#include "support/demo_song.h"
#include "support/read_file.h"
#include "support/smf_builder.h"
#include "support/song_compare.h"
#include "support/table_stream.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using test::Bytes;

std::unique_ptr<CMIDIFile> ReadBack(const Bytes& bytes) {
  auto file = std::make_unique<CMIDIFile>(SongSettings{.portCount = 2});
  EXPECT_TRUE(file->LoadFromMemory(bytes));
  return file;
}

// The 16-bit field at `offset`.
std::uint32_t BE16(const Bytes& bytes, std::size_t offset) { return bytes[offset] << 8 | bytes[offset + 1]; }

TEST(SmfWriterTest, StandardMidiFileComesBackWithExactlyTheSameTimes) {
  test::SmfBuilder smf(1, 480);
  smf.AddTrack().Text(0, 0x03, "Round trip").TimeSignature(0, 3, 2).Tempo(0, 500'000).Tempo(1000, 333'333)
      .Tempo(2000, 1'234'567).EndOfTrack(100);
  smf.AddTrack().SysEx(0, {0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7}).Program(0, 0, 5)
      .NoteOn(10, 0, 60, 100).Raw(0, {62, 90}).NoteOff(700, 0, 60).NoteOff(0, 0, 62).Raw(900, {0xE0, 0x00, 0x50})
      .EndOfTrack(0);
  smf.AddTrack().Port(0, 1).Control(0, 9, 7, 110).NoteOn(1500, 9, 36, 120).NoteOn(1, 9, 36, 0).Escape(5, {0xF8})
      .SysEx(0, {0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7}).EndOfTrack(0);
  CMIDIFile original(SongSettings{.portCount = 2});
  ASSERT_TRUE(original.LoadFromMemory(smf.Build()));

  const Bytes written = BuildStandardMidiFile(original);
  // Format 1 in the song's own time base: conductor, then PORT A's exclusives and channel 1,
  // then PORT B's exclusives and channel 10.
  EXPECT_EQ(std::make_tuple(BE16(written, 8), BE16(written, 10), BE16(written, 12)), std::make_tuple(1u, 5u, 480u));
  const auto back = ReadBack(written);
  EXPECT_EQ(test::MessageDifferences(original, *back, 0), std::vector<std::string>{});
  EXPECT_EQ(back->Events().back().time, original.Events().back().time);
  EXPECT_EQ(back->Info().title, "Round trip");
  ASSERT_EQ(back->Tempos().Segments().size(), 3u);
  EXPECT_EQ(back->Tempos().Segments()[2].quarterUs, 1'234'567.0);
  ASSERT_EQ(back->Tempos().Meters().size(), 1u);
  EXPECT_EQ(back->Tempos().Meters()[0].numerator, 3);
}

TEST(SmfWriterTest, RcpSongWithControlBlocksComesBackWithinAMillisecond) {
  // CM6 and GSD blocks, two ports and a tempo without a whole number of microseconds a quarter
  // note (100 × 120 / 64 = 187 beats a minute) for half an hour.
  test::RcpBuilder song;
  // テスト
  song.header = {.title = "\x83\x65\x83\x58\x83\x67", .cm6Name = "A.CM6", .gsdName = "A.GSD"};
  song.AddTrack().Program(0, 10).Tempo(24, 100).LoopStart().LoopStart().Note(240, 60, 200, 100).LoopEnd(100).LoopEnd(12).End();
  song.AddTrack().Channel(0x19).Control(5, 7, 90).Note(43, 36, 1, 127).Note(3, 38, 250, 80).End();
  test::TempDir dir;
  dir.Write("A.CM6", test::Cm6Builder().Numbered().Build());
  dir.Write("A.GSD", test::GsdBuilder().MasterVolume(100).Build());
  CRCPFile original(SongSettings{.portCount = 2});
  ASSERT_TRUE(original.Load(dir.Write("song.rcp", song.Build())));
  ASSERT_GT(original.Events().back().time, 30ull * 60 * 1'000'000);
  const auto back = ReadBack(BuildStandardMidiFile(original));
  EXPECT_EQ(test::MessageDifferences(original, *back, 250), std::vector<std::string>{})
      << "the written tempo never drifts far";
  EXPECT_EQ(back->Info().title, "テスト");
  // The song starts on a bar line after the control blocks: its first tick is a whole number
  // of 4/4 bars at the song's time base.
  const auto& segments = back->Tempos().Segments();
  const auto start = std::find_if(segments.begin(), segments.end(),
                                  [&](const TempoMap::Segment& s) { return s.timeUs >= original.SongStartTime(); });
  ASSERT_NE(start, segments.end());
  EXPECT_EQ(std::make_tuple(back->Tempos().TicksPerQuarter(), start->tick % (4 * 48)), std::make_tuple(48u, 0ull));
  EXPECT_NEAR(static_cast<double>(start->timeUs), static_cast<double>(original.SongStartTime()), 20.0);
}

TEST(SmfWriterTest, G36SongWithLongStepsAndThreeBlocksComesBackWithinAMillisecond) {
  test::TempDir dir;
  dir.Write("A.GSD", test::GsdBuilder().MasterVolume(90).Build());
  dir.Write("B.GSD", test::GsdBuilder().MasterVolume(80).Build());
  test::G36Builder song;
  song.header = {.timeBase = 96, .tempo = 93, .beatNumerator = 6, .beatDenominator = 8, .gsdName = "A.GSD", .gsd2Name = "B.GSD"};
  song.AddTrack().Note(1000, 60, 300, 100).Tempo(0, 77).Note(5000, 62, 4000, 90).Rest(60000).Note(7, 64, 1, 1).End();
  song.AddTrack().Channel(0x12).Rest(1).Control(0, 10, 30).Note(12345, 40, 2, 70).End();
  SongSettings settings{.portCount = 2, .gsd2Port = 2};
  CG36File original(settings);
  ASSERT_TRUE(original.Load(dir.Write("song.g36", song.Build())));
  ASSERT_EQ(original.ControlBlockCount(CMIDIStream::kGsd2Block), 273u);
  const auto back = ReadBack(BuildStandardMidiFile(original));
  EXPECT_EQ(test::MessageDifferences(original, *back, 1'000), std::vector<std::string>{});
  ASSERT_FALSE(back->Tempos().Meters().empty());
  const TempoMap::Meter meter = back->Tempos().Meters()[0];
  EXPECT_EQ(std::make_pair(meter.numerator, meter.denominatorPower), std::make_pair(std::uint8_t{6}, std::uint8_t{3}));

  // A tempo slower than a tempo event holds is written in shorter quarter notes.
  test::RcpBuilder slow;
  slow.header.tempo = 2;  // 30 s a quarter note
  slow.AddTrack().Note(5, 60, 50, 100).Note(1, 61, 1, 100).End();
  const auto slowSong = test::LoadRcp(slow.Build());
  const auto slowBack = ReadBack(BuildStandardMidiFile(*slowSong));
  EXPECT_EQ(test::MessageDifferences(*slowSong, *slowBack, 1'000), std::vector<std::string>{});
  EXPECT_EQ(slowBack->Tempos().Segments()[0].quarterUs, 15'000'000.0);
}

TEST(SmfWriterTest, TableWithoutTempoMapIsWrittenATickAMillisecondAndReplacesTheFileOnlyWhenComplete) {
  test::TableStream table(SongSettings{.portCount = 2});
  table.Short(0, PortId::A, 0xC0, 3).Short(1'234'567, PortId::B, 0x91, 64, 100)
      .SysEx(1'234'999, PortId::A, {0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7}).Short(2'000'400, PortId::B, 0x81, 64, 0)
      .End(3'000'000);
  table.Build();
  test::TempDir dir;
  const Bytes written = WriteStandardMidiFile(table, dir.Path() / "out.mid");
  EXPECT_EQ(test::ReadWholeFile(dir.Path() / "out.mid"), std::string(written.begin(), written.end()));
  EXPECT_EQ(BE16(written, 12), 500u);
  EXPECT_EQ(test::MessageDifferences(table, *ReadBack(written), 500), std::vector<std::string>{});
  const std::filesystem::path missing = dir.Path() / "no such folder" / "out.mid";
  EXPECT_EQ(test::ErrorText([&] { WriteStandardMidiFile(table, missing); }), std::strerror(ENOENT));
  EXPECT_FALSE(std::filesystem::exists(missing));
}

TEST(DemoSongTest, TheRcpFilePlaysTheMusicOfTheMidiFile) {
  CMIDIFile midi(SongSettings{});
  ASSERT_TRUE(midi.Load(test::DemoSong("demo.mid")));
  CRCPFile rcp(SongSettings{});
  ASSERT_TRUE(rcp.Load(test::DemoSong("demo.rcp")));
  EXPECT_EQ(rcp.Info().title, midi.Info().title);
  // Every message at the same time on its channel; note-offs are note-ons of velocity 0 in the
  // RCP file.
  EXPECT_EQ(test::MessageDifferences(midi, rcp, 20, {.noteOffFormsAlike = true}), std::vector<std::string>{});
  EXPECT_NEAR(static_cast<double>(rcp.Events().back().time), static_cast<double>(midi.Events().back().time), 20.0);

  CMIDIFile written(SongSettings{});
  ASSERT_TRUE(written.LoadFromMemory(BuildStandardMidiFile(rcp)));
  EXPECT_EQ(test::MessageDifferences(rcp, written, 1'000), std::vector<std::string>{});
}

}  // namespace
}  // namespace velvasto

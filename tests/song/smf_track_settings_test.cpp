// The track settings file (.mtk) of Standard MIDI Files.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>

#include "song/midi_file.h"
#include "song/smf_track_settings.h"
#include "support/event_text.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

using ::testing::ElementsAre;

TEST(SmfTrackSettingsTest, DirectiveLines) {
  TrackSettings settings{};
  EXPECT_TRUE(ApplyTrackSettingsLine("TRACK1 PORT:B", settings));
  EXPECT_TRUE(ApplyTrackSettingsLine("  track 2\tport: a   ch:off", settings));
  EXPECT_TRUE(ApplyTrackSettingsLine("Track3: CH: OFF PORT:c # PORT:A", settings));
  EXPECT_TRUE(ApplyTrackSettingsLine("TRACK4 PORT:1 CH:5 VOLUME:3", settings));  // no letter, no OFF
  EXPECT_TRUE(ApplyTrackSettingsLine("TRACK101 PORT:B", settings));             // no such track
  EXPECT_FALSE(ApplyTrackSettingsLine("TRACKS 5 PORT:B", settings));
  EXPECT_FALSE(ApplyTrackSettingsLine("TRACK0 PORT:B", settings));
  EXPECT_FALSE(ApplyTrackSettingsLine("TRACK PORT:B", settings));
  EXPECT_FALSE(ApplyTrackSettingsLine("# TRACK5 PORT:B", settings));
  EXPECT_FALSE(ApplyTrackSettingsLine("PORT:B TRACK5", settings));

  EXPECT_EQ(settings[0].port, PortId::B);
  EXPECT_FALSE(settings[0].silenced);
  EXPECT_EQ(settings[1].port, PortId::A);
  EXPECT_TRUE(settings[1].silenced);
  EXPECT_EQ(settings[2].port, PortId::B);
  EXPECT_TRUE(settings[2].silenced);
  EXPECT_EQ(settings[3].port, std::nullopt);
  EXPECT_FALSE(settings[3].silenced);
  EXPECT_EQ(settings[4].port, std::nullopt);

  // A later directive overrides.
  EXPECT_TRUE(ApplyTrackSettingsLine("TRACK1 PORT:A", settings));
  EXPECT_EQ(settings[0].port, PortId::A);
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

  EXPECT_EQ(ReadTrackSettingsFile(dir.Path() / "other.mid")[1].port, std::nullopt);
}

test::Bytes ThreeTrackSong() {
  test::SmfBuilder smf(1, 96);
  smf.AddTrack().Port(0, 1).NoteOn(0, 0, 60, 1).EndOfTrack();  // asks for port B itself
  smf.AddTrack().NoteOn(0, 1, 61, 1).EndOfTrack();
  smf.AddTrack()
      .Port(0, 1)
      .NoteOn(0, 2, 62, 1)
      .SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7})
      .Tempo(0, 250000)
      .NoteOn(96, 2, 63, 1)
      .EndOfTrack();
  return smf.Build();
}

TEST(SmfTrackSettingsTest, SettingsFileMovesAndSilencesTracks) {
  test::TempDir dir;
  const auto path = dir.Write("song.mid", ThreeTrackSong());
  dir.Write("song.mtk", "# ports for my module\nTRACK1 PORT:A\nTRACK2 PORT:B\nTRACK3 CH:OFF\n");
  SongSettings twoPorts;
  twoPorts.portCount = 2;
  CMIDIFile file(twoPorts);
  ASSERT_TRUE(file.Load(path));
  // Track 1's own port event yields to the file; track 3 follows its port event but sends
  // only its exclusive message, and its tempo still rules the song.
  EXPECT_THAT(test::EventLines(file), ElementsAre("0 A MSG 90 3C 01", "0 B MSG 91 3D 01",
                                                  "0 B SYX F0 7E 7F 09 01 F7", "0 - TEMPO 240", "250000 - END"));
}

TEST(SmfTrackSettingsTest, SilencedTracksGetNoMapInsertionsAndPortBTracksAreDroppedWithOnePort) {
  test::TempDir dir;
  const auto path = dir.Write("song.mid", ThreeTrackSong());
  dir.Write("song.mtk", "TRACK 1 PORT:A CH:OFF\nTRACK 2 PORT:B\n");
  SongSettings settings;
  settings.mapMode = 2;
  settings.forceMap = 2;
  CMIDIFile file(settings);
  ASSERT_TRUE(file.Load(path));
  EXPECT_THAT(test::EventLines(file), ElementsAre("0 - TEMPO 240", "250000 - END"));
}

}  // namespace
}  // namespace velvasto

// The bundled demo song exists as a Standard MIDI File and as an RCP file with the same music.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "song/midi_file.h"
#include "song/rcp_file.h"
#include "song/smf_writer.h"
#include "support/song_compare.h"

namespace velvasto {
namespace {

std::filesystem::path Demo(const char* name) {
  return std::filesystem::path(std::getenv("VELVASTO_TEST_DATA")) / ".." / ".." / "resources" / "demo" / name;
}

TEST(DemoSongTest, TheRcpFilePlaysTheMusicOfTheMidiFile) {
  CMIDIFile midi(SongSettings{});
  ASSERT_TRUE(midi.Load(Demo("demo.mid")));
  CRCPFile rcp(SongSettings{});
  ASSERT_TRUE(rcp.Load(Demo("demo.rcp")));
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

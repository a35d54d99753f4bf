// The song slot reports each failure once and passes it on; nothing stays loaded after a failed
// start or stop.

#include <gtest/gtest.h>

#include "app/song_slot.h"
#include "app/song_start.h"
#include "controller_fixture.h"
#include "engine/engine_notifications.h"

namespace velvasto::test {
namespace {

class SongSlotTest : public ControllerTest {
 protected:
  void Play(const std::filesystem::path& path) { slot.Play(path, app.activePort, SongStartFor(app)); }

  PlayState state = PlayState::Stopped;
  NotificationQueue queue;
  CSongSlot slot{state, playback.Timing(), devices, prompt, queue};
};

TEST_F(SongSlotTest, FailuresAreReportedOnceAndThrownOnAndNothingStaysLoaded) {
  EXPECT_THROW(Play(dir.Write("a.mid", std::string_view("plain text, not a song at all"))), CErrMessage);
  EXPECT_FALSE(slot.Loaded() || slot.Info().has_value());
  Play(Song("b.mid", 60));
  EXPECT_THROW(Play(Song("c.mid", 62)), CErrMessage);
  EXPECT_EQ(state, PlayState::Playing) << "the song that plays is left alone";
  *devices.failShortSends = 1;
  EXPECT_THROW(slot.Stop(), CMMSystemErrMessage);
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"サポートしていないファイル形式です。", "データはすでに読み込まれています。",
                                                     "midiOutShortMsgでエラーが発生しました。"}));
  EXPECT_EQ(state, PlayState::Stopped);
  EXPECT_FALSE(slot.Loaded()) << "a failed stop still lets the song go";
}

}  // namespace
}  // namespace velvasto::test

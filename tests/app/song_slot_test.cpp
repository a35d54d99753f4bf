// The song slot: each operation reports its failure once and passes it on; nothing stays loaded
// after a failed start or a failed stop.

#include <gtest/gtest.h>

#include "app/song_slot.h"
#include "app/song_start.h"
#include "controller_fixture.h"
#include "core/errors.h"
#include "engine/engine_notifications.h"

namespace velvasto::test {
namespace {

class SongSlotTest : public ControllerTest {
 protected:
  SongStart Start() const { return SongStartFor(app); }

  PlayState state = PlayState::Stopped;
  NotificationQueue queue;
  CSongSlot slot{state, playback.Timing(), devices, prompt, queue};
};

TEST_F(SongSlotTest, PlayFillsTheInformationRecordAndStopLetsTheSongGo) {
  slot.Play(Song("a.mid", 60), app.activePort, Start());
  EXPECT_EQ(state, PlayState::Playing);
  ASSERT_TRUE(slot.Info().has_value());
  EXPECT_EQ(slot.Info()->kind, SongKind::Smf);
  EXPECT_EQ(slot.Info()->playTimeUs, 500'000u);
  ASSERT_NE(slot.Song(), nullptr);

  slot.Pause();
  EXPECT_EQ(state, PlayState::Paused);
  slot.Pause();
  EXPECT_EQ(state, PlayState::Paused) << "pausing twice is nothing";
  slot.Resume();
  EXPECT_EQ(state, PlayState::Playing);

  slot.Stop();
  EXPECT_EQ(state, PlayState::Stopped);
  EXPECT_FALSE(slot.Loaded());
  EXPECT_TRUE(slot.Info().has_value()) << "the record stays until cleared";
  EXPECT_TRUE(prompt.errors.empty());
  slot.Stop();
  slot.Restart();
  EXPECT_EQ(state, PlayState::Stopped);
}

TEST_F(SongSlotTest, AFileNoReaderAcceptsIsReportedOnceAndThrownOn) {
  const auto text = dir.Write("a.mid", std::string_view("plain text, not a song at all"));
  EXPECT_THROW(slot.Play(text, app.activePort, Start()), CErrMessage);
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"サポートしていないファイル形式です。"}));
  EXPECT_EQ(state, PlayState::Stopped);
  EXPECT_FALSE(slot.Loaded());
  EXPECT_FALSE(slot.Info().has_value());
}

TEST_F(SongSlotTest, ASecondPlayWhileASongIsHeldFailsWithAlreadyLoaded) {
  slot.Play(Song("a.mid", 60), app.activePort, Start());
  EXPECT_THROW(slot.Play(Song("b.mid", 62), app.activePort, Start()), CErrMessage);
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"データはすでに読み込まれています。"}));
  EXPECT_EQ(state, PlayState::Playing) << "the song that plays is left alone";
}

TEST_F(SongSlotTest, AFailedStopIsReportedOnceAndStillLetsTheSongGo) {
  slot.Play(Song("a.mid", 60), app.activePort, Start());
  devices.FailShortSends(1);
  EXPECT_THROW(slot.Stop(), CMMSystemErrMessage);
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"midiOutShortMsgでエラーが発生しました。"}));
  EXPECT_EQ(state, PlayState::Stopped);
  EXPECT_FALSE(slot.Loaded());
  slot.Play(Song("b.mid", 62), app.activePort, Start());
  EXPECT_EQ(state, PlayState::Playing) << "the slot is free for the next song";
}

TEST_F(SongSlotTest, EachStartStampsItsNotificationsWithANewNumber) {
  slot.Play(Song("a.mid", 60), app.activePort, Start());
  const std::uint64_t first = slot.CurrentStart();
  playback.Clock().AdvanceMs(600);
  slot.Restart();
  EXPECT_NE(slot.CurrentStart(), first);
  std::vector<std::uint64_t> ends;
  for (const auto& notification : queue.TakeAll()) {
    if (notification.message == UM_SONG_END) ends.push_back(notification.songStart);
  }
  EXPECT_EQ(ends, (std::vector<std::uint64_t>{first}));
}

TEST(NotificationQueueTest, WakesOnceAndMergesWhatOnlyAsksToLookAgain) {
  int wakes = 0;
  NotificationQueue queue([&] { ++wakes; });
  queue.Post({1, UM_MONITOR_EVENTS, 0, 0});
  queue.Post({1, UM_TIME_UPDATE, 1, 0});
  queue.Post({1, UM_MONITOR_EVENTS, 0, 0});
  queue.Post({1, UM_TIME_UPDATE, 2, 0});
  queue.Post({2, UM_MONITOR_EVENTS, 0, 0});
  queue.Post({1, UM_SONG_END, 0, 0});
  EXPECT_EQ(wakes, 1);
  EXPECT_EQ(queue.TakeAll(), (std::vector<EngineNotification>{{1, UM_MONITOR_EVENTS, 0, 0},
                                                              {1, UM_TIME_UPDATE, 2, 0},
                                                              {2, UM_MONITOR_EVENTS, 0, 0},
                                                              {1, UM_SONG_END, 0, 0}}));
  queue.Post({1, UM_ENGINE_ERROR, 2, 1007});
  EXPECT_EQ(wakes, 2);
}

TEST(SongStartTest, AListEntrysMapSettingsOverrideTheSettingsBlock) {
  SettingsBlock block;
  block.mapMode = 1;
  block.forceMap = 3;
  ListEntry entry;
  EXPECT_EQ(SongSettingsFor(block, 2, &entry).mapMode, 1) << "map mode 0 follows the settings";
  EXPECT_EQ(SongSettingsFor(block, 2, &entry).portCount, 2);
  entry.mapMode = 2;
  entry.forceMap = 1;
  SongSettings forced = SongSettingsFor(block, 1, &entry);
  EXPECT_EQ(forced.mapMode, 2);
  EXPECT_EQ(forced.forceMap, 1);
  EXPECT_FALSE(forced.adjust55);
  entry.adjust55 = 1;
  EXPECT_TRUE(SongSettingsFor(block, 1, &entry).adjust55);
  block.mapMode = 0;
  entry = {};
  entry.mapMode = 1;
  EXPECT_EQ(SongSettingsFor(block, 1, &entry).mapMode, 1);
  EXPECT_EQ(SongSettingsFor(block, 1, nullptr).mapMode, 0);
}

TEST_F(SongSlotTest, AListSongStartsWithItsEntrysVolumeAndASingleSongWithVolumeValue) {
  app.settings.volumeValue = 90;
  app.settings.gsResetSend = 1;
  app.playList.Append({.path = "x.mid", .volume = 40});
  app.playList.SetCurrentIndex(0);
  EXPECT_EQ(SongStartFor(app).options.masterVolume, 90u);
  app.listPlaying = true;
  EXPECT_EQ(SongStartFor(app).options.masterVolume, 40u);
  EXPECT_TRUE(SongStartFor(app).options.resets.gsReset);
  EXPECT_EQ(SongStartFor(app).timerPeriodMs, app.timerPeriods.period);
}

}  // namespace
}  // namespace velvasto::test

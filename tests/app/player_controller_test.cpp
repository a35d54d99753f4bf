// The player controller's commands and list play on virtual time: command states, single songs
// and lists, the song end by play mode, entries that cannot start, and the song slot's failures.

#include <gtest/gtest.h>

#include "app/song_slot.h"
#include "app/song_start.h"
#include "controller_fixture.h"
#include "engine/engine_notifications.h"

namespace velvasto::test {
namespace {

using Outcome = VirtualPlayback::Outcome;
constexpr const char* kIdleTitle = "Velvasto for Windows Version4";

class PlayerControllerTest : public ControllerTest {
 protected:
  // '1' for each command that is enabled, '0' for each that is not, by group: transport, list,
  // files and tools, settings dialogs.
  std::string Enabled() const {
    using enum CommandId;
    std::string flags;
    for (const auto& group : {std::vector{Play, Stop, Rewind, FastForward, Pause, JumpToSong},
                              std::vector{EditList, SaveList, SaveListAs, SongProperties},
                              std::vector{NewList, OpenList, SelectOneSong, Patchbay, FileAssociation},
                              std::vector{MidiPortSettings, TimerPeriod, ControlFilePort, PlayBehaviour}}) {
      flags += flags.empty() ? "" : " ";
      for (const CommandId command : group) flags += State(command).enabled ? '1' : '0';
    }
    return flags;
  }
};

TEST_F(PlayerControllerTest, CommandsFollowThePlayStateAndCheckTheirMode) {
  using enum CommandId;
  controller->Open();
  EXPECT_EQ(Enabled(), "000000 0000 11111 1111");
  EXPECT_FALSE(controller->Execute(Stop)) << "a disabled command does nothing";

  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->ProcessOpenRequest(false);
  ASSERT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(Enabled(), "011111 1111 11111 0000") << "settings dialogs wait until play stops";

  AdvanceMs(300);
  ASSERT_TRUE(controller->Execute(Pause));
  EXPECT_EQ(State(Pause), (CommandState{.enabled = true, .checked = true, .caption = "RESTART(&S)\tS"}));
  EXPECT_EQ(Enabled(), "001111 1111 11111 0000") << "STOP is disabled while paused";

  ASSERT_TRUE(controller->Execute(Rewind));
  EXPECT_EQ(app.playState, PlayState::Playing) << "REWIND while paused starts the song again";
  EXPECT_EQ(State(Pause).caption, "PAUSE(&S)\tS");
  AdvanceMs(100);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 60}));

  ASSERT_TRUE(controller->Execute(Stop));
  EXPECT_EQ(Enabled(), "100001 1110 11111 1111") << "a list stays to jump in; no song, no properties";
  EXPECT_FALSE(controller->SongInformation().has_value());
  EXPECT_EQ(view.title, kIdleTitle);

  const std::pair<CommandId, CommandId> pairs[] = {
      {MonitorOnePanel, MonitorTwoPanels}, {MonitorPortA, MonitorPortB}, {SingleRepeatOff, SingleRepeatOn},
      {DropMakesNewList, DropAppends}};
  for (const auto& [first, second] : pairs) {
    ASSERT_TRUE(controller->Execute(second));
    EXPECT_TRUE(!State(first).checked && State(second).checked);
    ASSERT_TRUE(controller->Execute(first));
    EXPECT_TRUE(State(first).checked && !State(second).checked);
  }
  ASSERT_TRUE(controller->Execute(ListRandom));
  EXPECT_EQ(app.settings.loopMode, 2);
  EXPECT_TRUE(State(ListRandom).checked && !State(ListRepeat).checked && !State(ListNoRepeat).checked);
}

TEST_F(PlayerControllerTest, OneSongAtStartUpPlaysAsASingleSongAndClosesTheProgramAtItsEnd) {
  Request({Song("only.mid", 64)});
  controller->Open();
  EXPECT_TRUE(app.closeAfterPlay && !app.listPlaying && app.playList.Empty());
  EXPECT_EQ(view.title, "only.mid - Velvasto for Windows Version4");
  EXPECT_FALSE(State(CommandId::FastForward).enabled) << "a single song has no next entry";
  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(view.Count("close window"), 1);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{64}));
}

TEST_F(PlayerControllerTest, SeveralFilesPlayAsAListEachSilencedAtItsEndAndDoNotCloseTheProgram) {
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  EXPECT_TRUE(!app.closeAfterPlay && app.listPlaying && State(CommandId::FastForward).enabled);
  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(view.Count("close window"), 0);
  EXPECT_EQ(app.playList.CurrentIndex(), 2) << "a non-repeating list stays at its end";

  // Each song on its own times, silenced at its end on all 16 channels (hold, sostenuto, notes, sound).
  const auto lines = devices.Lines("mapper");
  ASSERT_EQ(lines.size(), 2u * (3 + 16 * 4));
  EXPECT_EQ(lines[3] + "|" + lines[66], "500000 A MSG B0 40 00|500000 A MSG BF 78 00");
  EXPECT_EQ(lines[68], "0 A MSG 90 3E 64");

  ASSERT_TRUE(controller->Execute(CommandId::Play));
  EXPECT_EQ(app.playList.CurrentIndex(), 0) << "PLAY after the end starts from the first entry again";
}

TEST_F(PlayerControllerTest, FastForwardTakesTheNextEntryAndStopsAfterTheLast) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62, 2'000'000)});
  controller->Open();
  AdvanceMs(100);
  ASSERT_TRUE(controller->Execute(CommandId::Pause));
  ASSERT_TRUE(controller->Execute(CommandId::FastForward));
  EXPECT_EQ(app.playState, PlayState::Playing) << "FF from pause plays the next entry";
  EXPECT_EQ(view.title, "b.mid - Velvasto for Windows Version4");
  AdvanceMs(100);
  ASSERT_TRUE(controller->Execute(CommandId::FastForward));
  EXPECT_EQ(view.title, kIdleTitle);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 62}));

  prompt.songFile = Song("single.mid", 70, 2'000'000);
  ASSERT_TRUE(controller->Execute(CommandId::SelectOneSong));
  EXPECT_TRUE(!app.listPlaying && !State(CommandId::FastForward).enabled) << "one song chosen by the user";
  EXPECT_EQ(CINIFile().ReadString("Play FIle Folder", ""), dir.Path().string()) << "the folder is remembered";
}

TEST_F(PlayerControllerTest, SingleRepeatPlaysTheSameSongAgainWithoutAdvancingTheList) {
  app.singleRepeat = 1;
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  view.calls.clear();
  FinishSong();
  FinishSong();
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  EXPECT_EQ(view.Count("meters repeat"), 2);
  EXPECT_EQ(view.Count("meters clear"), 0) << "the piano rolls are not cleared";
  ASSERT_TRUE(controller->Execute(CommandId::SingleRepeatOff));
  FinishSong();
  AdvanceMs(100);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 60, 60, 62}));
}

TEST_F(PlayerControllerTest, EntriesThatCannotStartAreReportedOnceAndPassedOver) {
  const auto broken = dir.Write("broken.mid", std::string_view("MThd\0\0\0\6\0\2\0\1\1\xE0", 14));
  const auto text = dir.Write("notes.mid", std::string_view("MThd but not really a song"));
  Request({text, Song("b.mid", 62), broken, Song("d.mid", 64)});
  controller->Open();
  EXPECT_EQ(app.playState, PlayState::Playing) << "a first entry that fails does not stop the request";
  EXPECT_EQ(app.playList.CurrentIndex(), 1);
  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{62, 64}));
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"ファイル形式が異常です。",
                                                     "標準MIDIファイルはformat0とformat1以外はサポートしていません。"}));
}

TEST_F(PlayerControllerTest, APortSetWhoseSongFailsToStartDoesNotStayChosen) {
  app.portSets.SetUse(true);
  app.portSets.Add("special", "special", 1, 1, -1);
  devices.failOpen = "Out B";
  Request({Song("special.mid", 60)});
  controller->Open();
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"MIDIOUTデバイスのオープンができません。"}));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_EQ(app.activePort.PortA(), CMIDIPort::kMapper);
}

TEST(SongStartTest, AListEntrysMapSettingsOverrideTheSettingsBlock) {
  SettingsBlock block;
  block.mapMode = 1;
  block.forceMap = 3;
  ListEntry entry;
  EXPECT_EQ(SongSettingsFor(block, 2, &entry).mapMode, 1) << "map mode 0 follows the settings";
  entry = {.path = {}, .mapMode = 2, .forceMap = 1, .adjust55 = 1};
  const SongSettings forced = SongSettingsFor(block, 1, &entry);
  EXPECT_TRUE(forced.mapMode == 2 && forced.forceMap == 1 && forced.adjust55);
  block.mapMode = 0;
  EXPECT_EQ(SongSettingsFor(block, 1, nullptr).mapMode, 0);
}

TEST_F(PlayerControllerTest, WhenTheDevicesFailNoOtherEntryIsTried) {
  devices.failOpen = "mapper";
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"MIDIOUTデバイスのオープンができません。"}));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  ASSERT_TRUE(controller->Execute(CommandId::Play));
  EXPECT_EQ(prompt.errors.size(), 2u) << "PLAY tries the same entry once more";
}

// The song slot under the controller reports each failure once and passes it on; nothing stays
// loaded after a failed start or stop.
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

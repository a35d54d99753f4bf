// The player controller's play control on virtual time: commands and their states, single songs
// and list play, song end by each play order, single repeat, close after play.

#include <gtest/gtest.h>

#include "controller_fixture.h"
#include "core/errors.h"

namespace velvasto::test {
namespace {

using Outcome = VirtualPlayback::Outcome;

TEST_F(ControllerTest, TransportCommandsFollowThePlayState) {
  controller->Open();
  // Nothing to play: only the commands that need neither a list nor a song.
  EXPECT_FALSE(State(CommandId::Play).enabled);
  for (CommandId command : {CommandId::Stop, CommandId::Rewind, CommandId::FastForward, CommandId::Pause,
                            CommandId::JumpToSong, CommandId::EditList, CommandId::SaveList, CommandId::SaveListAs,
                            CommandId::SongProperties}) {
    EXPECT_FALSE(State(command).enabled) << static_cast<int>(command);
  }
  for (CommandId command : {CommandId::NewList, CommandId::OpenList, CommandId::SelectOneSong, CommandId::Patchbay,
                            CommandId::FileAssociation, CommandId::MidiPortSettings, CommandId::TimerPeriod,
                            CommandId::ControlFilePort, CommandId::PlayBehaviour}) {
    EXPECT_TRUE(State(command).enabled) << static_cast<int>(command);
  }
  EXPECT_EQ(State(CommandId::Pause).caption, "PAUSE(&S)\tS");
  EXPECT_FALSE(controller->Execute(CommandId::Stop)) << "a disabled command does nothing";

  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->ProcessOpenRequest(false);
  ASSERT_EQ(app.playState, PlayState::Playing);
  EXPECT_FALSE(State(CommandId::Play).enabled);
  for (CommandId command : {CommandId::Stop, CommandId::Rewind, CommandId::FastForward, CommandId::Pause,
                            CommandId::JumpToSong, CommandId::SongProperties, CommandId::SaveList}) {
    EXPECT_TRUE(State(command).enabled) << static_cast<int>(command);
  }
  for (CommandId command : {CommandId::MidiPortSettings, CommandId::TimerPeriod, CommandId::ControlFilePort,
                            CommandId::PlayBehaviour}) {
    EXPECT_FALSE(State(command).enabled) << "settings dialogs wait until play stops";
  }
  EXPECT_TRUE(State(CommandId::Patchbay).enabled);

  AdvanceMs(300);
  ASSERT_TRUE(controller->Execute(CommandId::Pause));
  EXPECT_EQ(app.playState, PlayState::Paused);
  EXPECT_EQ(State(CommandId::Pause), (CommandState{.enabled = true, .checked = true, .caption = "RESTART(&S)\tS"}));
  EXPECT_FALSE(State(CommandId::Stop).enabled) << "STOP is disabled while paused";
  EXPECT_TRUE(State(CommandId::Rewind).enabled);
  EXPECT_TRUE(State(CommandId::FastForward).enabled);

  // Paused, the song does not move on.
  const std::uint64_t pausedAt = controller->Engine()->SongTimeUs();
  EXPECT_GE(pausedAt, 290'000u);
  AdvanceMs(1'000);
  EXPECT_EQ(controller->Engine()->SongTimeUs(), pausedAt);

  // REWIND while paused starts the song again, playing.
  ASSERT_TRUE(controller->Execute(CommandId::Rewind));
  EXPECT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(State(CommandId::Pause).caption, "PAUSE(&S)\tS");
  AdvanceMs(100);
  EXPECT_LT(controller->Engine()->SongTimeUs(), 200'000u);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 60}));

  ASSERT_TRUE(controller->Execute(CommandId::Stop));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_TRUE(State(CommandId::Play).enabled) << "the list is not empty";
  EXPECT_FALSE(State(CommandId::FastForward).enabled);
  EXPECT_FALSE(controller->SongInformation().has_value());
  EXPECT_EQ(view.Title(), "Velvasto for Windows Version4");
}

TEST_F(ControllerTest, ModeCommandsCheckTheirValue) {
  const std::pair<CommandId, CommandId> pairs[] = {
      {CommandId::MonitorOnePanel, CommandId::MonitorTwoPanels},
      {CommandId::MonitorPortA, CommandId::MonitorPortB},
      {CommandId::SingleRepeatOff, CommandId::SingleRepeatOn},
      {CommandId::DropMakesNewList, CommandId::DropAppends},
  };
  for (const auto& [first, second] : pairs) {
    ASSERT_TRUE(controller->Execute(second));
    EXPECT_FALSE(State(first).checked);
    EXPECT_TRUE(State(second).checked);
    ASSERT_TRUE(controller->Execute(first));
    EXPECT_TRUE(State(first).checked);
    EXPECT_FALSE(State(second).checked);
  }
  ASSERT_TRUE(controller->Execute(CommandId::ListRandom));
  EXPECT_EQ(app.settings.loopMode, 2);
  EXPECT_TRUE(State(CommandId::ListRandom).checked);
  EXPECT_FALSE(State(CommandId::ListRepeat).checked);
  EXPECT_FALSE(State(CommandId::ListNoRepeat).checked);
  EXPECT_EQ(app.singleRepeat, 0);
  EXPECT_EQ(app.settings.monitorMode, 0);
}

TEST_F(ControllerTest, OneSongAtStartUpPlaysAsASingleSongAndClosesTheProgramAtItsEnd) {
  const auto song = Song("only.mid", 64);
  Request({song});
  controller->Open();

  EXPECT_TRUE(app.closeAfterPlay);
  EXPECT_FALSE(app.listPlaying);
  EXPECT_TRUE(app.playList.Empty());
  EXPECT_EQ(view.Title(), "only.mid - Velvasto for Windows Version4");
  EXPECT_FALSE(State(CommandId::FastForward).enabled) << "a single song has no next entry";
  EXPECT_EQ(view.Count("close window"), 0);

  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(view.Count("close window"), 1);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{64}));
  EXPECT_EQ(view.Title(), "Velvasto for Windows Version4");
}

TEST_F(ControllerTest, SeveralFilesPlayAsAListInOrderAndDoNotCloseTheProgram) {
  Request({Song("a.mid", 60), Song("b.mid", 62), Song("c.mid", 64)});
  controller->Open();
  EXPECT_FALSE(app.closeAfterPlay);
  EXPECT_TRUE(app.listPlaying);
  EXPECT_EQ(app.playList.Count(), 3);
  EXPECT_TRUE(State(CommandId::FastForward).enabled);
  EXPECT_EQ(view.Title(), "a.mid - Velvasto for Windows Version4");

  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 62, 64}));
  EXPECT_EQ(view.Count("close window"), 0);
  EXPECT_EQ(view.Title(), "Velvasto for Windows Version4");
  EXPECT_EQ(app.playList.CurrentIndex(), 3) << "a non-repeating list stays at its end";

  // PLAY after the end starts from the first entry again.
  ASSERT_TRUE(controller->Execute(CommandId::Play));
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  EXPECT_EQ(view.Title(), "a.mid - Velvasto for Windows Version4");
}

TEST_F(ControllerTest, EachSongOfAListIsRecordedWithItsOwnTimesAndSilencedAtItsEnd) {
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  ASSERT_EQ(RunToEnd(), Outcome::Finished);

  std::vector<std::string> expected;
  for (const char* note : {"3C", "3E"}) {
    expected.push_back("0 A MSG B0 07 64");
    expected.push_back(std::string("0 A MSG 90 ") + note + " 64");
    expected.push_back(std::string("500000 A MSG 80 ") + note + " 40");
    for (int channel = 0; channel < 16; ++channel) {
      for (const char* controllerNumber : {"40", "42", "7B", "78"}) {
        char line[40];
        std::snprintf(line, sizeof line, "500000 A MSG B%X %s 00", channel, controllerNumber);
        expected.push_back(line);
      }
    }
  }
  EXPECT_EQ(devices.Lines("mapper"), expected);
}

TEST_F(ControllerTest, FastForwardTakesTheNextEntryAndStopsAfterTheLast) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62, 2'000'000)});
  controller->Open();
  AdvanceMs(100);
  ASSERT_TRUE(controller->Execute(CommandId::Pause));
  ASSERT_TRUE(controller->Execute(CommandId::FastForward));
  EXPECT_EQ(app.playState, PlayState::Playing) << "FF from pause plays the next entry";
  EXPECT_EQ(app.playList.CurrentIndex(), 1);
  EXPECT_EQ(view.Title(), "b.mid - Velvasto for Windows Version4");
  AdvanceMs(100);

  ASSERT_TRUE(controller->Execute(CommandId::FastForward));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_EQ(view.Title(), "Velvasto for Windows Version4");
  EXPECT_FALSE(controller->SongInformation().has_value());
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 62}));
}

TEST_F(ControllerTest, FastForwardIsNotOfferedForOneSongChosenByTheUser) {
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  AdvanceMs(100);
  prompt.songFile = Song("single.mid", 70, 2'000'000);
  ASSERT_TRUE(controller->Execute(CommandId::SelectOneSong));
  AdvanceMs(100);
  EXPECT_FALSE(app.listPlaying);
  EXPECT_FALSE(State(CommandId::FastForward).enabled);
  EXPECT_EQ(view.Title(), "single.mid - Velvasto for Windows Version4");
  EXPECT_EQ(CINIFile().ReadString("Play FIle Folder", ""), dir.Path().string()) << "the folder is remembered";
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 70}));
}

TEST_F(ControllerTest, RepeatingListStartsOverAfterItsLastEntry) {
  app.settings.loopMode = 1;
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  for (int song = 0; song < 4; ++song) FinishSong();
  AdvanceMs(100);
  EXPECT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 62, 60, 62, 60}));
}

TEST_F(ControllerTest, RandomListNeverRepeatsTheLastPicks) {
  app.settings.loopMode = 2;
  // Four songs: a pick is none of the last two picks.
  *draws = {1, 1, 0, 0, 1, 2, 2, 0, 3};
  Request({ListFile("four.mlt", {Song("a.mid", 60), Song("b.mid", 62), Song("c.mid", 64), Song("d.mid", 65)})});
  controller->Open();
  for (int song = 0; song < 3; ++song) FinishSong();
  AdvanceMs(100);
  // Picks: 1; then 1 rejected, 0; then 0 rejected, 1 rejected, 2; then 2 rejected, 0 rejected, 3.
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{62, 60, 64, 65}));
}

TEST_F(ControllerTest, SingleRepeatPlaysTheSameSongAgainWithoutAdvancingTheList) {
  app.singleRepeat = 1;
  Request({Song("a.mid", 60), Song("b.mid", 62)});
  controller->Open();
  view.Clear();
  FinishSong();
  FinishSong();
  AdvanceMs(100);
  EXPECT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 60, 60}));
  EXPECT_EQ(view.Count("meters repeat"), 2);
  EXPECT_EQ(view.Count("meters clear"), 0) << "the piano rolls are not cleared";
  EXPECT_EQ(view.Title(), "a.mid - Velvasto for Windows Version4");

  ASSERT_TRUE(controller->Execute(CommandId::SingleRepeatOff));
  FinishSong();
  AdvanceMs(100);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 60, 60, 62}));
}

TEST_F(ControllerTest, ASongThatCannotStartIsReportedOnceAndPassedOver) {
  const auto broken = dir.Write("broken.mid", std::string_view("MThd\0\0\0\6\0\2\0\1\1\xE0", 14));
  Request({Song("a.mid", 60), broken, Song("c.mid", 64)});
  controller->Open();
  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 64}));
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{"標準MIDIファイルはformat0とformat1以外はサポートしていません。"}));
}

TEST_F(ControllerTest, AFirstSongThatCannotStartDoesNotKeepTheRestOfTheRequestFromPlaying) {
  const auto text = dir.Write("notes.mid", std::string_view("MThd but not really a song"));
  Request({text, Song("b.mid", 62)});
  controller->Open();
  EXPECT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(app.playList.CurrentIndex(), 1);
  EXPECT_EQ(prompt.errors.size(), 1u);
  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{62}));
}

TEST_F(ControllerTest, JumpPlaysTheChosenEntryWithoutResettingTheOrder) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62), Song("c.mid", 64)});
  controller->Open();
  AdvanceMs(100);
  prompt.listEntry = -1;
  ASSERT_TRUE(controller->Execute(CommandId::JumpToSong));
  EXPECT_EQ(app.playList.CurrentIndex(), 0) << "nothing selected: nothing happens";
  prompt.listEntry = 1;
  ASSERT_TRUE(controller->Execute(CommandId::JumpToSong));
  EXPECT_EQ(app.playList.CurrentIndex(), 1);
  EXPECT_EQ(RunToEnd(), Outcome::Finished);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 62, 64}));
}

}  // namespace
}  // namespace velvasto::test

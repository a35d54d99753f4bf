// Open requests, dropped files and closing with a play list that has unsaved changes.

#include <gtest/gtest.h>

#include "controller_fixture.h"
#include "support/read_file.h"

namespace velvasto::test {
namespace {

using Answer = UserPrompt::Answer;

class OpenRequestTest : public ControllerTest {
 protected:
  // A list of two songs, modified, the first playing; then a request of two other songs, with
  // `answer` to the question whether to save the list.
  void PlayModifiedListThenRequestOthers(Answer answer) {
    prompt.answers = {answer};
    Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
    controller->Open();
    AdvanceMs(100);
    ASSERT_TRUE(app.playList.Modified()) << "songs added to the list make it differ from any file";
    Request({Song("c.mid", 64), Song("d.mid", 65)});
    controller->ProcessOpenRequest(false);
    AdvanceMs(100);
    EXPECT_EQ(prompt.questions, std::vector<std::string>{"リストファイルは変更されています。保存しますか？"});
  }
  std::string FirstEntry() const { return app.playList.Entry(0).path.filename().string(); }
};

TEST_F(OpenRequestTest, CancelOrACancelledSaveDialogKeepsListAndSong) {
  PlayModifiedListThenRequestOthers(Answer::Cancel);
  EXPECT_EQ(view.title, "a.mid - Velvasto for Windows Version4");
  prompt.answers = {Answer::Yes};
  Request({dir.Path() / "c.mid", dir.Path() / "d.mid"});
  controller->ProcessOpenRequest(false);
  EXPECT_EQ(prompt.proposedSaveNames.size(), 1u);
  EXPECT_EQ(FirstEntry(), "a.mid");
  EXPECT_TRUE(app.playList.Modified() && app.playState == PlayState::Playing);
}

TEST_F(OpenRequestTest, NoDropsTheListAndPlaysTheNewOne) {
  PlayModifiedListThenRequestOthers(Answer::No);
  EXPECT_EQ(FirstEntry(), "c.mid");
  EXPECT_TRUE(prompt.proposedSaveNames.empty());
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 64}));
}

TEST_F(OpenRequestTest, YesSavesTheListUnderTheChosenNameFirst) {
  prompt.saveAs = dir.Path() / "lists" / "kept.mlt";
  std::filesystem::create_directories(dir.Path() / "lists");
  PlayModifiedListThenRequestOthers(Answer::Yes);
  EXPECT_EQ(prompt.proposedSaveNames, (std::vector<std::filesystem::path>{"Velvasto00.mlt"}));
  EXPECT_NE(ReadWholeFile(*prompt.saveAs).find((dir.Path() / "a.mid").string() + "\r\n" +
                                               (dir.Path() / "b.mid").string() + "\r\n"),
            std::string::npos);
  EXPECT_EQ(CINIFile().ReadString("List File Folder", ""), (dir.Path() / "lists").string());
  EXPECT_EQ(FirstEntry(), "c.mid");
}

TEST_F(OpenRequestTest, ASingleSongRequestPlaysBesideTheListWithoutAQuestion) {
  app.openRequest = OpenRequest{.playMode = 1, .singleRepeat = 1, .dropMode = 0,
                                .paths = {ListFile("saved.mlt", {Song("a.mid", 60), Song("b.mid", 62)}, 90)}};
  controller->Open();
  EXPECT_TRUE(app.settings.loopMode == 1 && State(CommandId::SingleRepeatOn).checked)
      << "the modes of a request become the settings";
  EXPECT_FALSE(app.playList.Modified()) << "a list file loaded into an empty list is as saved";
  Request({Song("c.mid", 64)});
  controller->ProcessOpenRequest(false);
  EXPECT_TRUE(prompt.questions.empty());
  EXPECT_EQ(app.playList.Count(), 2) << "one song is played as a single song; the list stays";
  EXPECT_TRUE(!app.listPlaying && !app.closeAfterPlay) << "only a start of the program closes after its one song";
}

TEST_F(OpenRequestTest, AppendModeAddsToTheListWhilePlayGoesOn) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->Open();
  app.playList.SetModified(false);
  app.openRequest = OpenRequest{.dropMode = 1, .paths = {ListFile("more.mlt", {Song("c.mid", 64)})}};
  controller->ProcessOpenRequest(false);
  EXPECT_TRUE(prompt.questions.empty() && app.playList.Modified()) << "a list file appended to a list";
  EXPECT_EQ(app.playList.CurrentIndex(), 0) << "the song that plays is not interrupted";
  EXPECT_EQ(RunToEnd(), VirtualPlayback::Outcome::Finished);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 62, 64}));
}

TEST_F(OpenRequestTest, AFullListIsReportedAndKeepsWhatWasAdded) {
  Request(std::vector(CPlayList::kMaxEntries + 2, Song("a.mid", 60)));
  controller->Open();
  EXPECT_EQ(app.playList.Count(), CPlayList::kMaxEntries);
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{
                               "リストファイル許容ファイル数の上限に達したので、全てのファイルを追加できませんでした。"}));
}

TEST_F(OpenRequestTest, ClosingAsksOnlyForAModifiedListAndStopsThePlayingSong) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->Open();
  prompt.answers = {Answer::Cancel};
  EXPECT_FALSE(controller->PrepareToClose());
  EXPECT_EQ(app.playState, PlayState::Playing);
  ASSERT_TRUE(controller->Execute(CommandId::Pause));
  prompt.answers = {Answer::No};
  EXPECT_TRUE(controller->PrepareToClose());
  EXPECT_EQ(app.playState, PlayState::Stopped) << "closing while paused stops the song first";
  app.playList.SetModified(false);
  EXPECT_TRUE(controller->PrepareToClose());
  EXPECT_EQ(prompt.questions.size(), 2u);
}

}  // namespace
}  // namespace velvasto::test

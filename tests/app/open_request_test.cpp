// Open requests, dropped files and closing with a play list that has unsaved changes.

#include <gtest/gtest.h>

#include "controller_fixture.h"
#include "core/cini_file.h"
#include "support/read_file.h"

namespace velvasto::test {
namespace {

constexpr const char* kSaveQuestion = "リストファイルは変更されています。保存しますか？";

class OpenRequestTest : public ControllerTest {
 protected:
  // A list of two songs, modified, the first playing; then a request of two other songs.
  void PlayModifiedListThenRequestOthers() {
    Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
    controller->Open();
    AdvanceMs(100);
    ASSERT_TRUE(app.playList.Modified()) << "songs added to the list make it differ from any file";
    Request({Song("c.mid", 64), Song("d.mid", 65)});
    controller->ProcessOpenRequest(false);
    AdvanceMs(100);
  }
};

TEST_F(OpenRequestTest, CancelLeavesListAndSongUntouched) {
  prompt.answers = {UserPrompt::Answer::Cancel};
  PlayModifiedListThenRequestOthers();
  EXPECT_EQ(prompt.questions, (std::vector<std::string>{kSaveQuestion}));
  EXPECT_EQ(app.playList.Count(), 2);
  EXPECT_EQ(app.playList.Entry(0).path.filename(), "a.mid");
  EXPECT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(view.Title(), "a.mid - Velvasto for Windows Version4");
}

TEST_F(OpenRequestTest, NoDropsTheListAndPlaysTheNewOne) {
  prompt.answers = {UserPrompt::Answer::No};
  PlayModifiedListThenRequestOthers();
  ASSERT_EQ(app.playList.Count(), 2);
  EXPECT_EQ(app.playList.Entry(0).path.filename(), "c.mid");
  EXPECT_EQ(view.Title(), "c.mid - Velvasto for Windows Version4");
  EXPECT_TRUE(prompt.proposedSaveNames.empty());
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 64}));
}

TEST_F(OpenRequestTest, YesSavesTheListUnderTheChosenNameFirst) {
  prompt.answers = {UserPrompt::Answer::Yes};
  prompt.saveAs = dir.Path() / "lists" / "kept.mlt";
  std::filesystem::create_directories(dir.Path() / "lists");
  PlayModifiedListThenRequestOthers();
  EXPECT_EQ(prompt.proposedSaveNames, (std::vector<std::filesystem::path>{"Velvasto00.mlt"}));
  const std::string saved = ReadWholeFile(*prompt.saveAs);
  EXPECT_EQ(saved.substr(0, 34), "[Velvasto List File Version 3.0]\r\n");
  EXPECT_NE(saved.find((dir.Path() / "a.mid").string() + "\r\n" + (dir.Path() / "b.mid").string() + "\r\n"),
            std::string::npos);
  EXPECT_EQ(CINIFile().ReadString("List File Folder", ""), (dir.Path() / "lists").string());
  EXPECT_EQ(app.playList.Entry(0).path.filename(), "c.mid");
  EXPECT_EQ(app.playState, PlayState::Playing);
}

TEST_F(OpenRequestTest, YesWithTheSaveDialogCancelledKeepsTheList) {
  prompt.answers = {UserPrompt::Answer::Yes};
  PlayModifiedListThenRequestOthers();
  EXPECT_EQ(prompt.proposedSaveNames.size(), 1u);
  EXPECT_EQ(app.playList.Entry(0).path.filename(), "a.mid");
  EXPECT_TRUE(app.playList.Modified());
  EXPECT_EQ(app.playState, PlayState::Playing);
}

TEST_F(OpenRequestTest, ASingleSongRequestPlaysBesideTheListWithoutAQuestion) {
  const auto list = ListFile("saved.mlt", {Song("a.mid", 60), Song("b.mid", 62)}, 90);
  Request({list});
  controller->Open();
  EXPECT_FALSE(app.playList.Modified()) << "a list file loaded into an empty list is as saved";
  EXPECT_EQ(app.playList.FileName(), list);
  EXPECT_EQ(app.playList.Entry(1).volume, 90);
  Request({Song("c.mid", 64)});
  controller->ProcessOpenRequest(false);
  EXPECT_TRUE(prompt.questions.empty());
  EXPECT_EQ(app.playList.Count(), 2) << "one song is played as a single song; the list stays";
  EXPECT_FALSE(app.listPlaying);
  EXPECT_FALSE(app.closeAfterPlay) << "only a start of the program closes after its one song";
  EXPECT_EQ(view.Title(), "c.mid - Velvasto for Windows Version4");
}

TEST_F(OpenRequestTest, ModesOfTheRequestBecomeTheSettings) {
  app.openRequest.playMode = 1;
  app.openRequest.singleRepeat = 1;
  app.openRequest.dropMode = 1;
  controller->Open();
  EXPECT_EQ(app.settings.loopMode, 1);
  EXPECT_EQ(app.singleRepeat, 1);
  EXPECT_EQ(app.settings.ddMode, 1);
  EXPECT_TRUE(State(CommandId::SingleRepeatOn).checked);
}

TEST_F(OpenRequestTest, AppendModeAddsToTheListWhilePlayGoesOn) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->Open();
  app.playList.SetModified(false);
  app.openRequest = OpenRequest{.dropMode = 1, .paths = {Song("c.mid", 64)}};
  controller->ProcessOpenRequest(false);
  EXPECT_TRUE(prompt.questions.empty());
  EXPECT_EQ(app.playList.Count(), 3);
  EXPECT_EQ(app.playList.CurrentIndex(), 0) << "the song that plays is not interrupted";
  EXPECT_EQ(RunToEnd(), VirtualPlayback::Outcome::Finished);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 62, 64}));
}

TEST_F(OpenRequestTest, AListFileAppendedToAListMarksItModified) {
  app.settings.ddMode = 1;
  Request({Song("a.mid", 60)});
  controller->Open();
  app.playList.SetModified(false);
  Request({ListFile("more.mlt", {Song("b.mid", 62)})});
  controller->ProcessOpenRequest(false);
  EXPECT_EQ(app.playList.Count(), 2);
  EXPECT_TRUE(app.playList.Modified());
}

TEST_F(OpenRequestTest, AFullListIsReportedAndKeepsWhatWasAdded) {
  const auto song = Song("a.mid", 60);
  std::vector<std::filesystem::path> paths(CPlayList::kMaxEntries - 1, song);
  for (int i = 0; i < 3; ++i) paths.push_back(Song("extra" + std::to_string(i) + ".mid", 62));
  Request(paths);
  controller->Open();
  EXPECT_EQ(app.playList.Count(), CPlayList::kMaxEntries);
  EXPECT_EQ(prompt.errors, (std::vector<std::string>{
                               "リストファイル許容ファイル数の上限に達したので、全てのファイルを追加できませんでした。"}));
  EXPECT_EQ(app.playState, PlayState::Playing);
}

TEST_F(OpenRequestTest, DroppingOnlyUnknownFilesChangesNothing) {
  app.closeAfterPlay = true;
  const std::vector<std::filesystem::path> dropped = {dir.Write("readme.txt", std::string_view("hello"))};
  controller->DropFiles(dropped);
  EXPECT_TRUE(app.closeAfterPlay);
  EXPECT_TRUE(app.playList.Empty());
}

TEST_F(OpenRequestTest, ASingleDroppedSongInNewListModePlaysAsAList) {
  const std::vector<std::filesystem::path> dropped = {Song("a.mid", 60)};
  controller->DropFiles(dropped);
  EXPECT_EQ(app.playList.Count(), 1);
  EXPECT_TRUE(app.listPlaying);
  EXPECT_TRUE(State(CommandId::FastForward).enabled);
}

TEST_F(OpenRequestTest, ClosingAsksOnlyForAModifiedListAndStopsThePlayingSong) {
  Request({Song("a.mid", 60, 2'000'000), Song("b.mid", 62)});
  controller->Open();
  prompt.answers = {UserPrompt::Answer::Cancel};
  EXPECT_FALSE(controller->PrepareToClose());
  EXPECT_EQ(app.playState, PlayState::Playing);
  ASSERT_TRUE(controller->Execute(CommandId::Pause));
  prompt.answers = {UserPrompt::Answer::No};
  EXPECT_TRUE(controller->PrepareToClose());
  EXPECT_EQ(app.playState, PlayState::Stopped) << "closing while paused stops the song first";
  EXPECT_EQ(prompt.questions.size(), 2u);
  app.playList.SetModified(false);
  EXPECT_TRUE(controller->PrepareToClose());
  EXPECT_EQ(prompt.questions.size(), 2u);
}

TEST_F(OpenRequestTest, SaveListWritesToTheListsOwnFile) {
  const auto list = ListFile("mine.mlt", {Song("a.mid", 60)});
  prompt.listToOpen = list;
  ASSERT_TRUE(controller->Execute(CommandId::OpenList));
  EXPECT_EQ(app.playList.Count(), 1);
  EXPECT_EQ(app.playList.CurrentIndex(), 0);
  EXPECT_FALSE(State(CommandId::SaveList).enabled);
  app.playList.Entry(0).volume = 33;
  app.playList.SetModified(true);
  ASSERT_TRUE(controller->Execute(CommandId::SaveList));
  EXPECT_TRUE(prompt.proposedSaveNames.empty());
  EXPECT_FALSE(app.playList.Modified());
  EXPECT_NE(ReadWholeFile(list).find("[Volume]\r\n\r\n33\r\n"), std::string::npos);
}

}  // namespace
}  // namespace velvasto::test

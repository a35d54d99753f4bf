// The main window driving the player: command states, dropped files, closing, the end of the
// desktop session, and how the engine's notifications reach the window.

#include <gtest/gtest.h>

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QSlider>
#include <QUrl>

#include "frame_fixture.h"
#include "playlist/list_file.h"

namespace velvasto::test {
namespace {

using gui::TransportButton;

const char kListQuestion[] = "リストファイルは変更されています。保存しますか？";

class FrameBehaviourTest : public FrameTest {
 protected:
  void Drop(const std::vector<std::filesystem::path>& paths) {
    QMimeData mime;
    QList<QUrl> urls;
    for (const auto& path : paths) urls.append(QUrl::fromLocalFile(gui::PathToQString(path)));
    mime.setUrls(urls);
    QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &drop);
    Settle();
  }
  QAction& Action(CommandId command) { return *frame->Actions().Action(static_cast<int>(command)); }
  // Which transport buttons and their menu items are enabled, STOP PLAY REWIND FF PAUSE.
  std::string Transport() {
    std::string states;
    for (const TransportButton button : {TransportButton::Stop, TransportButton::Play, TransportButton::Rewind,
                                         TransportButton::FastForward, TransportButton::Pause}) {
      const bool enabled = Button(button).isEnabled();
      EXPECT_EQ(Action(Button(button).Command()).isEnabled(), enabled) << static_cast<int>(button);
      states += enabled ? '1' : '0';
    }
    return states;
  }
  // A list of `songs` songs, playing its first entry, with unsaved changes.
  void PlayModifiedList(int songs) {
    for (int i = 0; i < songs; ++i) {
      app.playList.Append(
          {.path = Song("list" + std::to_string(i) + ".mid", static_cast<std::uint8_t>(60 + i)), .volume = 100});
    }
    app.playList.SetModified(true);
    MakeFrame();
    Run(CommandId::Play);
    AdvanceMs(20);
    ASSERT_EQ(app.playState, PlayState::Playing);
  }
};

TEST_F(FrameBehaviourTest, CommandStatesFollowPlayPauseStopAndListPlay) {
  MakeFrame();
  EXPECT_EQ(Transport(), "00000");
  EXPECT_EQ(Action(CommandId::Pause).text(), "PAUSE(&S)");

  // Two songs dropped make a list that plays: FF is enabled for list play.
  Drop({Song("a.mid", 60, 8), Song("b.mid", 62, 8)});
  AdvanceMs(20);
  ASSERT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(Transport(), "10111");
  EXPECT_FALSE(View().Transport().pause->Paused());

  Run(CommandId::Pause);
  EXPECT_EQ(Transport(), "00111");  // STOP is disabled while paused
  EXPECT_EQ(Action(CommandId::Pause).text(), "RESTART(&S)");
  EXPECT_TRUE(View().Transport().pause->Paused());

  Run(CommandId::Pause);
  EXPECT_EQ(Action(CommandId::Pause).text(), "PAUSE(&S)");
  EXPECT_FALSE(View().Transport().pause->Paused());

  Run(CommandId::Stop);
  EXPECT_EQ(Transport(), "01000");
  EXPECT_EQ(frame->windowTitle(), "Velvasto for Windows Version4");

  // One song chosen on its own is not list play: no FF.
  ModalAnswers answers;
  answers.Push(ModalAnswers::ChooseFile(Song("single.mid", 64, 8)));
  Run(CommandId::SelectOneSong);
  AdvanceMs(20);
  ASSERT_EQ(answers.seen.size(), 1u);
  EXPECT_EQ(answers.seen[0].kind, "file");
  EXPECT_EQ(Transport(), "10101");
  EXPECT_EQ(frame->windowTitle(), "single.mid - Velvasto for Windows Version4");
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 64}));

  // Mode commands move their check marks, and the layout with them.
  Run(CommandId::MonitorTwoPanels);
  EXPECT_TRUE(Action(CommandId::MonitorTwoPanels).isChecked());
  EXPECT_FALSE(Action(CommandId::MonitorOnePanel).isChecked());
  EXPECT_TRUE(View().Layout().rollB.visible);

  // A menu takes the states when it opens, also those changed where no one told the window.
  app.settings.ddMode = 1;
  QMenu* operations = frame->menuBar()->actions().at(1)->menu();
  emit operations->aboutToShow();
  EXPECT_TRUE(Action(CommandId::DropAppends).isChecked());
  EXPECT_FALSE(Action(CommandId::DropMakesNewList).isChecked());
}

TEST_F(FrameBehaviourTest, TheSliderShowsTheEntrysVolumeAndMovingItChangesTheEntry) {
  app.playList.Append({.path = Song("quiet.mid", 60, 8), .volume = 100});
  app.playList.SetModified(false);
  MakeFrame();
  QSlider& slider = *View().Transport().slider;
  Run(CommandId::Play);
  AdvanceMs(20);
  // Set by the player: position 127 − volume, and the list is not changed by it.
  EXPECT_EQ(slider.value(), 27);
  EXPECT_FALSE(app.playList.Modified());
  // Moved by the user, one step down: the volume falls by one.
  QTest::keyClick(&slider, Qt::Key_Down);
  EXPECT_EQ(slider.value(), 28);
  EXPECT_EQ(app.playList.Entry(0).volume, 99);
  EXPECT_TRUE(app.playList.Modified());
}

TEST_F(FrameBehaviourTest, TheWindowCannotGrowBeyondItsDesignedSizeNorBeMaximised) {
  MakeFrame();
  const QSize designed = frame->size();
  EXPECT_EQ(View().size(), View().sizeHint());
  frame->resize(designed + QSize(300, 200));
  EXPECT_EQ(frame->size(), designed);
  frame->resize(designed - QSize(100, 50));
  EXPECT_EQ(frame->size(), designed - QSize(100, 50));
  EXPECT_FALSE(frame->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(FrameBehaviourTest, ADropInNewListModeAsksForTheModifiedListThenPlaysTheNewList) {
  PlayModifiedList(2);
  app.settings.ddMode = 0;
  ModalAnswers answers;
  answers.Push(ModalAnswers::Click(QMessageBox::No));
  const std::filesystem::path dropped = Song("dropped.mid", 70);
  Drop({dir.Write("notes.txt", "not a song"), dropped});
  AdvanceMs(20);

  ASSERT_EQ(answers.seen.size(), 1u);
  EXPECT_EQ(answers.seen[0].text, kListQuestion);
  ASSERT_EQ(app.playList.Count(), 1);
  EXPECT_EQ(app.playList.Entry(0).path, dropped);
  EXPECT_TRUE(app.listPlaying);
  EXPECT_EQ(Transport(), "10111");
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 70}));
}

TEST_F(FrameBehaviourTest, ADropInAppendModeAddsWithoutInterruptingTheSong) {
  PlayModifiedList(1);
  app.settings.ddMode = 1;
  const std::uint64_t playing = View().Controller().StartNumber();
  ModalAnswers answers;
  Drop({Song("more1.mid", 71), Song("more2.mid", 72)});
  EXPECT_TRUE(answers.seen.empty());
  EXPECT_EQ(app.playList.Count(), 3);
  EXPECT_EQ(View().Controller().StartNumber(), playing);
  EXPECT_EQ(app.playState, PlayState::Playing);
}

TEST_F(FrameBehaviourTest, DroppingOnlyUnknownFilesChangesNothing) {
  app.openRequest.paths = {Song("start.mid", 60, 8)};
  MakeFrame();
  ASSERT_TRUE(app.closeAfterPlay);
  Drop({dir.Write("a.txt", "text"), dir.Write("b.bin", "\x01\x02")});
  EXPECT_TRUE(app.closeAfterPlay);
  EXPECT_TRUE(app.playList.Empty());
}

TEST_F(FrameBehaviourTest, ClosingWithAModifiedListAsksAndCancelKeepsTheProgramRunning) {
  PlayModifiedList(1);
  ModalAnswers answers;
  answers.Push(ModalAnswers::Click(QMessageBox::Cancel));
  frame->close();
  Settle();
  ASSERT_EQ(answers.seen.size(), 1u);
  EXPECT_EQ(answers.seen[0].text, kListQuestion);
  EXPECT_EQ(answers.seen[0].icon, QMessageBox::Question);
  EXPECT_EQ(answers.seen[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_TRUE(frame->isVisible());
  EXPECT_EQ(app.playState, PlayState::Playing);
}

TEST_F(FrameBehaviourTest, ClosingAndAnsweringNoStopsTheSongAndStoresThePositionButNotTheList) {
  PlayModifiedList(1);
  frame->move(37, 53);
  Settle();
  ModalAnswers answers;
  answers.Push(ModalAnswers::Click(QMessageBox::No));
  frame->close();
  Settle();
  EXPECT_FALSE(frame->isVisible());
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_TRUE(app.playList.FileName().empty());
  const CINIFile settings;
  EXPECT_EQ(settings.ReadInt("POS-X", -1), frame->pos().x());
  EXPECT_EQ(settings.ReadInt("POS-Y", -1), frame->pos().y());
}

TEST_F(FrameBehaviourTest, ClosingAndAnsweringYesSavesTheListUnderTheChosenName) {
  PlayModifiedList(2);
  ModalAnswers answers;
  answers.Push(ModalAnswers::Click(QMessageBox::Yes));
  const std::filesystem::path saved = dir.Path() / "kept.mlt";
  answers.Push(ModalAnswers::ChooseFile(saved));
  frame->close();
  Settle();
  ASSERT_EQ(answers.seen.size(), 2u);
  EXPECT_EQ(answers.seen[1].kind, "file");
  EXPECT_FALSE(frame->isVisible());
  CPlayList reread;
  LoadListFile(reread, saved, ListLoadMode::Replace, 127);
  EXPECT_EQ(reread.Count(), 2);
}

TEST_F(FrameBehaviourTest, TheSessionEndAsksLikeCloseAndCancelKeepsItFromEnding) {
  PlayModifiedList(1);
  ModalAnswers answers;
  // Without leave to ask, nothing is asked and the session may end.
  EXPECT_TRUE(frame->QueryEndSession(false));
  EXPECT_TRUE(answers.seen.empty());
  answers.Push(ModalAnswers::Click(QMessageBox::Cancel));
  EXPECT_FALSE(frame->QueryEndSession(true));
  EXPECT_EQ(app.playState, PlayState::Playing);
  answers.Push(ModalAnswers::Click(QMessageBox::No));
  EXPECT_TRUE(frame->QueryEndSession(true));
  EXPECT_EQ(app.playState, PlayState::Stopped);
  EXPECT_EQ(answers.seen.size(), 2u);
}

// A message box that an operation of the player opens runs an event loop of its own. The song
// that ends meanwhile must not be handled in the middle of the operation, and must not be
// forgotten either.
TEST_F(FrameBehaviourTest, ANotificationWaitsForTheOperationsDialogAndIsNotLost) {
  PlayModifiedList(2);
  app.settings.ddMode = 0;
  const std::uint64_t first = View().Controller().StartNumber();
  bool stillFirstDuringTheQuestion = false;
  ModalAnswers answers;
  answers.Push([&](QDialog& question) {
    AdvanceMs(2000);  // past the end of the first song, whose end is posted
    stillFirstDuringTheQuestion = View().Controller().StartNumber() == first && app.playState == PlayState::Playing;
    ModalAnswers::Click(QMessageBox::Cancel)(question);
  });
  Drop({Song("dropped.mid", 70)});
  ASSERT_EQ(answers.seen.size(), 1u);
  EXPECT_TRUE(stillFirstDuringTheQuestion);
  // Cancel kept the list; once the drop has returned, the song's end is handled: the next entry.
  ASSERT_TRUE(QTest::qWaitFor([&] { return View().Controller().StartNumber() != first; }, 10000));
  AdvanceMs(20);
  EXPECT_EQ(app.playList.CurrentIndex(), 1);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{60, 61}));
}

// Records the window's title when the window gets its close: the player's song-end handling
// clears the title after it has stopped the song, so a close that came in the middle of it
// would still see the song's title.
class CloseWatcher final : public QObject {
 public:
  std::vector<std::string> titlesAtClose;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Close)
      titlesAtClose.push_back(gui::ToUtf8(static_cast<QWidget*>(watched)->windowTitle()));
    return false;
  }
};

TEST_F(FrameBehaviourTest, TheSingleSongOfTheStartUpClosesTheWindowByAPostedCloseWhenItEnds) {
  app.openRequest.paths = {Song("only.mid", 65)};
  MakeFrame();
  ASSERT_EQ(app.playState, PlayState::Playing);
  EXPECT_EQ(frame->windowTitle(), "only.mid - Velvasto for Windows Version4");
  CloseWatcher watcher;
  frame->installEventFilter(&watcher);
  AdvanceMs(1500);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !frame->isVisible(); }, 10000));
  EXPECT_EQ(watcher.titlesAtClose, std::vector<std::string>{"Velvasto for Windows Version4"});
  EXPECT_EQ(PlayedNotes(), std::vector<int>{65});
}

}  // namespace
}  // namespace velvasto::test

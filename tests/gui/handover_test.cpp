// A second start of the program itself hands its files to the running window.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "frame_fixture.h"
#include "gui/desktop_program.h"

namespace velvasto::test {
namespace {

class HandOverTest : public FrameTest {
 protected:
  HandOverTest() {
    EXPECT_EQ(app.Start({}, devices, {.runtimeFolder = runtime.Path(), .settingsFile = settingsFile}),
              CVelvastoApp::StartResult::Primary);
    MakeFrame();
    gui::ListenForHandOvers(app, *frame);
  }

  // Runs `velvasto` with `arguments` as a later start in the same runtime folder; its exit code.
  int SecondStart(const QStringList& arguments) {
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", gui::PathToQString(runtime.Path()));
    environment.insert("VELVASTO_INI", gui::PathToQString(dir.Path() / "second.ini"));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    second.setProcessEnvironment(environment);
    second.start(QStringLiteral(VELVASTO_PROGRAM), arguments);
    // The running window need not turn its event loop for the second start to end.
    EXPECT_TRUE(second.waitForFinished(60000)) << second.errorString().toStdString();
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    return second.exitCode();
  }

  TempDir runtime;
};

TEST_F(HandOverTest, TheRunningWindowPlaysWhatASecondStartHandsOver) {
  const std::filesystem::path song = Song("handed.mid", 67, 8);
  EXPECT_EQ(SecondStart({gui::PathToQString(song)}), 0);
  const QString title = QStringLiteral("handed.mid - Velvasto for Windows Version4");
  EXPECT_TRUE(QTest::qWaitFor([&] { return frame->windowTitle() == title; }, 10000))
      << gui::ToUtf8(frame->windowTitle());
  AdvanceMs(20);
  EXPECT_EQ(PlayedNotes(), std::vector<int>{67});
  // A start from the command line would close after its single song; a handed-over one does not.
  EXPECT_FALSE(app.closeAfterPlay);

  // Modes and several files: a new list, played in the handed-over order mode.
  const QStringList list = {"/P2", gui::PathToQString(Song("one.mid", 60)), gui::PathToQString(Song("two.mid", 62))};
  EXPECT_EQ(SecondStart(list), 0);
  EXPECT_TRUE(QTest::qWaitFor([&] { return app.playList.Count() == 2; }, 10000)) << app.playList.Count();
  EXPECT_EQ(app.settings.loopMode, 1);
  AdvanceMs(20);
  EXPECT_EQ(PlayedNotes(), (std::vector<int>{67, 60}));
}

}  // namespace
}  // namespace velvasto::test

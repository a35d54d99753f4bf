// The desktop program's own start as the desktop sees it: /Uninstall gives the user's file types
// back without a window, and the windows carry the program's icon.

#include <gtest/gtest.h>

#include <QIcon>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>

#include "app/association/child_process.h"
#include "app/association/file_association.h"
#include "app/controller_fixture.h"
#include "gui/desktop/program_icon.h"
#include "gui/qt_text.h"
#include "gui/recording_reporter.h"
#include "support/settings_file_scope.h"
#include "support/test_desktop.h"

namespace velvasto::test {
namespace {

std::string DefaultOf(const std::string& type) {
  const std::string output = RunProgram("xdg-mime", {"query", "default", type}).output;
  return output.substr(0, output.find('\n'));
}

// Runs `velvasto` with `arguments` on the test's desktop, with `runtime` for its single instance;
// its exit code, or -1 when it has not ended by itself within a minute (a window stays open).
int RunVelvasto(const QStringList& arguments, const std::filesystem::path& runtime,
                const std::filesystem::path& settings) {
  QProcess program;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("XDG_RUNTIME_DIR", gui::PathToQString(runtime));
  environment.insert("VELVASTO_INI", gui::PathToQString(settings));
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  program.setProcessEnvironment(environment);
  program.start(QStringLiteral(VELVASTO_PROGRAM), arguments);
  if (!program.waitForFinished(60'000)) {
    program.kill();
    program.waitForFinished();
    return -1;
  }
  return program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -1;
}

// Also while another instance runs: the uninstall is no request for the running window.
TEST(UninstallStartTest, GivesEveryTypeBackAndEndsWithoutAWindowWhetherOrNotAnotherInstanceRuns) {
  for (const bool anotherRuns : {false, true}) {
    SCOPED_TRACE(anotherRuns ? "another instance runs" : "alone");
    TestDesktop desktop;
    gui::test::RecordingReporter reporter;
    CFileAssociation association({desktop.ConfigFolder(), desktop.DataFolder(), VELVASTO_PROGRAM}, reporter);
    ExtensionTicks ticks{};
    ticks[0] = ticks[3] = ticks[7] = true;  // .mid, .rcp, .mlt
    association.Apply(ticks);
    ASSERT_EQ(DefaultOf("audio/x-rcp"), kDesktopFileName);
    ASSERT_EQ(DefaultOf("audio/midi"), kDesktopFileName);
    const std::filesystem::path entry = desktop.DataFolder() / "applications" / kDesktopFileName;
    ASSERT_TRUE(std::filesystem::exists(entry));

    TempDir runtime;
    SettingsFileScope settings;
    RecordingCatalogue devices{{"Out A"}};
    CVelvastoApp running;
    if (anotherRuns) {
      ASSERT_EQ(running.Start({}, devices, {.runtimeFolder = runtime.Path(), .settingsFile = settings.Path()}),
                CVelvastoApp::StartResult::Primary);
      running.ListenForRequests([](OpenRequest) {});
    }

    EXPECT_EQ(RunVelvasto({"/Uninstall"}, runtime.Path(), settings.Dir().Path() / "second.ini"), 0);
    EXPECT_EQ(DefaultOf("audio/x-rcp"), "other-player.desktop");
    EXPECT_EQ(DefaultOf("audio/midi"), "other-player.desktop");
    EXPECT_EQ(DefaultOf("audio/x-velvasto-list"), "") << "no application had it before";
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_TRUE(reporter.shown.empty());
  }
}

// The window manager and the task bar draw the window's icon at these sizes; each is a drawing
// of the program's icon, not an empty square.
TEST(ProgramIconTest, IsThereAtEachSizeTheDesktopDrawsItAt) {
  const QIcon icon = gui::ProgramIcon();
  const QList<QSize> sizes = icon.availableSizes();
  for (const int size : {16, 32, 48, 64, 128, 256}) {
    ASSERT_TRUE(sizes.contains(QSize(size, size))) << size;
    const QImage image = icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(size, size));
    int opaque = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) opaque += qAlpha(image.pixel(x, y)) == 255 ? 1 : 0;
    }
    EXPECT_GT(opaque, size * size / 4) << size;
  }
}

}  // namespace
}  // namespace velvasto::test

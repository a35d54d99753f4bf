// The association on the desktop's own tools, on a desktop of the test's own (TestDesktop).

#include "app/association/file_association.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/association/child_process.h"
#include "core/errors.h"
#include "core/paths.h"
#include "support/environment_scope.h"
#include "support/file_size_limit.h"
#include "support/list_builder.h"
#include "support/read_file.h"
#include "support/recomposer_builder.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"
#include "support/test_desktop.h"

namespace velvasto::test {
namespace {

namespace fs = std::filesystem;

class RecordingReporter final : public ErrorReporter {
 public:
  void ShowError(const std::string& text) override { shown.push_back(text); }
  std::vector<std::string> shown;
};

std::size_t IndexOf(std::string_view extension) {
  for (std::size_t i = 0; i < kAssociatedExtensions.size(); ++i) {
    if (kAssociatedExtensions[i].extension == extension) return i;
  }
  throw std::invalid_argument("no such extension");
}

ExtensionTicks Ticked(std::initializer_list<std::string_view> extensions) {
  ExtensionTicks ticks{};
  for (const std::string_view extension : extensions) ticks[IndexOf(extension)] = true;
  return ticks;
}

class FileAssociationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Never the real home of whoever runs the tests.
    ASSERT_EQ(AssociationPlaces::ForThisUser().configFolder, dir.Path() / "config");
  }

  // The desktop's default application of `type` ("" for none).
  static std::string DefaultOf(const std::string& type) {
    const ProgramOutcome outcome = RunProgram("xdg-mime", {"query", "default", type});
    EXPECT_TRUE(outcome.Succeeded()) << type;
    return outcome.output.substr(0, outcome.output.find('\n'));
  }
  static void MakeDefault(const std::string& application, const std::string& type) {
    ASSERT_TRUE(RunProgram("xdg-mime", {"default", application, type}).Succeeded());
  }
  static std::string FileTypeOf(const fs::path& file) {
    const ProgramOutcome outcome = RunProgram("xdg-mime", {"query", "filetype", file.string()});
    EXPECT_TRUE(outcome.Succeeded()) << file;
    return outcome.output.substr(0, outcome.output.find('\n'));
  }
  fs::path MimeAppsList() const { return dir.Path() / "config" / "mimeapps.list"; }
  std::optional<std::string> Saved(std::string_view type) const {
    return PreviousDefaults(dir.Path() / "config" / "velvasto" / "previous-defaults.list").Find(type);
  }

  TestDesktop desktop;
  const TempDir& dir = desktop.dir;
  RecordingReporter reporter;
  CFileAssociation association{AssociationPlaces::ForThisUser(), reporter};
};

// Unticking gives a type its former application back, or takes ours away from a type that had
// none, leaving the rest of the user's defaults as they were.
TEST_F(FileAssociationTest, UntickingGivesTheTypeItsFormerApplicationBackOrNone) {
  dir.Write("config/mimeapps.list", "[Default Applications]\ntext/plain=gedit.desktop\n");
  MakeDefault("other-player.desktop", "audio/x-rcp");
  const std::string before = ReadWholeFile(MimeAppsList());
  EXPECT_EQ(association.CurrentTicks(), ExtensionTicks{});

  association.Apply(Ticked({".rcp", ".g36"}));
  EXPECT_EQ(DefaultOf("audio/x-rcp"), kDesktopFileName);
  EXPECT_EQ(DefaultOf("audio/x-g36"), kDesktopFileName);
  EXPECT_EQ(Saved("audio/x-rcp"), "other-player.desktop");
  EXPECT_EQ(Saved("audio/x-g36"), std::nullopt);
  EXPECT_EQ(association.CurrentTicks(), Ticked({".rcp", ".g36"}));

  // Confirming again while associated saves nothing over the former application.
  association.Apply(Ticked({".rcp", ".g36"}));
  EXPECT_EQ(Saved("audio/x-rcp"), "other-player.desktop");

  association.Apply(Ticked({}));
  EXPECT_EQ(DefaultOf("audio/x-rcp"), "other-player.desktop");
  EXPECT_EQ(Saved("audio/x-rcp"), std::nullopt);
  EXPECT_EQ(ReadWholeFile(MimeAppsList()), before);
  EXPECT_EQ(association.CurrentTicks(), ExtensionTicks{});
  EXPECT_TRUE(reporter.shown.empty());
}

TEST_F(FileAssociationTest, ExtensionsOfOneTypeAreAssociatedTogether) {
  association.Apply(Ticked({".midi", ".g18"}));
  EXPECT_EQ(association.CurrentTicks(), Ticked({".mid", ".midi", ".rmi", ".g18"}));
  association.Apply(Ticked({".mid", ".g18"}));
  EXPECT_EQ(association.CurrentTicks(), Ticked({".mid", ".midi", ".rmi", ".g18"}));
  association.Apply(Ticked({".g18"}));
  EXPECT_EQ(association.CurrentTicks(), Ticked({".g18"}));
}

// Confirming the dialog makes the program and its types known to the desktop from the user's
// own folders, for a program that was never installed.
TEST_F(FileAssociationTest, TheDesktopKnowsTheProgramAndItsTypesFromTheUsersFolders) {
  association.Apply(Ticked({}));
  const fs::path entry = dir.Path() / "data" / "applications" / kDesktopFileName;
  EXPECT_NE(ReadWholeFile(entry).find("\nExec=" + ExecutablePath().string() + " %F\n"), std::string::npos);
  EXPECT_NE(ReadWholeFile(dir.Path() / "data" / "applications" / "mimeinfo.cache").find(kDesktopFileName),
            std::string::npos);
  EXPECT_TRUE(fs::exists(dir.Path() / "data" / "icons" / "hicolor" / "scalable" / "apps" / "org.velvasto.Velvasto.svg"));

  RcpBuilder rcp;
  rcp.AddTrack();
  RcpBuilder rcp36;
  rcp36.header.trackCountByte = 36;
  G36Builder g36;
  g36.header.trackCountByte = 36;
  G36Builder g18;
  g18.header.trackCountByte = 18;
  SmfBuilder smf(0, 480);
  smf.AddTrack().EndOfTrack(0);
  const Bytes riff = WrapRiff(smf.Build());
  struct Case {
    fs::path file;
    std::string type;
  };
  const std::vector<Case> cases = {
      {dir.Write("song.rcp", rcp.Build()), "audio/x-rcp"},
      {dir.Write("song.r36", rcp36.Build()), "audio/x-r36"},
      {dir.Write("song.g36", g36.Build()), "audio/x-g36"},
      {dir.Write("song.g18", g18.Build()), "audio/x-g18"},
      {dir.Write("songs.mlt", CrLfLines({"[Velvasto List File Version 3.0]", ""})), "audio/x-velvasto-list"},
      {dir.Write("song.rmi", riff), "audio/midi"},
      // by their first bytes when the name does not tell
      {dir.Write("rcp-song", rcp.Build()), "audio/x-rcp"},
      {dir.Write("r36-song", rcp36.Build()), "audio/x-r36"},
      {dir.Write("g36-song", g36.Build()), "audio/x-g36"},
      {dir.Write("g18-song", g18.Build()), "audio/x-g18"},
      {dir.Write("old-list", CrLfLines({"[Velvasto List File Version 2.0]", ""})), "audio/x-velvasto-list"},
      {dir.Write("riff-song", riff), "audio/midi"},
  };
  for (const Case& c : cases) EXPECT_EQ(FileTypeOf(c.file), c.type) << c.file;
}

// An uninstall start removes everything and leaves the desktop as it was.
TEST_F(FileAssociationTest, AnUninstallStartGivesEverythingBackOrSaysWhyNot) {
  // A user who never associated anything: nothing to give back, and no folder made for it.
  EXPECT_EQ(RemoveAssociationsOnUninstall(AssociationPlaces::ForThisUser(), reporter), 0);
  EXPECT_TRUE(reporter.shown.empty()) << reporter.shown.front();
  EXPECT_FALSE(fs::exists(dir.Path() / "data"));

  MakeDefault("other-player.desktop", "audio/x-rcp");
  const std::string before = ReadWholeFile(MimeAppsList());
  association.Apply(Ticked({".rcp", ".g36", ".mid"}));
  EXPECT_EQ(RemoveAssociationsOnUninstall(AssociationPlaces::ForThisUser(), reporter), 0);
  EXPECT_TRUE(reporter.shown.empty());
  EXPECT_EQ(ReadWholeFile(MimeAppsList()), before);
  EXPECT_EQ(DefaultOf("audio/x-rcp"), "other-player.desktop");
  EXPECT_FALSE(fs::exists(dir.Path() / "data" / "applications" / kDesktopFileName));
  EXPECT_FALSE(fs::exists(dir.Path() / "data" / "mime" / "packages" / "org.velvasto.Velvasto.xml"));
  EXPECT_FALSE(fs::exists(dir.Path() / "data" / "icons" / "hicolor" / "scalable" / "apps" / "org.velvasto.Velvasto.svg"));
  EXPECT_EQ(FileTypeOf(dir.Write("song.g36", G36Builder().Build())), "application/octet-stream");

  EnvironmentScope noTools;
  noTools.Set("PATH", dir.Path().string());
  EXPECT_EQ(RemoveAssociationsOnUninstall(AssociationPlaces::ForThisUser(), reporter), 1);
  EXPECT_EQ(reporter.shown, std::vector<std::string>{AppErrorText(errc::kAssocActionKeyFailed)});
}

// Each step's failure is its own error; a file that cannot be changed while restoring is shown
// at once, before the restore fails.
TEST_F(FileAssociationTest, EachStepFailsWithItsOwnError) {
  const fs::path noTools = dir.Path() / "empty";
  fs::create_directories(noTools);
  MakeDefault("other-player.desktop", "audio/x-rcp");
  association.Apply(Ticked({".rcp", ".g36"}));  // other-player saved for .rcp, nothing for .g36

  enum class Fault { NoTools, NoRoom };
  struct Case {
    std::string what;
    Fault fault;
    std::function<void()> step;
    std::int32_t code;
    std::vector<std::string> shown;
  };
  const std::vector<Case> cases = {
      {"register", Fault::NoTools, [&] { association.RegisterClass(); }, errc::kAssocActionKeyFailed, {}},
      {"register", Fault::NoRoom, [&] { association.RegisterClass(); }, errc::kAssocActionKeyFailed, {}},
      {"save", Fault::NoTools, [&] { association.IsAssociated("audio/midi", true); }, errc::kAssocSavePreviousFailed, {}},
      {"associate", Fault::NoTools, [&] { association.Associate("audio/midi"); }, errc::kAssocSetFailed, {}},
      {"restore saved", Fault::NoTools, [&] { association.Restore("audio/x-rcp"); }, errc::kAssocRestoreFailed, {}},
      {"restore none", Fault::NoRoom, [&] { association.Restore("audio/x-g36"); }, errc::kAssocRestoreFailed,
       {AppErrorText(errc::kAssocKeyDeleteFailed)}},
  };
  for (const Case& c : cases) {
    reporter.shown.clear();
    try {
      EnvironmentScope path;
      std::optional<FileSizeLimit> noRoom;
      if (c.fault == Fault::NoTools) path.Set("PATH", noTools.string());
      if (c.fault == Fault::NoRoom) noRoom.emplace(0);
      c.step();
      ADD_FAILURE() << c.what << ": no error";
    } catch (const CErrMessage& error) {
      EXPECT_EQ(error.Code(), c.code) << c.what;
      EXPECT_EQ(error.Message(), AppErrorText(c.code)) << c.what;
    }
    EXPECT_EQ(reporter.shown, c.shown) << c.what;
  }
  // Nothing was lost on the way: the saved application still comes back.
  association.Apply(Ticked({}));
  EXPECT_EQ(DefaultOf("audio/x-rcp"), "other-player.desktop");
}

}  // namespace
}  // namespace velvasto::test

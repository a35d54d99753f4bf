// The files the association reads and writes itself: the saved previous defaults, the user's
// mimeapps.list, and the desktop entry that runs this very executable.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/association/associated_types.h"
#include "app/association/child_process.h"
#include "app/association/desktop_files.h"
#include "app/association/mime_apps_list.h"
#include "app/association/previous_defaults.h"
#include "support/file_size_limit.h"
#include "support/read_file.h"
#include "support/temp_dir.h"

namespace velvasto::test {
namespace {

namespace fs = std::filesystem;

TEST(PreviousDefaultsTest, SavedDefaultsSurviveAMissingOrBrokenFile) {
  TempDir dir;
  const PreviousDefaults previous(dir.Path() / "velvasto" / "previous-defaults.list");
  EXPECT_EQ(previous.Find("audio/midi"), std::nullopt);  // no file, no folder yet

  ASSERT_TRUE(previous.Save("audio/midi", "timidity.desktop"));
  ASSERT_TRUE(previous.Save("audio/x-rcp", "other-player.desktop"));
  ASSERT_TRUE(previous.Save("audio/midi", "rosegarden.desktop"));  // replaces
  EXPECT_EQ(previous.Find("audio/midi"), "rosegarden.desktop");
  EXPECT_EQ(previous.Find("audio/x-rcp"), "other-player.desktop");

  // Hand-edited: lines of another group, garbage, and names no tool may be given.
  dir.Write("velvasto/previous-defaults.list",
            "[Default Applications]\naudio/x-g36=elsewhere.desktop\n"
            "[Previous Defaults]\n\x01\xff garbage\naudio/x-r36=-rf.desktop\naudio/x-g18=a b.desktop\n"
            "audio/x-mlt=not-a-desktop-file\nbroken=x.desktop\n  audio/midi = timidity.desktop  \n");
  EXPECT_EQ(previous.Find("audio/x-g36"), std::nullopt);
  EXPECT_EQ(previous.Find("audio/x-r36"), std::nullopt);
  EXPECT_EQ(previous.Find("audio/x-g18"), std::nullopt);
  EXPECT_EQ(previous.Find("audio/x-mlt"), std::nullopt);
  EXPECT_EQ(previous.Find("audio/midi"), "timidity.desktop");

  // Writing again keeps what was readable and forgets only the type asked for.
  ASSERT_TRUE(previous.Save("audio/x-rcp", "other-player.desktop"));
  ASSERT_TRUE(previous.Forget("audio/midi"));
  EXPECT_EQ(previous.Find("audio/midi"), std::nullopt);
  EXPECT_EQ(previous.Find("audio/x-rcp"), "other-player.desktop");
  EXPECT_TRUE(previous.Forget("audio/midi"));  // nothing to forget is no failure
}

TEST(PreviousDefaultsTest, AFileThatCannotBeWrittenIsToldAndKept) {
  TempDir dir;
  const PreviousDefaults previous(dir.Path() / "previous-defaults.list");
  ASSERT_TRUE(previous.Save("audio/midi", "timidity.desktop"));
  {
    FileSizeLimit noRoom(0);
    EXPECT_FALSE(previous.Save("audio/x-rcp", "other-player.desktop"));
    EXPECT_FALSE(previous.Forget("audio/midi"));
  }
  EXPECT_EQ(previous.Find("audio/midi"), "timidity.desktop");
  EXPECT_EQ(previous.Find("audio/x-rcp"), std::nullopt);

  const PreviousDefaults inAFile(dir.Path() / "previous-defaults.list" / "below-a-file");
  EXPECT_FALSE(inAFile.Save("audio/midi", "timidity.desktop"));
}

TEST(MimeAppsListTest, OnlyOurDefaultOfThatTypeIsTakenOut) {
  const std::string others = "# kept\n[Added Associations]\naudio/x-rcp=org.velvasto.Velvasto.desktop;\n\n";
  struct Case {
    std::string before;
    std::string after;
  };
  const std::vector<Case> cases = {
      {others + "[Default Applications]\naudio/x-rcp=org.velvasto.Velvasto.desktop\ntext/plain=gedit.desktop\n",
       others + "[Default Applications]\ntext/plain=gedit.desktop\n"},
      {"[Default Applications]\naudio/x-rcp = a.desktop; org.velvasto.Velvasto.desktop ;b.desktop\n",
       "[Default Applications]\naudio/x-rcp=a.desktop;b.desktop;\n"},
      // another type, another program, and a name that only begins like ours stay as they are
      {"[Default Applications]\naudio/x-rcp2=org.velvasto.Velvasto.desktop\naudio/x-rcp=a.desktop;\n"
       "audio/x-rcp=org.velvasto.Velvasto.desktop.old\n",
       "[Default Applications]\naudio/x-rcp2=org.velvasto.Velvasto.desktop\naudio/x-rcp=a.desktop;\n"
       "audio/x-rcp=org.velvasto.Velvasto.desktop.old\n"},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const fs::path list = dir.Write("mimeapps.list", c.before);
    EXPECT_TRUE(RemoveDefaultApplication(list, "audio/x-rcp", kDesktopFileName));
    EXPECT_EQ(ReadWholeFile(list), c.after) << c.before;
  }

  TempDir dir;
  EXPECT_TRUE(RemoveDefaultApplication(dir.Path() / "mimeapps.list", "audio/x-rcp", kDesktopFileName));
  EXPECT_FALSE(fs::exists(dir.Path() / "mimeapps.list"));

  const fs::path list = dir.Write("mimeapps.list", cases[0].before);
  FileSizeLimit noRoom(0);
  EXPECT_FALSE(RemoveDefaultApplication(list, "audio/x-rcp", kDesktopFileName));
  EXPECT_EQ(ReadWholeFile(list), cases[0].before);
}

// The Exec line of the user's entry, by the executable's path: quoted and escaped as the
// Desktop Entry rules say, so that the desktop runs exactly that file.
TEST(DesktopEntryTest, TheUsersEntryRunsThisExecutableWhateverItsPath) {
  struct Case {
    std::string path;
    std::string exec;
  };
  const std::vector<Case> cases = {
      {"/usr/bin/velvasto", "Exec=/usr/bin/velvasto %F"},
      {"/home/me/My Programs/velvasto", R"(Exec="/home/me/My Programs/velvasto" %F)"},
      {"/opt/100%/velvasto", "Exec=/opt/100%%/velvasto %F"},
      {R"(/opt/$HOME "quoted" \back/velvasto)", R"(Exec="/opt/\\$HOME \\"quoted\\" \\\\back/velvasto" %F)"},
      {"/opt/ベルバスト/velvasto", "Exec=/opt/ベルバスト/velvasto %F"},
  };
  TempDir dir;
  for (const Case& c : cases) {
    const auto entry = DesktopEntryRunning(c.path);
    ASSERT_TRUE(entry) << c.path;
    EXPECT_NE(entry->find("\n" + c.exec + "\n"), std::string::npos) << *entry;
    // Everything else is the installed entry.
    std::string installed(InstalledDesktopEntry());
    installed.replace(installed.find("Exec=velvasto %F"), std::string_view("Exec=velvasto %F").size(), c.exec);
    EXPECT_EQ(*entry, installed);
    const fs::path file = dir.Write(std::string(kDesktopFileName), *entry);
    const ProgramOutcome validated = RunProgram("desktop-file-validate", {file.string()});
    EXPECT_TRUE(validated.Succeeded()) << c.path << "\n" << validated.output;
  }
  EXPECT_EQ(DesktopEntryRunning("/opt/line\nbreak/velvasto"), std::nullopt);
}

// Every type the dialog can associate must be one the entry declares, or the desktop would
// not offer the program for it.
TEST(DesktopEntryTest, TheEntryDeclaresEveryTypeTheDialogAssociates) {
  const std::string entry(InstalledDesktopEntry());
  const auto start = entry.find("\nMimeType=");
  ASSERT_NE(start, std::string::npos);
  const auto values = start + std::string_view("\nMimeType=").size();
  const std::string types = ";" + entry.substr(values, entry.find('\n', values) - values);
  for (const AssociatedExtension& extension : kAssociatedExtensions) {
    EXPECT_NE(types.find(";" + std::string(extension.mimeType) + ";"), std::string::npos) << extension.extension;
  }
}

}  // namespace
}  // namespace velvasto::test

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cmd_line_analize.h"
#include "core/errors.h"
#include "support/smf_builder.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

// The message of the error Analize throws for `arguments`, or "" when it throws none.
std::string ErrorText(std::vector<std::string> arguments) {
  CCmdLineAnalize parser([](const std::filesystem::path&) { return FileType::Smf; });
  try {
    parser.Analize(arguments);
  } catch (const CErrMessage& e) {
    return e.Message();
  }
  return "";
}

TEST(CmdLineAnalizeTest, RepeatedOrUnknownOptionsFailWithTheirTexts) {
  const std::string order = "コマンドライン引数 /P1,/P2,/P3 は重複して指定できません。";
  EXPECT_EQ(ErrorText({"/p1", "/P2"}), order);
  EXPECT_EQ(ErrorText({"/P3", "-p3"}), order);
  EXPECT_EQ(ErrorText({"/L", "-l"}), "コマンドライン引数 /L は重複して指定できません。");
  EXPECT_EQ(ErrorText({"/T", "/t"}), "コマンドライン引数 /T は重複して指定できません。");
  const std::string drop = "コマンドライン引数 /D1,/D2 は重複して指定できません。";
  EXPECT_EQ(ErrorText({"/D1", "/d2"}), drop);
  EXPECT_EQ(ErrorText({"-D2", "/D2"}), drop);
  const std::string unknown = "不明なコマンドライン引数が指定されました。";
  EXPECT_EQ(ErrorText({"/P4"}), unknown);
  EXPECT_EQ(ErrorText({"-"}), unknown);
  EXPECT_EQ(ErrorText({"--help"}), unknown);
  EXPECT_EQ(ErrorText({"-x/y"}), unknown);                     // "-" always starts an option
  EXPECT_EQ(ErrorText({"/velvasto-no-such-entry"}), unknown);  // "/" and no path shape
  // Options that may be repeated, and one error code per conflict, not per option.
  EXPECT_EQ(ErrorText({"/Commit", "/COMMIT", "/uninstall", "-Uninstall", "/T", "/L", "/P2", "/D1"}), "");
}

TEST(CmdLineAnalizeTest, OptionsSetTheModesAndFlagsWithoutRegardToCase) {
  CCmdLineAnalize parser([](const std::filesystem::path&) { return FileType::Smf; });
  parser.Analize(std::vector<std::string>{"/p3", "-l", "/d2", "/commit", "-t"});
  EXPECT_EQ(parser.Request(), (OpenRequest{.playMode = 2, .singleRepeat = 1, .dropMode = 1, .paths = {}}));
  EXPECT_TRUE(parser.InstallFlag() && !parser.UninstallFlag());

  CCmdLineAnalize other([](const std::filesystem::path&) { return FileType::Smf; });
  other.Analize(std::vector<std::string>{"-P1", "/D1", "/UNINSTALL"});
  EXPECT_EQ(other.Request(), (OpenRequest{.playMode = 0, .dropMode = 0, .paths = {}}));
  EXPECT_TRUE(other.UninstallFlag());
}

TEST(CmdLineAnalizeTest, PathsAreTypedByContentAndUnknownFilesAreLeftOut) {
  test::TempDir dir;
  const auto smf = test::SmfBuilder(0, 480).Build();
  const auto song = dir.Write("song.txt", smf);                       // the name does not matter
  const auto riff = dir.Write("riff.bin", test::WrapRiff(smf));
  const auto list = dir.Write("list", "[Velvasto List File Version 2.0]\r\n");
  const auto notes = dir.Write("notes.mid", "just text, not a song");
  const auto tiny = dir.Write("tiny.mid", "MTh");
  CCmdLineAnalize parser;
  parser.Analize(std::vector<std::string>{notes.string(), song.string(), "/P2", tiny.string(), list.string(),
                                          riff.string()});
  EXPECT_EQ(parser.Request().paths, (std::vector<std::filesystem::path>{song, list, riff}));
  EXPECT_EQ(parser.Request().playMode, 1);
}

TEST(CmdLineAnalizeTest, AFileThatCannotBeOpenedReportsTheFileError) {
  test::TempDir dir;
  CCmdLineAnalize parser;
  try {
    parser.Analize(std::vector<std::string>{(dir.Path() / "gone.mid").string()});
    FAIL() << "a missing file was accepted";
  } catch (const CSystemErrMessage& e) {
    EXPECT_EQ(e.Code(), ENOENT);
  }
}

TEST(CmdLineAnalizeTest, RelativePathsBecomeAbsoluteAndRootPathsAreNotOptions) {
  test::TempDir dir;
  std::vector<std::filesystem::path> probed;
  CCmdLineAnalize parser([&](const std::filesystem::path& path) {
    probed.push_back(path);
    return FileType::Rcp;
  });
  const std::filesystem::path oldFolder = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  parser.Analize(std::vector<std::string>{"songs/a.rcp", "/music/P1", "/tmp"});
  std::filesystem::current_path(oldFolder);
  EXPECT_EQ(parser.Request().paths,
            (std::vector<std::filesystem::path>{dir.Path() / "songs/a.rcp", "/music/P1", "/tmp"}));
  EXPECT_EQ(probed, parser.Request().paths);
  EXPECT_EQ(parser.Request().playMode, -1);
}

TEST(CmdLineAnalizeTest, PathsBeyondThe1024thAreIgnoredWithoutLookingAtThem) {
  int probes = 0;
  CCmdLineAnalize parser([&](const std::filesystem::path& path) {
    ++probes;
    return path.filename() == "unknown" ? FileType::Unknown : FileType::G36;
  });
  std::vector<std::string> arguments{"/music/unknown"};
  for (int i = 0; i < 1030; ++i) arguments.push_back("/music/" + std::to_string(i) + ".g36");
  arguments.push_back("/L");  // options after the limit still count
  parser.Analize(arguments);
  ASSERT_EQ(parser.Request().paths.size(), 1024u);
  EXPECT_EQ(parser.Request().paths.back(), "/music/1023.g36");
  EXPECT_EQ(probes, 1025);
  EXPECT_EQ(parser.Request().singleRepeat, 1);
}

}  // namespace
}  // namespace velvasto

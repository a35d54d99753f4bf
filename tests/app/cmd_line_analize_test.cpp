#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/cmd_line_analize.h"
#include "core/errors.h"
#include "support/temp_dir.h"

namespace velvasto {
namespace {

TEST(CmdLineAnalizeTest, RepeatedOrUnknownOptionsFailWithTheirTexts) {
  const std::string order = "コマンドライン引数 /P1,/P2,/P3 は重複して指定できません。";
  const std::string drop = "コマンドライン引数 /D1,/D2 は重複して指定できません。";
  const std::string unknown = "不明なコマンドライン引数が指定されました。";
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"/p1", "/P2"}, order},
      {{"/P3", "-p3"}, order},
      {{"/L", "-l"}, "コマンドライン引数 /L は重複して指定できません。"},
      {{"/T", "/t"}, "コマンドライン引数 /T は重複して指定できません。"},
      {{"/D1", "/d2"}, drop},
      {{"/P4"}, unknown},
      {{"-"}, unknown},
      {{"-x/y"}, unknown},                     // "-" always starts an option
      {{"/velvasto-no-such-entry"}, unknown},  // "/" and no path shape
      // Options that may be repeated, and one error code per conflict, not per option.
      {{"/Commit", "/COMMIT", "/uninstall", "-Uninstall", "/T", "/L", "/P2", "/D1"}, ""}};
  for (const auto& [arguments, text] : cases) {
    CCmdLineAnalize parser([](const std::filesystem::path&) { return FileType::Smf; });
    std::string thrown;
    try {
      parser.Analize(arguments);
    } catch (const CErrMessage& e) {
      thrown = e.Message();
    }
    EXPECT_EQ(thrown, text) << arguments.front();
  }
}

TEST(CmdLineAnalizeTest, PathsBecomeAbsoluteRootPathsAreNotOptionsOnly1024AreTakenAndAMissingFileFails) {
  test::TempDir dir;
  int probes = 0;
  CCmdLineAnalize parser([&](const std::filesystem::path& path) {
    ++probes;
    return path.filename() == "unknown" ? FileType::Unknown : FileType::Rcp;
  });
  const std::filesystem::path oldFolder = std::filesystem::current_path();
  std::filesystem::current_path(dir.Path());
  std::vector<std::string> arguments{"songs/a.rcp", "/music/P1", "/tmp", "/music/unknown"};
  for (int i = 0; i < 1030; ++i) arguments.push_back("/music/" + std::to_string(i) + ".g36");
  arguments.push_back("/L");  // options after the limit still count
  parser.Analize(arguments);
  std::filesystem::current_path(oldFolder);
  const auto& paths = parser.Request().paths;
  ASSERT_EQ(paths.size(), 1024u);
  EXPECT_EQ(std::vector(paths.begin(), paths.begin() + 3),
            (std::vector<std::filesystem::path>{dir.Path() / "songs/a.rcp", "/music/P1", "/tmp"}));
  EXPECT_EQ(paths.back(), "/music/1020.g36");
  EXPECT_EQ(probes, 1025) << "paths beyond the limit are not looked at";
  EXPECT_EQ(parser.Request().playMode, -1);
  EXPECT_EQ(parser.Request().singleRepeat, 1);
  try {
    CCmdLineAnalize().Analize(std::vector<std::string>{(dir.Path() / "gone.mid").string()});
    ADD_FAILURE() << "a missing file was accepted";
  } catch (const CSystemErrMessage& e) {
    EXPECT_EQ(e.Code(), ENOENT);
  }
}

}  // namespace
}  // namespace velvasto

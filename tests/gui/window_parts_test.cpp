// The smaller parts of the main window: the title area's text, the files of a drop, Qt's texts
// in Japanese, where the help page is found, and the fonts and metrics the layout is measured in.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QTranslator>
#include <QUrl>

#include "gui/cell_font.h"
#include "gui/help_page.h"
#include "gui/japanese_ui.h"
#include "gui/main_frame.h"
#include "gui/qt_text.h"
#include "gui/title_area.h"
#include "support/temp_dir.h"

namespace velvasto::gui {
namespace {

SongInfo Info(SongKind kind, std::int32_t subtype, std::int32_t tracks, std::uint32_t timeBase, std::uint64_t us) {
  SongInfo info;
  info.kind = kind;
  info.subtype = subtype;
  info.trackCount = tracks;
  info.timeBase = timeBase;
  info.playTimeUs = us;
  return info;
}

TEST(TitleAreaTest, TheDetailsLineSaysWhatTheSongIs) {
  SongInfo riff = Info(SongKind::Smf, 0, 1, 96, 3'725'000'000);
  riff.riff = true;
  // Only the control files that are sent are named, without the header's padding.
  SongInfo r36 = Info(SongKind::Rcp, 1, 36, 48, 9'000'000);
  r36.cm6File = "SONG.CM6    ";
  r36.cm6Loaded = true;
  r36.gsdFile = "SONG.GSD    ";
  SongInfo g36 = Info(SongKind::G36, 0, 36, 480, 0);
  g36.gsdFile = "A.GSD";
  g36.gsdLoaded = true;
  g36.gsd2File = "B.GSD";
  g36.gsd2Loaded = true;
  const std::pair<SongInfo, const char*> cases[] = {
      {Info(SongKind::Smf, 1, 5, 480, 75'999'999), "Standard MIDI File format 1   5 tracks   timebase 480   1:15"},
      {riff, "Standard MIDI File format 0 (RIFF)   1 tracks   timebase 96   1:02:05"},
      {r36, "R36   36 tracks   timebase 48   0:09   CM6 SONG.CM6"},
      {g36, "G36   36 tracks   timebase 480   0:00   GSD A.GSD   GSD2 B.GSD"},
  };
  for (const auto& [info, details] : cases) EXPECT_EQ(DescribeSong(info).details, details);
}

TEST(DroppedFilesTest, LocalFilesKeepTheBytesOfTheirNamesAndOthersAreLeftOut) {
  const QList<QUrl> urls = {
      QUrl(QStringLiteral("file:///songs/%E6%9B%B2.mid")),   // UTF-8, as file managers send it
      QUrl(QStringLiteral("file:///old/%93%FA%96%7B.rcp")),  // Shift-JIS bytes from an old archive
      QUrl(QStringLiteral("https://example.org/song.mid")),
      QUrl(QStringLiteral("file:///with%20blank.mid")),
  };
  EXPECT_EQ(DroppedFiles(urls), (std::vector<std::filesystem::path>{"/songs/\xE6\x9B\xB2.mid",
                                                                    "/old/\x93\xFA\x96\x7B.rcp", "/with blank.mid"}));
}

TEST(JapaneseUiTest, QtsOwnButtonsSpeakJapanese) {
  QTranslator translator;
  ASSERT_TRUE(InstallQtJapanese(*QCoreApplication::instance(), translator));
  QMessageBox box(QMessageBox::Question, QString(), QString(),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  EXPECT_EQ(ToUtf8(box.button(QMessageBox::Yes)->text()), "はい(&Y)");
  EXPECT_EQ(ToUtf8(box.button(QMessageBox::No)->text()), "いいえ(&N)");
  EXPECT_EQ(ToUtf8(box.button(QMessageBox::Cancel)->text()), "キャンセル");
  QCoreApplication::removeTranslator(&translator);
}

TEST(HelpPageTest, FoundBesideTheExecutableFirstThenInTheInstalledDataFolder) {
  const test::TempDir root;
  const std::filesystem::path executable = root.Path() / "bin" / "velvasto";
  EXPECT_EQ(FindHelpPage(executable), std::nullopt);
  std::filesystem::create_directories(root.Path() / "share" / "velvasto" / "help");
  const std::filesystem::path installed = root.Write("share/velvasto/help/index.html", "<html></html>");
  EXPECT_EQ(FindHelpPage(executable), installed);
  std::filesystem::create_directories(root.Path() / "bin" / "help");
  const std::filesystem::path beside = root.Write("bin/help/index.html", "<html></html>");
  EXPECT_EQ(FindHelpPage(executable), beside);
}

TEST(ViewFontsTest, CellFontsHaveTheCellHeightAndAverageWidthAsked) {
  struct Case {
    int height, width, weight;
  };
  for (const Case c : {Case{16, 6, 700}, Case{14, 5, 500}, Case{8, 3, 500}}) {
    const QFontMetrics metrics(CellFont(QStringLiteral("Arial"), c.height, c.width, c.weight));
    EXPECT_NEAR(metrics.height(), c.height, 1) << c.height;
    EXPECT_NEAR(metrics.averageCharWidth(), c.width, 1) << c.height;
  }
}

}  // namespace
}  // namespace velvasto::gui

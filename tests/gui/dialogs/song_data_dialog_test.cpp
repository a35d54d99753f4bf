#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QTest>

#include "core/text_codec.h"
#include "dialog_test_support.h"
#include "gui/dialogs/ctrl_send_dlg.h"
#include "gui/dialogs/data_propaty_dlg.h"
#include "gui/dialogs/song_file_dialog.h"
#include "support/temp_dir.h"

namespace velvasto::gui::test {
namespace {

using velvasto::test::TempDir;

QString Text(const QObject& dialog, const char* name) { return Child<QLabel>(dialog, name).text(); }

// memo, kind, subtype, MacBinary, RIFF, CM6, GSD, GSD2, time base, playing time, tracks
QStringList Fields(const CDataPropatyDlg& dialog) {
  QStringList texts;
  for (const char* name :
       {"memo", "kind", "subtype", "macBinary", "riff", "cm6", "gsd", "gsd2", "timeBase", "playTime", "tracks"}) {
    texts << Text(dialog, name);
  }
  return texts;
}

TEST(SongPropertyWindowTest, EachKindShowsItsOwnFields) {
  SongInfo riffSmf;
  riffSmf.playTimeUs = 59'999'999;
  riffSmf.timeBase = 480;
  riffSmf.subtype = 1;
  riffSmf.riff = true;
  riffSmf.trackCount = 17;
  // Twelve memo lines of 28 bytes, the second one in Shift-JIS.
  SongInfo rcp;
  rcp.memo = std::string("First line") + std::string(18, ' ') + *Utf8ToCp932("日本語のメモ") +
             std::string(16, ' ') + std::string(28 * 10, ' ');
  rcp.cm6File = "SONG.CM6";
  rcp.gsdFile = "SONG.GSD";
  rcp.gsd2File = "unused";
  rcp.playTimeUs = 3'600'000'000;
  rcp.timeBase = 48;
  rcp.kind = SongKind::Rcp;
  rcp.subtype = 1;
  rcp.trackCount = 36;
  SongInfo g36;
  g36.gsd2File = "SECOND.GSD";
  g36.playTimeUs = 61'000'000;
  g36.timeBase = 96;
  g36.kind = SongKind::G36;
  g36.trackCount = 36;
  struct Case {
    const char* what;
    const SongInfo* info;
    QStringList fields;
  };
  const QString rcpMemo = "First line\n日本語のメモ\n" + QString("\n").repeated(10);
  const Case cases[] = {
      {"SMF in RIFF", &riffSmf, {"", "標準MIDIファイル", "format1", "無", "有", "", "", "", "480", "0分59秒", "17"}},
      {"R36", &rcp, {rcpMemo, "RCPファイル", "R36", "", "", "SONG.CM6", "SONG.GSD", "", "48", "60分0秒", "36"}},
      {"G36", &g36, {"", "G36ファイル", "G36", "", "", "", "", "SECOND.GSD", "96", "1分1秒", "36"}},
      {"no song", nullptr, QStringList(11, "")},
  };
  CDataPropatyDlg dialog;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    dialog.Refresh(c.info);
    EXPECT_EQ(Fields(dialog), c.fields);
  }
}

TEST(SongPropertyWindowTest, TheMemoIsFixedPitchOnItsPaperColourAndCloseOnlyHides) {
  CDataPropatyDlg dialog;
  dialog.show();
  const QLabel& memo = Child<QLabel>(dialog, "memo");
  EXPECT_TRUE(QFontInfo(memo.font()).fixedPitch());
  EXPECT_EQ(memo.palette().color(memo.backgroundRole()), QColor(255, 255, 250));
  Click(dialog, "close");
  EXPECT_FALSE(dialog.isVisible());
  dialog.Refresh(nullptr);
  EXPECT_FALSE(dialog.isVisible()) << "refreshing does not show it";
}

// Its bar is driven by a song in WindowDialogsTest.
TEST(ControlFileProgressTest, NamesTheFileKind) {
  const char* const texts[] = {"CM6 FILE SENDING", "GSD FILE SENDING", "GSD2 FILE SENDING"};
  for (int kind = 0; kind < 3; ++kind) EXPECT_EQ(Text(CCtrlSendDlg(kind, 1), "text"), texts[kind]);
}

TEST(SongFileDialogTest, ShowsTheDescriptionsAndMatchesTheirPatternsInAnyCase) {
  TempDir dir;
  for (const char* name : {"A.MID", "b.rcp", "c.G18", "d.txt", "README"}) dir.Write(name, "");
  QFileDialog dialog(nullptr, QString(), QString::fromStdString(dir.Path().string()));
  dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails);
  dialog.setNameFilters(SongFileFilters());
  dialog.show();
  auto& types = Child<QComboBox>(dialog, "fileTypeCombo");
  QStringList shown;
  for (int i = 0; i < types.count(); ++i) shown << types.itemText(i);
  EXPECT_EQ(shown, (QStringList{"演奏ﾌｧｲﾙ (*.mid;*.midi;*.rmi;*.rcp;*.r36;*.g36;*.g18)", "標準MIDIﾌｧｲﾙ (*.mid;*.midi)",
                                "RIFF MIDIﾌｧｲﾙ (*.rmi)", "RCPﾌｧｲﾙ (*.rcp;*.r36)", "G36ﾌｧｲﾙ (*.g36;*.g18)",
                                "すべてのﾌｧｲﾙ (*.*)"}));

  auto& files = Child<QListView>(dialog, "listView");
  const auto listed = [&] {
    QStringList names;
    for (int row = 0; row < files.model()->rowCount(files.rootIndex()); ++row) {
      names << files.model()->index(row, 0, files.rootIndex()).data().toString();
    }
    names.sort();
    return names;
  };
  const QStringList songs{"A.MID", "b.rcp", "c.G18"};
  EXPECT_TRUE(QTest::qWaitFor([&] { return listed() == songs; }, 20000)) << listed().join(' ').toStdString();
  dialog.selectNameFilter(dialog.nameFilters().last());
  const QStringList all{"A.MID", "README", "b.rcp", "c.G18", "d.txt"};
  EXPECT_TRUE(QTest::qWaitFor([&] { return listed() == all; }, 20000)) << listed().join(' ').toStdString();
}

}  // namespace
}  // namespace velvasto::gui::test

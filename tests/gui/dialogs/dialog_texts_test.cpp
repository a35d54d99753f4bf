#include <gtest/gtest.h>

#include <QGroupBox>
#include <QLabel>

#include "dialog_test_support.h"
#include "gui/dialogs/about_dlg.h"
#include "gui/dialogs/ctrl_file_port_dlg.h"
#include "gui/dialogs/ctrl_send_dlg.h"
#include "gui/dialogs/data_opt_dlg.h"
#include "gui/dialogs/data_propaty_dlg.h"
#include "gui/dialogs/data_select_dlg.h"
#include "gui/dialogs/force_map_dlg.h"
#include "gui/dialogs/list_file_edit_dlg.h"
#include "gui/dialogs/map_scan_dlg.h"
#include "gui/dialogs/midi_port_dlg.h"
#include "gui/dialogs/midi_port_set_dlg.h"
#include "gui/dialogs/midi_port_set_item_dlg.h"
#include "gui/dialogs/play_mode_dlg.h"
#include "gui/dialogs/timer_period_dlg.h"

namespace velvasto::gui::test {
namespace {

// The title, then every caption the dialog shows (buttons, labels, group boxes), sorted.
QStringList Captions(const QDialog& dialog) {
  QStringList captions;
  for (const QWidget* widget : dialog.findChildren<QWidget*>()) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) captions << Shown(button->text());
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && !label->text().isEmpty()) {
      captions << Shown(label->text());
    }
    if (const auto* box = qobject_cast<const QGroupBox*>(widget)) captions << box->title();
  }
  captions.sort();
  captions.prepend(dialog.windowTitle());
  return captions;
}

QStringList Expected(const QString& title, QStringList captions) {
  captions.sort();
  captions.prepend(title);
  return captions;
}

TEST(DialogTextsTest, EveryDialogShowsItsTitleAndCaptionsExactly) {
  RecordingReporter reporter;
  const CMIDIPort ports = PortChoice({"Synth A", "Synth B"});
  CMIDIPortSetCollection sets;
  const CMIDIPortSet set;
  const CPlayList list;
  const QString reset = "SC-55無印用データをSC-55mkII以降のGS音源用に補正再生する";
  const QString scan = "MAP補正の動作を自動スキャンする";
  const QString force = "MAP補正を強制使用する";

  struct Case {
    std::unique_ptr<QDialog> dialog;
    QStringList expected;
  };
  Case cases[] = {
      {std::make_unique<CMIDIPortDlg>(ports, true, reporter),
       Expected("MIDIポートの設定",
                {"2ポート使用する", "PORT A", "PORT B", "OK", "ｷｬﾝｾﾙ",
                 "インストール時に設定を行わない場合でも、後から設定メニューから設定することができます。"})},
      {std::make_unique<CMIDIPortSetDlg>(sets, reporter),
       Expected("仮想MIDIパッチベイの設定", {"仮想MIDIパッチベイ機能を有効にする。", "追加", "変更", "削除", "上へ",
                                              "下へ", "OK", "キャンセル"})},
      {std::make_unique<CMIDIPortSetItemDlg>(set, reporter),
       Expected("仮想MIDIパッチベイ MIDIポートの設定",
                {"接続音源名", "検索文字列", "2ポート使用する", "PORT A", "PORT B", "OK", "ｷｬﾝｾﾙ"})},
      {std::make_unique<CTimerPeriodDlg>(TimerPeriods{.maximum = 20, .minimum = 1, .period = 5}, reporter),
       Expected("タイマー分解能の設定", {"タイマー分解能 : 5ms", " 1", "ms", "20", "ms", "OK", "キャンセル"})},
      {std::make_unique<CCtrlFilePortDlg>(ControlFilePorts{}),
       Expected("コントロールファイル送信ポート設定",
                {"CM6ファイル", "GSDファイル", "GSD2ファイル", "送信OFF", "ポートA", "ポートB", "送信OFF", "ポートA",
                 "ポートB", "送信OFF", "ポートA", "ポートB", "OK", "キャンセル"})},
      {std::make_unique<CPlayModeDlg>(PlayBehaviour{}, reporter),
       Expected("演奏動作設定", {"MAP補正", "MAP補正を使用しない", scan, force, "詳細設定", "詳細設定", reset,
                                 "RCPファイルLOOP打ち切り回数", "演奏前に送信する音源リセットメッセージ", "CM RESET",
                                 "GS RESET", "XG SYSTEM ON", "GM1 SYSTEM ON", "GM2 SYSTEM ON", "GM SYSTEM OFF",
                                 "ドラムピッチの設定をNRPNからExclusiveに変換する（SC-8850バグ対応）", "OK",
                                 "キャンセル"})},
      {std::make_unique<CMapScanDlg>(MapScanStrings{}),
       Expected("MAP補正スキャン文字列の設定", {"SC-88Pro MAP", "SC-88 MAP", "SC-55 MAP", "OK", "キャンセル"})},
      {std::make_unique<CForceMapDlg>(0),
       Expected("強制MAP補正時の補正MAPの設定",
                {"MAP指定", "指定無し", "SC-88Pro MAP", "SC-88 MAP", "SC-55 MAP", "OK", "キャンセル"})},
      {std::make_unique<CDataOptDlg>(EntryMapSettings{}),
       Expected("データの個別設定", {"演奏動作設定の設定に従う", scan, force, "詳細設定", reset, "OK", "キャンセル"})},
      {std::make_unique<CListFileEditDlg>(list, true, 127, reporter, SongFilesChooser()),
       Expected("リストファイルの編集", {"挿入", "追加", "削除", "個別設定", "上へ", "下へ", "OK", "ｷｬﾝｾﾙ"})},
      {std::make_unique<CDataPropatyDlg>(),
       Expected("MIDIデータのプロパティ", {"RCP/G36 メモ", "ファイル種別", "ファイルサブタイプ", "MACバイナリ",
                                            "RIFFチャンク", "CM6ファイル名", "GSDファイル名", "GSD2ファイル名",
                                            "タイムベース", "演奏時間", "トラック数", "閉じる"})},
      {std::make_unique<CDataSelectDlg>(list),
       Expected("リストプレイデータダイレクト指定", {"OK", "キャンセル"})},
      {std::make_unique<CCtrlSendDlg>(1, 10), Expected("Velvasto", {"GSD FILE SENDING"})},
      {std::make_unique<CAboutDlg>(),
       Expected("バージョン情報 Velvasto", {"MID/RCP MIDI Player Velvasto for Windows Version4  ver.4.13",
                                            "Copyright (C) 2026 The Velvasto developers", "OK"})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected.front().toStdString());
    EXPECT_EQ(Captions(*c.dialog), c.expected);
  }
}

// The names of the controls Tab visits, in order, from the dialog's first.
QStringList TabChain(QDialog& dialog) {
  dialog.show();
  QStringList names;
  for (QWidget* widget = dialog.nextInFocusChain(); widget != &dialog; widget = widget->nextInFocusChain()) {
    const QString name = widget->objectName();
    if ((widget->focusPolicy() & Qt::TabFocus) && !name.isEmpty() && !name.startsWith("qt_")) names << name;
  }
  return names;
}

TEST(DialogTextsTest, TabFollowsTheControlsInTheOrderShown) {
  RecordingReporter reporter;
  CMIDIPortSetCollection sets;
  const CPlayList list;
  CPlayModeDlg mode(PlayBehaviour{}, reporter);
  EXPECT_EQ(TabChain(mode), (QStringList{"mapMode0", "mapMode1", "scanDetails", "mapMode2", "forceDetails", "adjust55",
                                         "loopLimit", "cmReset", "gsReset", "xgSystemOn", "gm1SystemOn", "gm2SystemOn",
                                         "gmSystemOff", "fix8850", "ok", "cancel"}));
  CDataOptDlg options(EntryMapSettings{});
  EXPECT_EQ(TabChain(options), (QStringList{"mapMode0", "mapMode1", "mapMode2", "forceDetails", "adjust55", "ok", "cancel"}));
  CMIDIPortSetDlg patchbay(sets, reporter);
  EXPECT_EQ(TabChain(patchbay), (QStringList{"use", "sets", "add", "change", "delete", "up", "down", "ok", "cancel"}));
  CListFileEditDlg editor(list, true, 127, reporter, SongFilesChooser());
  EXPECT_EQ(TabChain(editor),
            (QStringList{"entries", "insert", "add", "delete", "entrySettings", "up", "down", "ok", "cancel"}));
}

}  // namespace
}  // namespace velvasto::gui::test

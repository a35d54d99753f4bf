// The menu bar against the program's menu table, and every accelerator reaching its command
// from wherever the focus is.

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "frame_fixture.h"

namespace velvasto::test {
namespace {

using gui::TransportButton;

// One line per menu entry as the menu bar shows it: "<depth> <id> <caption>\t<shortcut>", a
// submenu as "<depth> > <caption>", a separator as "<depth> -".
struct Line {
  int depth;
  int id;  // 0: separator or submenu
  const char* caption;
  const char* shortcut;
};

const Line kExpectedMenus[] = {
    {0, 0, "ﾌｧｲﾙ(&F)", ""},
    {1, 57600, "ﾘｽﾄﾌｧｲﾙの新規作成(&N)", "Ctrl+N"},
    {1, 57601, "ﾘｽﾄﾌｧｲﾙを開く(&O)", "Ctrl+O"},
    {1, 32771, "ﾘｽﾄﾌｧｲﾙの編集(&E)", "Ctrl+E"},
    {1, 57603, "ﾘｽﾄﾌｧｲﾙの保存(&S)", "Ctrl+S"},
    {1, 57604, "ﾘｽﾄﾌｧｲﾙの名前を付けて保存(&A)", "Ctrl+A"},
    {1, 0, "", ""},
    {1, 32772, "MIDIデータ一曲選択(&M)", "Ctrl+M"},
    {1, 0, "", ""},
    {1, 32809, "データファイルのプロパティ(&P)", "Ctrl+P"},
    {1, 0, "", ""},
    {1, 57665, "終了(&X)", ""},
    {0, 0, "操作(&M)", ""},
    {1, 32775, "PLAY(&P)", "P"},
    {1, 32776, "STOP(&T)", "T"},
    {1, 32778, "REWIND(&R)", "R"},
    {1, 32777, "FF(&F)", "F"},
    {1, 32779, "PAUSE(&S)", "S"},
    {1, 0, "", ""},
    {1, 32810, "指定曲へジャンプ（リストプレイ時のみ）(&J)", "J"},
    {1, 0, "", ""},
    {1, 0, "モニタモード(&M)", ""},
    {2, 32782, "パネルモニタ1CHとその他モニタ表示(&1)", "Ctrl+Alt+1"},
    {2, 32783, "パネルモニタ2CH表示(&2)", "Ctrl+Alt+2"},
    {1, 0, "モニタポート(&P)", ""},
    {2, 32780, "ポートA(&A)", "Ctrl+Alt+A"},
    {2, 32781, "ポートB(&B)", "Ctrl+Alt+B"},
    {1, 0, "", ""},
    {1, 0, "リストファイルプレイモード(&I)", ""},
    {2, 32793, "リピートしない(&N)", "Ctrl+Alt+N"},
    {2, 32787, "リピートする(&D)", "Ctrl+Alt+D"},
    {2, 32788, "ランダムプレイ(&R)", "Ctrl+Alt+R"},
    {1, 0, "一曲リピート(&O)", ""},
    {2, 32774, "しない(&E)", "Ctrl+Alt+E"},
    {2, 32789, "する(&L)", "Ctrl+Alt+L"},
    {1, 0, "", ""},
    {1, 0, "ドラッグ＆ドロップ時の挙動(&D)", ""},
    {2, 32791, "リストファイルを新規作成する(&W)", "Ctrl+Alt+W"},
    {2, 32790, "リストファイルに追加する(&P)", "Ctrl+Alt+P"},
    {0, 0, "設定(&O)", ""},
    {1, 32773, "MIDIポート設定(&P)", "Ctrl+Shift+P"},
    {1, 32784, "タイマー分解能設定(&T)", "Ctrl+Shift+T"},
    {1, 32785, "コントロールファイル出力ポート設定(&C)", "Ctrl+Shift+C"},
    {1, 32792, "演奏動作設定(&M)", "Ctrl+Shift+M"},
    {1, 32795, "仮想MIDIパッチベイ設定(&V)", "Ctrl+Shift+V"},
    {0, 0, "ヘルプ(&H)", ""},
    {1, 57667, "トピックの検索(&H)", ""},
    {1, 0, "", ""},
    {1, 57664, "バージョン情報 Velvasto(&A)...", ""},
};

std::string Text(const Line& line) {
  if (line.id != 0)
    return std::to_string(line.depth) + " " + std::to_string(line.id) + " " + line.caption + "\t" + line.shortcut;
  if (*line.caption != '\0') return std::to_string(line.depth) + " > " + line.caption;
  return std::to_string(line.depth) + " -";
}

class MenuTest : public FrameTest {
 protected:
  // The menu tree as shown, in the form of Text(); ids are found through the frame's actions.
  std::vector<std::string> Shown() {
    std::vector<std::string> lines;
    const std::function<void(QMenu&, int)> walk = [&](QMenu& menu, int depth) {
      for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
          lines.push_back(std::to_string(depth) + " -");
        } else if (action->menu() != nullptr) {
          lines.push_back(std::to_string(depth) + " > " + gui::ToUtf8(action->text()));
          walk(*action->menu(), depth + 1);
        } else {
          lines.push_back(std::to_string(depth) + " " + std::to_string(IdOf(action)) + " " +
                          gui::ToUtf8(action->text()) + "\t" +
                          gui::ToUtf8(action->shortcut().toString(QKeySequence::NativeText)));
        }
      }
    };
    for (QAction* top : frame->menuBar()->actions()) {
      lines.push_back("0 " + gui::ToUtf8(top->text()));
      walk(*top->menu(), 1);
    }
    return lines;
  }
  int IdOf(QAction* action) {
    for (const Line& line : kExpectedMenus) {
      if (line.id != 0 && frame->Actions().Action(line.id) == action) return line.id;
    }
    return -1;
  }
  // Records the commands the accelerators choose, instead of running them.
  void RecordInsteadOfRunning() {
    QObject::disconnect(&frame->Actions(), &gui::CCommandActions::Triggered, frame.get(), nullptr);
    QObject::connect(&frame->Actions(), &gui::CCommandActions::Triggered, [this](int id) { chosen.push_back(id); });
  }
  // A key combination and the command it must choose.
  struct Accelerator {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int id;
  };
  // Presses each key on the widget that has the focus; each must choose its command, once.
  void ExpectEachChoosesItsCommand(const std::vector<Accelerator>& accelerators) {
    for (const Accelerator& accelerator : accelerators) {
      chosen.clear();
      QTest::keyClick(QApplication::focusWidget(), accelerator.key, accelerator.modifiers);
      EXPECT_EQ(chosen, std::vector<int>{accelerator.id})
          << QKeySequence(accelerator.modifiers | accelerator.key).toString().toStdString();
    }
  }

  std::vector<int> chosen;
};

TEST_F(MenuTest, TheMenuBarShowsTheTableInOrder) {
  MakeFrame();
  std::vector<std::string> expected;
  for (const Line& line : kExpectedMenus)
    expected.push_back(line.depth == 0 ? "0 " + std::string(line.caption) : Text(line));
  EXPECT_EQ(Shown(), expected);
}

TEST_F(MenuTest, EveryAcceleratorReachesItsCommandWithTheFocusOnAButton) {
  app.playList.Append({.path = Song("one.mid", 60, 8), .volume = 100});
  app.playList.Append({.path = Song("two.mid", 62), .volume = 100});
  app.playList.SetModified(true);
  MakeFrame();
  RecordInsteadOfRunning();
  const Qt::KeyboardModifiers none = Qt::NoModifier;
  const Qt::KeyboardModifiers shift = Qt::ShiftModifier;
  const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
  const Qt::KeyboardModifiers ctrlAlt = Qt::ControlModifier | Qt::AltModifier;
  const Qt::KeyboardModifiers ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;

  // Stopped with a modified list: everything but the transport of a playing song is enabled.
  Button(TransportButton::Play).setFocus();
  ASSERT_EQ(QApplication::focusWidget(), &Button(TransportButton::Play));
  ExpectEachChoosesItsCommand({
      {Qt::Key_P, none, 32775},      {Qt::Key_P, shift, 32775},     {Qt::Key_J, none, 32810},
      {Qt::Key_J, shift, 32810},     {Qt::Key_N, ctrl, 57600},      {Qt::Key_O, ctrl, 57601},
      {Qt::Key_E, ctrl, 32771},      {Qt::Key_S, ctrl, 57603},      {Qt::Key_A, ctrl, 57604},
      {Qt::Key_M, ctrl, 32772},      {Qt::Key_1, ctrlAlt, 32782},   {Qt::Key_2, ctrlAlt, 32783},
      {Qt::Key_A, ctrlAlt, 32780},   {Qt::Key_B, ctrlAlt, 32781},   {Qt::Key_N, ctrlAlt, 32793},
      {Qt::Key_D, ctrlAlt, 32787},   {Qt::Key_R, ctrlAlt, 32788},   {Qt::Key_E, ctrlAlt, 32774},
      {Qt::Key_L, ctrlAlt, 32789},   {Qt::Key_W, ctrlAlt, 32791},   {Qt::Key_P, ctrlAlt, 32790},
      {Qt::Key_P, ctrlShift, 32773}, {Qt::Key_T, ctrlShift, 32784}, {Qt::Key_C, ctrlShift, 32785},
      {Qt::Key_M, ctrlShift, 32792}, {Qt::Key_V, ctrlShift, 32795}, {Qt::Key_E, ctrlShift, 32794},
      {Qt::Key_F1, none, 57670},     {Qt::Key_F1, shift, 57669},
  });

  // Playing a list song, the focus on STOP: the transport keys, in either case, and Ctrl+P.
  frame->RunCommand(static_cast<int>(CommandId::Play));
  Settle();
  ASSERT_EQ(app.playState, PlayState::Playing);
  Button(TransportButton::Stop).setFocus();
  ASSERT_EQ(QApplication::focusWidget(), &Button(TransportButton::Stop));
  ExpectEachChoosesItsCommand({
      {Qt::Key_T, none, 32776},
      {Qt::Key_R, none, 32778},
      {Qt::Key_F, none, 32777},
      {Qt::Key_S, none, 32779},
      {Qt::Key_T, shift, 32776},
      {Qt::Key_R, shift, 32778},
      {Qt::Key_F, shift, 32777},
      {Qt::Key_S, shift, 32779},
      {Qt::Key_P, ctrl, 32809},
  });
}

TEST_F(MenuTest, ADisabledCommandIsNotChosenByItsKey) {
  MakeFrame();
  RecordInsteadOfRunning();
  // An empty list: PLAY, STOP and the list commands that need entries are disabled.
  View().setFocus();
  for (const auto& [key, modifiers] : {std::pair{Qt::Key_P, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       {Qt::Key_T, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       {Qt::Key_J, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       {Qt::Key_E, Qt::KeyboardModifiers(Qt::ControlModifier)},
                                       {Qt::Key_M, Qt::KeyboardModifiers(Qt::ControlModifier)}}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // Only "select one song", which is always enabled.
  EXPECT_EQ(chosen, std::vector<int>{32772});
}

}  // namespace
}  // namespace velvasto::test

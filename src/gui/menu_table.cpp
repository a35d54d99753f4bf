#include "gui/menu_table.h"

#include <array>

namespace velvasto::gui {

namespace {

constexpr MenuEntry Menu(std::string_view caption) { return {0, 0, caption, ""}; }
constexpr MenuEntry Item(int id, std::string_view caption, std::string_view shortcut = "") {
  return {1, id, caption, shortcut};
}
constexpr MenuEntry Separator() { return {1, 0, "", ""}; }
constexpr MenuEntry Submenu(std::string_view caption) { return {1, 0, caption, ""}; }
constexpr MenuEntry SubItem(int id, std::string_view caption, std::string_view shortcut) {
  return {2, id, caption, shortcut};
}

constexpr std::array kMenus{
    Menu("ﾌｧｲﾙ(&F)"),
    Item(57600, "ﾘｽﾄﾌｧｲﾙの新規作成(&N)", "Ctrl+N"),
    Item(57601, "ﾘｽﾄﾌｧｲﾙを開く(&O)", "Ctrl+O"),
    Item(32771, "ﾘｽﾄﾌｧｲﾙの編集(&E)", "Ctrl+E"),
    Item(57603, "ﾘｽﾄﾌｧｲﾙの保存(&S)", "Ctrl+S"),
    Item(57604, "ﾘｽﾄﾌｧｲﾙの名前を付けて保存(&A)", "Ctrl+A"),
    Separator(),
    Item(32772, "MIDIデータ一曲選択(&M)", "Ctrl+M"),
    Separator(),
    Item(32809, "データファイルのプロパティ(&P)", "Ctrl+P"),
    Separator(),
    Item(57665, "終了(&X)"),

    Menu("操作(&M)"),
    Item(32775, "PLAY(&P)", "P"),
    Item(32776, "STOP(&T)", "T"),
    Item(32778, "REWIND(&R)", "R"),
    Item(32777, "FF(&F)", "F"),
    Item(32779, "PAUSE(&S)", "S"),
    Separator(),
    Item(32810, "指定曲へジャンプ（リストプレイ時のみ）(&J)", "J"),
    Separator(),
    Submenu("モニタモード(&M)"),
    SubItem(32782, "パネルモニタ1CHとその他モニタ表示(&1)", "Ctrl+Alt+1"),
    SubItem(32783, "パネルモニタ2CH表示(&2)", "Ctrl+Alt+2"),
    Submenu("モニタポート(&P)"),
    SubItem(32780, "ポートA(&A)", "Ctrl+Alt+A"),
    SubItem(32781, "ポートB(&B)", "Ctrl+Alt+B"),
    Separator(),
    Submenu("リストファイルプレイモード(&I)"),
    SubItem(32793, "リピートしない(&N)", "Ctrl+Alt+N"),
    SubItem(32787, "リピートする(&D)", "Ctrl+Alt+D"),
    SubItem(32788, "ランダムプレイ(&R)", "Ctrl+Alt+R"),
    Submenu("一曲リピート(&O)"),
    SubItem(32774, "しない(&E)", "Ctrl+Alt+E"),
    SubItem(32789, "する(&L)", "Ctrl+Alt+L"),
    Separator(),
    Submenu("ドラッグ＆ドロップ時の挙動(&D)"),
    SubItem(32791, "リストファイルを新規作成する(&W)", "Ctrl+Alt+W"),
    SubItem(32790, "リストファイルに追加する(&P)", "Ctrl+Alt+P"),

    Menu("設定(&O)"),
    Item(32773, "MIDIポート設定(&P)", "Ctrl+Shift+P"),
    Item(32784, "タイマー分解能設定(&T)", "Ctrl+Shift+T"),
    Item(32785, "コントロールファイル出力ポート設定(&C)", "Ctrl+Shift+C"),
    Item(32792, "演奏動作設定(&M)", "Ctrl+Shift+M"),
    Item(32795, "仮想MIDIパッチベイ設定(&V)", "Ctrl+Shift+V"),

    Menu("ヘルプ(&H)"),
    Item(57667, "トピックの検索(&H)"),
    Separator(),
    Item(57664, "バージョン情報 Velvasto(&A)..."),
};

constexpr std::array kExtraAccelerators{
    ExtraAccelerator{32794, "Ctrl+Shift+E"},  // file association
    ExtraAccelerator{57670, "F1"},            // help
    ExtraAccelerator{57669, "Shift+F1"},      // context help
};

}  // namespace

std::span<const MenuEntry> MenuTable() { return kMenus; }

std::span<const ExtraAccelerator> ExtraAccelerators() { return kExtraAccelerators; }

}  // namespace velvasto::gui

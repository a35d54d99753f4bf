#pragma once
// The main window's menu bar and accelerators as data: the menus, their items in order with
// command ids, captions (mnemonics marked with "&") and shortcut texts, the separators, and the
// keys that have no menu item. The window builds its menus and key bindings from these tables.

#include <span>
#include <string_view>

namespace velvasto::gui {

// Commands of the frame itself (the view's commands are velvasto::CommandId).
enum class FrameCommand : int {
  Exit = 57665,
  About = 57664,
  HelpIndex = 57667,
  Help = 57670,
  ContextHelp = 57669,
};

// One line of the menu tree, in order. Depth 0 is a menu of the menu bar, depth 1 an item of
// it, depth 2 an item of the submenu above. An entry of id 0 is a separator when it has no
// caption and a submenu when it has one.
struct MenuEntry {
  int depth = 0;
  int id = 0;
  std::string_view caption;
  std::string_view shortcut;  // "" when the item shows none

  bool IsSeparator() const { return id == 0 && caption.empty(); }
  bool IsSubmenu() const { return depth > 0 && id == 0 && !caption.empty(); }
};

std::span<const MenuEntry> MenuTable();

// A key that runs a command although no menu item shows it.
struct ExtraAccelerator {
  int id = 0;
  std::string_view keys;
};

std::span<const ExtraAccelerator> ExtraAccelerators();

}  // namespace velvasto::gui

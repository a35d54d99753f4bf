#pragma once
// The popup menus of the panel's windows and of the volume slider: their commands, each by id
// with its caption, offered at the pointer.

#include <QPoint>
#include <QString>
#include <optional>
#include <span>

class QWidget;

namespace velvasto::gui {

// The commands of the popup menus.
namespace meter_cmd {
inline constexpr int kActiveDotColour = 32796;
inline constexpr int kInactiveDotColour = 32797;
inline constexpr int kTrackColour = 32798;
inline constexpr int kInactiveTrackColour = 32799;
inline constexpr int kTextColour = 32800;
inline constexpr int kBackColour = 32801;
inline constexpr int kDefaultColours = 32802;
}  // namespace meter_cmd

struct PopupItem {
  int id;
  QString text;
  bool operator==(const PopupItem&) const = default;
};

// Shows `items` in their order at `globalPosition` over `owner`; the id of the one chosen, or
// nothing when the menu was left without a choice.
std::optional<int> ChoosePopupItem(QWidget* owner, std::span<const PopupItem> items, const QPoint& globalPosition);

}  // namespace velvasto::gui

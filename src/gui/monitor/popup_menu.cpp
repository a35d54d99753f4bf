#include "gui/monitor/popup_menu.h"

#include <QMenu>

namespace velvasto::gui {

std::optional<int> ChoosePopupItem(QWidget* owner, std::span<const PopupItem> items, const QPoint& globalPosition) {
  QMenu menu(owner);
  for (const PopupItem& item : items) menu.addAction(item.text)->setData(item.id);
  const QAction* chosen = menu.exec(globalPosition);
  if (chosen == nullptr) return std::nullopt;
  return chosen->data().toInt();
}

}  // namespace velvasto::gui

#pragma once
// The main window's commands as Qt actions: one QAction per command id of the menu table and of
// the extra accelerators, the menu bar built from the table, and the enabled, checked and
// caption states of the view's commands taken from the player's query. Every shortcut works
// wherever the focus is in the window; the single letters work without a modifier and with
// Shift (so in either case).

#include <QObject>
#include <functional>
#include <map>

#include "app/command_state.h"

class QAction;
class QMenuBar;
class QWidget;

namespace velvasto::gui {

class CCommandActions final : public QObject {
  Q_OBJECT

 public:
  using Query = std::function<CommandState(CommandId)>;

  // Makes the actions and the menus in `window`'s menu bar; the actions without a menu item are
  // added to `window` itself. `query` gives the states of the view's commands.
  CCommandActions(QWidget& window, QMenuBar& menuBar, Query query);

  // The action of a command id, or null.
  QAction* Action(int id) const;
  // Takes the states of the view's commands from the query again.
  void Refresh();

 signals:
  // A command was chosen (menu, accelerator); the receiver runs it.
  void Triggered(int id);

 private:
  QAction* MakeAction(QWidget& owner, int id, QStringView caption, QStringView shortcut);

  Query query_;
  std::map<int, QAction*> actions_;
};

}  // namespace velvasto::gui

#include "gui/command_actions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QWidget>
#include <algorithm>
#include <array>

#include "gui/menu_table.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

namespace {

// The commands whose menu items carry a check mark: the mode choices.
constexpr std::array kModeCommands{
    CommandId::MonitorOnePanel, CommandId::MonitorTwoPanels, CommandId::MonitorPortA, CommandId::MonitorPortB,
    CommandId::ListNoRepeat,    CommandId::ListRepeat,       CommandId::ListRandom,   CommandId::SingleRepeatOff,
    CommandId::SingleRepeatOn,  CommandId::DropMakesNewList, CommandId::DropAppends,
};

constexpr std::array kFrameCommands{FrameCommand::Exit, FrameCommand::About, FrameCommand::HelpIndex,
                                    FrameCommand::Help, FrameCommand::ContextHelp};

bool IsFrameCommand(int id) {
  return std::ranges::any_of(kFrameCommands, [id](FrameCommand command) { return static_cast<int>(command) == id; });
}

bool IsModeCommand(int id) {
  return std::ranges::any_of(kModeCommands, [id](CommandId command) { return static_cast<int>(command) == id; });
}

// The keys of a shortcut text; a single letter also answers with Shift, so that it works in
// either case.
QList<QKeySequence> KeysOf(QStringView text) {
  const QKeySequence keys = QKeySequence::fromString(text.toString(), QKeySequence::PortableText);
  QList<QKeySequence> all{keys};
  if (text.size() == 1 && text.front().isLetter()) all.append(QKeySequence(Qt::SHIFT | keys[0].key()));
  return all;
}

// The caption part of a menu text "caption\tshortcut".
QString CaptionOf(std::string_view text) { return ToQString(text.substr(0, text.find('\t'))); }

}  // namespace

CCommandActions::CCommandActions(QWidget& window, QMenuBar& menuBar, Query query)
    : QObject(&window), query_(std::move(query)) {
  QMenu* menu = nullptr;
  QMenu* submenu = nullptr;
  for (const MenuEntry& entry : MenuTable()) {
    if (entry.depth == 0) {
      menu = menuBar.addMenu(ToQString(entry.caption));
      connect(menu, &QMenu::aboutToShow, this, &CCommandActions::Refresh);
      continue;
    }
    QMenu* into = entry.depth == 2 ? submenu : menu;
    if (entry.IsSeparator()) {
      into->addSeparator();
    } else if (entry.IsSubmenu()) {
      submenu = into->addMenu(ToQString(entry.caption));
    } else {
      into->addAction(MakeAction(window, entry.id, ToQString(entry.caption), ToQString(entry.shortcut)));
    }
  }
  for (const ExtraAccelerator& extra : ExtraAccelerators()) {
    window.addAction(MakeAction(window, extra.id, QString(), ToQString(extra.keys)));
  }
  Refresh();
}

QAction* CCommandActions::MakeAction(QWidget& owner, int id, QStringView caption, QStringView shortcut) {
  auto* action = new QAction(caption.toString(), &owner);
  if (!shortcut.empty()) action->setShortcuts(KeysOf(shortcut));
  action->setCheckable(IsModeCommand(id));
  connect(action, &QAction::triggered, this, [this, id] { emit Triggered(id); });
  actions_[id] = action;
  return action;
}

QAction* CCommandActions::Action(int id) const {
  const auto found = actions_.find(id);
  return found == actions_.end() ? nullptr : found->second;
}

void CCommandActions::Refresh() {
  for (const auto& [id, action] : actions_) {
    if (IsFrameCommand(id)) continue;
    const CommandState state = query_(static_cast<CommandId>(id));
    action->setEnabled(state.enabled);
    if (action->isCheckable()) action->setChecked(state.checked);
    if (!state.caption.empty()) action->setText(CaptionOf(state.caption));
  }
}

}  // namespace velvasto::gui

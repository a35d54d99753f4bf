#include "gui/settings_commands.h"

#include "gui/child_view.h"
#include "gui/dialogs/dialog_commands.h"

namespace velvasto::gui {

void RunSettingsCommand(CChildView& view, CVelvastoApp& app, CommandId command) {
  if (!view.Query(command).enabled) return;
  QWidget* window = view.window();
  bool accepted = false;
  view.Operate([&](PlayerController&) {
    ErrorReporter& reporter = view.Prompt();
    switch (command) {
      case CommandId::MidiPortSettings:
        accepted = RunMidiPortDialog(window, app, reporter);
        break;
      case CommandId::TimerPeriod:
        accepted = RunTimerPeriodDialog(window, app, reporter);
        break;
      case CommandId::ControlFilePort:
        accepted = RunControlFilePortDialog(window, app);
        break;
      case CommandId::PlayBehaviour:
        accepted = RunPlayModeDialog(window, app, reporter);
        break;
      case CommandId::Patchbay:
        accepted = RunPatchbayDialog(window, app, reporter);
        break;
      default:
        break;
    }
  });
  if (accepted) view.LayOut();
}

void RunListEditorCommand(CChildView& view, CVelvastoApp& app, bool newList) {
  if (!view.Query(newList ? CommandId::NewList : CommandId::EditList).enabled) return;
  view.Operate([&](PlayerController& controller) {
    // Clearing the list told the window that its commands' states changed; Cancel changes
    // nothing more.
    if (newList && !controller.ClearListForNewList()) return;
    if (RunListEditor(view.window(), app, newList, view.Prompt())) controller.ListEditorAccepted(newList);
  });
}

}  // namespace velvasto::gui

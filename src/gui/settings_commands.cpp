#include "gui/settings_commands.h"

#include "gui/child_view.h"
#include "gui/dialogs/dialog_commands.h"
#include "gui/shown_errors.h"

namespace velvasto::gui {

namespace {

// The dialogs of the commands that are enabled only while no song is loaded.
bool RunStoppedSettingsDialog(QWidget* window, CVelvastoApp& app, ErrorReporter& reporter, CommandId command) {
  switch (command) {
    case CommandId::MidiPortSettings:
      return RunMidiPortDialog(window, app, reporter);
    case CommandId::TimerPeriod:
      return RunTimerPeriodDialog(window, app, reporter);
    case CommandId::ControlFilePort:
      return RunControlFilePortDialog(window, app);
    case CommandId::PlayBehaviour:
      return RunPlayModeDialog(window, app, reporter);
    default:
      return false;
  }
}

}  // namespace

void RunSettingsCommand(CChildView& view, CVelvastoApp& app, CommandId command) {
  if (!view.Query(command).enabled) return;
  QWidget* window = view.window();
  bool accepted = false;
  if (command == CommandId::Patchbay) {
    // Open also while a song plays, and the list goes on meanwhile: the dialog edits a copy of
    // the port sets, which becomes the player's only on OK, and the player reads them only when
    // a song starts.
    RunShowingErrors(view.Prompt(), [&] { accepted = RunPatchbayDialog(window, app, view.Prompt()); });
  } else {
    view.Operate([&](PlayerController&) { accepted = RunStoppedSettingsDialog(window, app, view.Prompt(), command); });
  }
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

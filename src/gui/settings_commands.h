#pragma once
// The main window's commands that open a modal dialog over it: the settings dialogs (MIDI ports,
// timer period, control-file ports, play behaviour, patchbay) and the list editor for a new list
// or the present one. A command that is not enabled does nothing.
//
// The list editor and the dialogs that are enabled only while stopped run as one operation of
// the view: nothing the engine or a later start posts meanwhile (a song's end, files handed
// over) changes the list or starts a song under the open dialog; it waits until the dialog has
// closed. The patchbay, open also while a song plays, lets play go on.

#include "app/command_state.h"
#include "app/velvasto_app.h"

namespace velvasto::gui {

class CChildView;

// `command` is one of the five settings commands. After OK the view lays out again, so that the
// status displays show the new settings.
void RunSettingsCommand(CChildView& view, CVelvastoApp& app, CommandId command);

// New list (`newList`): a modified list may be saved first, the list is cleared, and the editor
// starts empty; edit list: the editor starts from the play list. OK makes the edited list the
// play list and the player takes it up; Cancel leaves the list as the command found it (emptied,
// for a new list).
void RunListEditorCommand(CChildView& view, CVelvastoApp& app, bool newList);

}  // namespace velvasto::gui

#pragma once
// The settings commands of the main window, each as one call: run the dialog modally on the
// application's values and, on OK, store its result where the command keeps it. Each returns
// true on OK. Failures are shown through the reporter; nothing is thrown.

#include <optional>

#include "app/velvasto_app.h"
#include "engine/error_reporter.h"
#include "gui/dialogs/list_file_edit_dlg.h"
#include "gui/dialogs/song_file_dialog.h"

class QWidget;

namespace velvasto::gui {

// MIDI ports: the active choice is replaced and saved ("MIDI Port Num", "MIDI Port A",
// "MIDI Port B"; 62012 when the file cannot be written) and becomes the default choice.
bool RunMidiPortDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter);
// Timer period: the period in use (stored in the settings file at exit).
bool RunTimerPeriodDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter);
// Control-file ports: "CM6 Port", "GSD Port", "GSD2 Port" of the settings block.
bool RunControlFilePortDialog(QWidget* parent, CVelvastoApp& app);
// Play behaviour: the map, reset and loop settings of the block, and GM System Off.
bool RunPlayModeDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter);
// Patchbay: the port sets, saved by the dialog itself.
bool RunPatchbayDialog(QWidget* parent, CVelvastoApp& app, ErrorReporter& reporter);
// List editor on the play list (`newList`: starting empty); on OK the edited list replaces the
// play list, its random history emptied.
bool RunListEditor(QWidget* parent, CVelvastoApp& app, bool newList, ErrorReporter& reporter,
                   SongFilesChooser chooseFiles = ChooseSongFiles);
// Jump: the chosen entry's place (−1 when the list offers none); nothing when cancelled.
std::optional<int> ChooseListEntry(QWidget* parent, const CPlayList& list);
void ShowAboutBox(QWidget* parent);

}  // namespace velvasto::gui

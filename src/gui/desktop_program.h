#pragma once
// The desktop program from its command line to its end.
//
// Start-up: the command line, the single instance (a later start hands its request to the
// running window and ends at once, before any window toolkit is started), the settings; then
// Qt in Japanese, the main window at its stored position, shown before the start-up's files
// are opened, and offered to the desktop's media controls on the session bus. Shutdown: the
// settings written. Errors of the start-up are shown in a message box and end the program with
// status 1. A start with /Uninstall only gives the user's file types back, without a window
// (status 0, or 1 after a failure it has shown).

#include "app/velvasto_app.h"

namespace velvasto::gui {

class CMainFrame;

int RunDesktopProgram(int argc, char** argv);

// The running instance takes the requests of later starts into `frame` (its listener thread
// hands each one to the window's thread).
void ListenForHandOvers(CVelvastoApp& app, CMainFrame& frame);

}  // namespace velvasto::gui

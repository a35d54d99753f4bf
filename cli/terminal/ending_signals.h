#pragma once
// Ctrl-C (SIGINT), SIGTERM and SIGHUP while a command writes a file (convert, render, a list, the
// settings, a recording): the temporary file of every write in progress is removed, so that
// neither it nor a half-written file stays behind and the older file is kept; then the program
// ends as the signal would have ended it. The player's StopSignals takes these signals over
// while it plays, and stops in order.

namespace velvasto::cli {

// Installs the handlers for the rest of the program's life. Call once, at the start.
void RemoveTemporaryFilesOnEndingSignals();

// What a signal that ends the program at once does first: the temporary files of writes in
// progress removed, the terminal restored. Async-signal-safe.
void RemoveTemporaryFilesAndRestoreTerminalNow() noexcept;

}  // namespace velvasto::cli

#pragma once
// The way out for signal handlers: puts the terminal RawTerminal changed back as it found it.

namespace velvasto::cli {

// Async-signal-safe. Does nothing when no RawTerminal is active.
void RestoreTerminalNow() noexcept;

}  // namespace velvasto::cli

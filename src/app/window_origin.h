#pragma once
// Where the main window's top-left corner goes at start-up and where it is kept at exit:
// "POS-X" and "POS-Y" of the settings file, with "POSSHIFT" (when present and not −1) added to
// the top on reading only.

#include "core/cini_file.h"

namespace velvasto {

struct WindowOrigin {
  int left = 0;
  int top = 0;
};

WindowOrigin ReadWindowOrigin(const CINIFile& settings);
// Stores the left and top of the window's normal (restored) position. Throws CErrMessage 11
// (message 62012) when a key cannot be written.
void WriteWindowOrigin(CINIFile& settings, WindowOrigin origin);

}  // namespace velvasto

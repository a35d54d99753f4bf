#pragma once
// The program's icon for its windows, at the sizes window managers and task bars draw it
// (drawn at build time from the icon the desktop entry names, and compiled in), so that an
// unpacked build shows it too.

#include <QIcon>

namespace velvasto::gui {

QIcon ProgramIcon();

}  // namespace velvasto::gui

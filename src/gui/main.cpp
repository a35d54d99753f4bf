// velvasto: the desktop program.

#include "gui/desktop_program.h"

int main(int argc, char** argv) { return velvasto::gui::RunDesktopProgram(argc, argv); }

#pragma once
// The transport buttons' bitmaps, compiled into the program as Qt resources
// (resources/gui/transport/).

#include <QPixmap>
#include <string_view>

#include "app/command_state.h"

namespace velvasto::gui {

// One button's frames (stretched over the button) and icons (20×15, drawn unscaled).
struct ButtonArtwork {
  QPixmap frameNormal;
  QPixmap framePressed;
  QPixmap iconNormal;
  QPixmap iconPressed;
  QPixmap iconDisabled;
};

// The artwork of the button of `command`: PLAY, STOP, FF, REWIND or PAUSE.
ButtonArtwork LoadButtonArtwork(CommandId command);

// One bitmap by its name ("play_lamp", "frame_wide_pressed"). A bitmap that cannot be loaded
// throws CErrMessage with the undefined error's text (62000): the catalogue has no message of
// its own for it.
QPixmap LoadTransportBitmap(std::string_view name);

}  // namespace velvasto::gui

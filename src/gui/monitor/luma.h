#pragma once
// Lightening and darkening a colour by its luminance alone, hue and saturation kept: the colour
// is taken to hue, luminance and saturation on a scale of 0 to 240 and back.

#include "gui/monitor/colour_setting.h"

namespace velvasto::gui {

// `colour` with its luminance moved by `thousandths` of the way: towards black when negative
// (−330 leaves 67 % of it), towards white when positive.
Rgb AdjustLuma(Rgb colour, int thousandths);

}  // namespace velvasto::gui

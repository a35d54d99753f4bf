#pragma once
// The sixteen kinds of panel window: which colours each keeps in the settings file, under which
// keys, and their default values.

#include <optional>
#include <string>

#include "gui/monitor/colour_setting.h"

namespace velvasto::gui {

enum class MeterKind {
  RollA = 1,
  RollB = 2,
  Volume = 3,
  Expression = 4,
  Master = 5,
  Tempo = 6,
  Time = 7,
  Timebase = 8,
  FileCount = 9,
  VolumeSet = 10,
  MonitorPort = 11,
  Loop = 12,
  Repeat = 13,
  DdMode = 14,
  SelectPort = 15,
  Map = 16,
};

// Back: the interior; fore: bars, lit dots and digits; fore-B: unlit bar parts and dots; text:
// labels and values.
enum class ColourRole { Back, Fore, ForeB, Text };

struct MeterColours {
  Rgb back;
  Rgb fore;
  Rgb foreB;
  Rgb text;

  bool operator==(const MeterColours&) const = default;
  Rgb& operator[](ColourRole role);
  const Rgb& operator[](ColourRole role) const;
};

// What a window of `kind` shows with no settings file. A colour without a key is black.
MeterColours DefaultColours(MeterKind kind);

// The settings key of a colour without its channel letter ("Vol Back Color",
// "Rol For-B Color A"), or none when the kind keeps no such colour.
std::optional<std::string> ColourKeyStem(MeterKind kind, ColourRole role);

}  // namespace velvasto::gui

#pragma once
// The lines of `velvasto-cli ports`: every output device in device order, the devices chosen as
// PORT A and PORT B marked in front:
//   A  Velvasto Synth A
//      Velvasto Synth B
//   B  Midi Through Port-0
// The mapper (the settings' "MIDI_MAPPER") is the device called `mapperName`; when no listed
// device has that name it gets a line of its own at the top.

#include <string>
#include <vector>

#include "midiout/midi_port.h"

namespace velvasto::cli {

std::vector<std::string> PortListLines(const CMIDIPort& choice, const std::string& mapperName);

}  // namespace velvasto::cli

#pragma once
// The output devices of the machine as the port model sees them: a numbered list of names, and
// a way to make a device for a listed entry or for the mapper. The real registry lists the
// built-in synthesizer and the MIDI ports; tests list whatever they need.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midiout/midi_out_device.h"

namespace velvasto {

// One output device that answered its query: its device number and its name.
struct DeviceEntry {
  std::uint32_t number;
  std::string name;

  bool operator==(const DeviceEntry&) const = default;
};

class MidiDeviceCatalog {
 public:
  virtual ~MidiDeviceCatalog() = default;

  // One element per device number, in number order: the device's name, or nothing when the
  // device does not answer its query. Never throws for a missing subsystem: no devices then.
  virtual std::vector<std::optional<std::string>> ListDevices() = 0;
  // A closed device for a listed entry (found again by its name when it opens), or for the
  // mapper, the system's default output.
  virtual std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) = 0;
  virtual std::unique_ptr<MidiOutDevice> MakeMapper() = 0;
};

}  // namespace velvasto

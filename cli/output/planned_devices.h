#pragma once
// An output plan as a device catalogue and a port choice over it, for a player that opens its
// devices through a catalogue and a CMIDIPort (the song slot, the player controller: pass
// Devices() as the catalogue and Choice() as the active port choice). The catalogue lists the
// plan's PORT A (and PORT B) as devices 0 (and 1) and makes a fresh device of the plan for
// each open; the choice selects exactly them. A patchbay choosing ports by path would bypass the
// plan: turn it off when --out was given.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/output/output_plan.h"
#include "midiout/device_catalog.h"
#include "midiout/midi_port.h"

namespace velvasto::cli {

class PlannedDevices final : public MidiDeviceCatalog {
 public:
  // `plan` and `devices` (the machine's catalogue, which makes the named devices) must outlive
  // this object.
  PlannedDevices(const OutputPlan& plan, MidiDeviceCatalog& devices);

  std::vector<std::optional<std::string>> ListDevices() override;
  // Device 0 is PORT A's, device 1 PORT B's.
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override;
  // PORT A's device.
  std::unique_ptr<MidiOutDevice> MakeMapper() override;

  const CMIDIPort& Choice() const { return choice_; }

 private:
  const OutputPlan& plan_;
  MidiDeviceCatalog& devices_;
  CMIDIPort choice_;
};

}  // namespace velvasto::cli

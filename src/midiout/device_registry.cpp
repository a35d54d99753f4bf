#include "midiout/device_registry.h"

#include "midiout/backends/jack_client.h"
#include "midiout/backends/jack_midi_device.h"
#include "midiout/backends/live_synth.h"
#include "midiout/backends/rtmidi_device.h"
#include "midiout/backends/synth_input_device.h"

namespace velvasto {

DeviceRegistry::DeviceRegistry(SynthConfig config)
    : synth_(std::make_shared<LiveSynth>(std::move(config))), jack_(std::make_shared<JackClient>()) {}

DeviceRegistry::~DeviceRegistry() = default;

std::vector<std::optional<std::string>> DeviceRegistry::ListDevices() {
  std::vector<std::optional<std::string>> devices{kSynthNameA, kSynthNameB};
  for (std::optional<std::string>& port : ListMidiPorts()) devices.push_back(std::move(port));
  const std::vector<std::string> jackPorts = ListJackMidiInputs();
  devices.insert(devices.end(), jackPorts.begin(), jackPorts.end());
  std::lock_guard lock(jackNamesMutex_);
  jackNames_ = {jackPorts.begin(), jackPorts.end()};
  return devices;
}

std::unique_ptr<MidiOutDevice> DeviceRegistry::MakeDevice(const DeviceEntry& entry) {
  if (entry.name == kSynthNameA) return MakeMapper();
  if (entry.name == kSynthNameB) return std::make_unique<SynthInputDevice>(kSynthNameB, 16, synth_);
  std::lock_guard lock(jackNamesMutex_);
  if (jackNames_.contains(entry.name)) return std::make_unique<JackMidiDevice>(entry.name, jack_);
  return std::make_unique<RtMidiDevice>(entry.name);
}

std::unique_ptr<MidiOutDevice> DeviceRegistry::MakeMapper() {
  return std::make_unique<SynthInputDevice>(kSynthNameA, 0, synth_);
}

}  // namespace velvasto

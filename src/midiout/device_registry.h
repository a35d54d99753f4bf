#pragma once
// The output devices of this machine: the two inputs of the built-in synthesizer first, then
// every MIDI output port of the ALSA sequencer, then every MIDI input port of a running JACK
// server under its JACK name ("client:port"). The mapper, the system's default output, is the
// synthesizer's input A.

#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "midiout/backends/synth_core.h"
#include "midiout/device_catalog.h"

namespace velvasto {

class JackClient;
class LiveSynth;

class DeviceRegistry final : public MidiDeviceCatalog {
 public:
  // Channels 1–16 and 17–32 of the built-in synthesizer.
  static constexpr const char* kSynthNameA = "Velvasto Synth A";
  static constexpr const char* kSynthNameB = "Velvasto Synth B";

  explicit DeviceRegistry(SynthConfig config);
  ~DeviceRegistry() override;

  std::vector<std::optional<std::string>> ListDevices() override;
  // A JACK device for a name the last listing found among the JACK ports, else an ALSA one.
  std::unique_ptr<MidiOutDevice> MakeDevice(const DeviceEntry& entry) override;
  std::unique_ptr<MidiOutDevice> MakeMapper() override;

 private:
  std::shared_ptr<LiveSynth> synth_;
  std::shared_ptr<JackClient> jack_;
  std::mutex jackNamesMutex_;
  std::set<std::string> jackNames_;
};

}  // namespace velvasto

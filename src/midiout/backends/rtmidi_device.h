#pragma once
// External MIDI output ports through RtMidi (the ALSA sequencer on Linux).

#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "midiout/midi_out_device.h"

class RtMidiOut;

namespace velvasto {

// The output ports present, by the names they are remembered by; a port whose name cannot be
// read is listed as nothing. Without a MIDI sequencer the list is empty, with nothing printed.
std::vector<std::optional<std::string>> ListMidiPorts();

// The name a port is remembered by: RtMidi's ALSA name without the trailing client:port
// numbers, which change when devices are plugged in another order.
std::string RememberedPortName(std::string_view rtMidiName);

class RtMidiDevice final : public MidiOutDevice {
 public:
  explicit RtMidiDevice(std::string name);
  ~RtMidiDevice() override;

  const std::string& Name() const override { return name_; }
  // Finds the port by its name now, so a port that went away fails here: CDeviceErrMessage(1003).
  void Open() override;
  void Close() override;
  bool IsOpen() const override { return out_ != nullptr; }
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override;
  // RtMidi sends at once; `done` is set before this returns.
  void SendLong(LongMessage& message, std::uint64_t timeUs) override;
  // Sustain off and All Notes Off on every channel.
  void Reset() override;
  // Reset All Controllers on every channel.
  void ResetControllers() override;

  // What RtMidi reported last; cleared before each call into it.
  struct Failure {
    bool failed = false;
    std::string text;
  };

 private:
  void Send(std::span<const std::uint8_t> bytes, std::int32_t errorCode);
  // Each of `controllers` with value 0 on channels 1 to 16; failures throw 1013.
  void SendToEveryChannel(std::initializer_list<std::uint8_t> controllers);

  std::string name_;
  std::unique_ptr<RtMidiOut> out_;
  Failure failure_;
};

}  // namespace velvasto

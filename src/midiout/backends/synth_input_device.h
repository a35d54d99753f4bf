#pragma once
// One input of the built-in synthesizer: 16 of its 32 channels, reached as an output device.
// The synthesizer behind it is either the live one (sound now) or a renderer (sound into a
// file, placed at the time each message carries).

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "midiout/midi_out_device.h"

namespace velvasto {

// What the two inputs drive.
class SynthTarget {
 public:
  virtual ~SynthTarget() = default;
  // An input opens or closes. Attach throws CDeviceErrMessage(1003) when the synthesizer
  // cannot run.
  virtual void Attach() = 0;
  virtual void Detach() = 0;
  virtual void Short(int firstChannel, std::uint32_t message, std::uint64_t timeUs) = 0;
  virtual void SysEx(int firstChannel, std::span<const std::uint8_t> message, std::uint64_t timeUs) = 0;
  // The input's notes ended and sustain released; its controllers to their defaults.
  virtual void Release(int firstChannel) = 0;
  virtual void ResetControllers(int firstChannel) = 0;
};

class SynthInputDevice final : public MidiOutDevice {
 public:
  // `firstChannel` is 0 for input A (channels 1–16) and 16 for input B (17–32).
  SynthInputDevice(std::string name, int firstChannel, std::shared_ptr<SynthTarget> target);
  ~SynthInputDevice() override;

  const std::string& Name() const override { return name_; }
  void Open() override;
  void Close() override;
  bool IsOpen() const override { return open_; }
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override;
  // The synthesizer takes the bytes at once: `done` is set before this returns.
  void SendLong(LongMessage& message, std::uint64_t timeUs) override;
  void Reset() override;
  void ResetControllers() override;
  // The synthesizer takes any burst: the chase after a seek is not spaced out for it.
  bool NeedsPacing() const override { return false; }

 private:
  std::string name_;
  int firstChannel_;
  std::shared_ptr<SynthTarget> target_;
  bool open_ = false;
};

}  // namespace velvasto

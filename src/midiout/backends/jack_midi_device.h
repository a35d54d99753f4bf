#pragma once
// An external output through JACK: a MIDI input port of the running JACK server ("client:port"),
// reached through an output port of the program's own client. While the song's clock runs, every
// message is played at the frame that stands for its record's time (see FrameSchedule), so
// neither the player's timer nor the JACK period adds jitter.

#include <initializer_list>
#include <memory>
#include <string>

#include "midiout/midi_out_device.h"

namespace velvasto {

class JackClient;
class JackOutputPort;

class JackMidiDevice final : public MidiOutDevice {
 public:
  JackMidiDevice(std::string name, std::shared_ptr<JackClient> client);
  ~JackMidiDevice() override;

  const std::string& Name() const override { return name_; }
  // Throws CDeviceErrMessage(1003) when no server runs or the port is not there.
  void Open() override;
  // Lets every queued message reach the server first.
  void Close() override;
  bool IsOpen() const override { return output_ != nullptr; }
  // Throw CDeviceErrMessage(1007 / 1008) once the server has stopped.
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override;
  // The bytes are queued at once: `done` is set before this returns.
  void SendLong(LongMessage& message, std::uint64_t timeUs) override;
  // Sustain released and All Notes Off on every channel, after everything queued.
  void Reset() override;
  // Reset All Controllers on every channel, after everything queued.
  void ResetControllers() override;
  // Timed messages are played at their record's place on the song's clock.
  void FollowSongClock(const std::optional<SongClock>& clock) noexcept override;

 private:
  void SendToEveryChannel(std::initializer_list<std::uint8_t> controllers);

  std::string name_;
  std::shared_ptr<JackClient> client_;
  std::unique_ptr<JackOutputPort> output_;
};

}  // namespace velvasto

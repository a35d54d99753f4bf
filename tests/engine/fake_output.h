#pragma once
// An output device for engine tests: logs what it is sent, with the song time the engine gave
// and the engine clock's time, and fails or holds messages on request.

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "midiout/midi_out_device.h"

namespace velvasto::test {

struct Sent {
  enum class Kind { Short, Long, Reset };
  Kind kind;
  std::uint32_t message;            // short messages
  std::vector<std::uint8_t> bytes;  // long messages
  std::uint64_t songTimeUs;
  std::uint64_t clockUs;
};

class FakeOutput final : public MidiOutDevice {
 public:
  FakeOutput(const Clock& clock, std::string name) : clock_(clock), name_(std::move(name)) {}

  const std::string& Name() const override { return name_; }
  void Open() override { open_ = true; }
  void Close() override { open_ = false; }
  bool IsOpen() const override { return open_; }
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override;
  void SendLong(LongMessage& message, std::uint64_t timeUs) override;
  void Reset() override;
  bool NeedsPacing() const override { return needsPacing; }

  // Lets a long message held back (holdLongMessages) finish.
  void FinishHeld();

  std::vector<Sent> Log() const;
  // The short messages, in order, optionally only those logged from entry `from` on.
  std::vector<std::uint32_t> Shorts(std::size_t from = 0) const;
  std::size_t LogSize() const;
  void ClearLog();

  bool needsPacing = true;
  // Long messages stay in flight until FinishHeld.
  bool holdLongMessages = false;
  // The short send with this number (0 = first) and every later one throws.
  std::optional<std::size_t> failShortFrom;
  bool failLong = false;
  bool failReset = false;

 private:
  const Clock& clock_;
  std::string name_;
  bool open_ = true;
  mutable std::mutex mutex_;
  std::vector<Sent> log_;
  std::size_t shortCount_ = 0;
  LongMessage* held_ = nullptr;
};

}  // namespace velvasto::test

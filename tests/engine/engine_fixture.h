#pragma once
// An engine on virtual time with two fake output devices: tests move the clock by hand, the
// timers fire as it passes their deadlines, and nothing sleeps.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/errors.h"
#include "engine/playback_engine.h"
#include "engine/virtual_clock.h"
#include "support/expect_error.h"
#include "support/table_stream.h"

namespace velvasto::test {

// Packs a short message as the devices receive it.
constexpr std::uint32_t Msg(std::uint32_t status, std::uint32_t data1, std::uint32_t data2 = 0) {
  return status | data1 << 8 | data2 << 16;
}

// A song built record by record that may also declare control blocks at the head of its table.
class EngineSong final : public TableStream {
 public:
  explicit EngineSong(int portCount = 1) : TableStream(SongSettings{.portCount = portCount}) {}
  // A block of `count` records (markers included) holding `count - 2` messages and lasting `us`.
  void Block(ControlBlock block, std::uint32_t count, std::uint64_t us) { SetControlBlock(block, count, us, count - 2); }
};

struct Sent {
  enum class Kind { Short, Long, Reset, ControllerReset } kind;
  std::uint32_t message;            // short messages
  std::vector<std::uint8_t> bytes;  // long messages
  std::uint64_t songTimeUs;
  std::uint64_t clockUs;
  // The clock time the record falls due at on the song clock the device was last told; none
  // while the song's clock stands.
  std::optional<std::uint64_t> dueUs;
};

// Logs what it is sent with the song time the engine gave, the engine clock's time and when the
// song clock it was told puts the record; fails or holds messages on request. It takes no lock: the engine must never send to one device from two
// threads at once, and ThreadSanitizer reports it if it does.
class FakeOutput final : public MidiOutDevice {
 public:
  explicit FakeOutput(const Clock& clock) : clock_(clock) {}

  const std::string& Name() const override { return name_; }
  void Open() override {}
  void Close() override {}
  bool IsOpen() const override { return true; }
  bool NeedsPacing() const override { return needsPacing; }
  void SendShort(std::uint32_t message, std::uint64_t timeUs) override {
    if (shortsBeforeFailure == 0) throw CMMSystemErrMessage(mmerr::kShortMsg);
    --shortsBeforeFailure;
    log.push_back({Sent::Kind::Short, message, {}, timeUs, clock_.NowUs(), DueUs(timeUs)});
  }
  void SendLong(LongMessage& message, std::uint64_t timeUs) override {
    if (failLong) throw CMMSystemErrMessage(mmerr::kLongMsg);
    log.push_back({Sent::Kind::Long, 0, {message.data.begin(), message.data.end()}, timeUs, clock_.NowUs(), DueUs(timeUs)});
    if (!holdLongMessages) message.done.store(true, std::memory_order_release);
  }
  void Reset() override {
    if (failReset) throw CMMSystemErrMessage(mmerr::kReset);
    log.push_back({Sent::Kind::Reset, 0, {}, 0, clock_.NowUs(), {}});
  }
  void ResetControllers() override {
    if (failReset) throw CMMSystemErrMessage(mmerr::kReset);
    log.push_back({Sent::Kind::ControllerReset, 0, {}, 0, clock_.NowUs(), {}});
  }
  void FollowSongClock(const std::optional<SongClock>& songClock) noexcept override {
    told_.reset();
    if (songClock) told_ = {songClock->songTimeUs, clock_.NowUs() + static_cast<std::uint64_t>(songClock->dueInUs)};
  }
  // The short messages logged from entry `from` on.
  std::vector<std::uint32_t> Shorts(std::size_t from = 0) const {
    std::vector<std::uint32_t> shorts;
    for (std::size_t i = from; i < log.size(); ++i) {
      if (log[i].kind == Sent::Kind::Short) shorts.push_back(log[i].message);
    }
    return shorts;
  }

  std::vector<Sent> log;
  bool needsPacing = true;
  // Long messages stay in flight for good, as on a device that never finishes them.
  bool holdLongMessages = false;
  // Short sends that succeed before every further one throws.
  std::size_t shortsBeforeFailure = SIZE_MAX;
  bool failLong = false;
  bool failReset = false;

 private:
  std::optional<std::uint64_t> DueUs(std::uint64_t timeUs) const {
    if (!told_) return std::nullopt;
    return told_->second + (timeUs - told_->first);
  }

  const Clock& clock_;
  std::string name_ = "fake";
  // The song time and the clock time it falls due at.
  std::optional<std::pair<std::uint64_t, std::uint64_t>> told_;
};

// A notification: message, wParam, lParam.
using Posted = std::tuple<std::uint32_t, std::uint32_t, std::int32_t>;

// Keeps every notification the engine posts. Only for engines on virtual time, where the worker
// and the transport run on the test's thread.
class RecordingSink final : public EngineNotificationSink {
 public:
  void Post(std::uint32_t message, std::uint32_t wParam, std::int32_t lParam) noexcept override {
    posted.emplace_back(message, wParam, lParam);
  }
  // The wParam of every posting of `message`, in order.
  std::vector<std::uint32_t> WParams(std::uint32_t message) const {
    std::vector<std::uint32_t> values;
    for (const auto& [posting, wParam, lParam] : posted) {
      if (posting == message) values.push_back(wParam);
    }
    return values;
  }

  std::vector<Posted> posted;
};

class EngineTest : public ::testing::Test {
 protected:
  static constexpr std::uint32_t kPeriodMs = 5;

  void Start(CMIDIStream& song, StartOptions options = {}) { engine.Start(song, portA, &portB, sink, options); }
  std::vector<MonitorEntry> TakeMonitor() {
    std::vector<MonitorEntry> entries;
    engine.TakeMonitorEntries(entries);
    return entries;
  }

  VirtualClock clock;
  VirtualTimer dispatchTimer{clock}, workerTimer{clock};
  FakeOutput portA{clock}, portB{clock};
  RecordingSink sink;
  PlaybackEngine engine{clock, dispatchTimer, workerTimer, kPeriodMs};
};

}  // namespace velvasto::test

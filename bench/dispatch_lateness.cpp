// Dispatch lateness of the live engine: how long after its scheduled time (the song's start plus
// the record's time) each record reaches its device, with the real periodic timer, at timer
// periods 1 and 5 ms. Prints p50, p99 and the maximum for each period.
//
// Usage: velvasto_bench_dispatch_lateness [seconds of song per period, default 20]

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "engine/live_engine.h"
#include "support/table_stream.h"

namespace velvasto {
namespace {

// Notes the clock time of every short message it receives, into storage reserved beforehand.
class ArrivalRecorder final : public MidiOutDevice {
 public:
  ArrivalRecorder(const Clock& clock, std::size_t capacity) : clock_(clock) { arrivals_.reserve(capacity); }

  const std::string& Name() const override { return name_; }
  void Open() override {}
  void Close() override {}
  bool IsOpen() const override { return true; }
  void SendShort(std::uint32_t, std::uint64_t timeUs) override {
    const std::uint64_t now = clock_.NowUs();
    if (arrivals_.size() < arrivals_.capacity()) arrivals_.push_back({timeUs, now});
  }
  void SendLong(LongMessage& message, std::uint64_t) override { message.done.store(true); }
  void Reset() override {}
  void ResetControllers() override {}

  struct Arrival {
    std::uint64_t songTimeUs;
    std::uint64_t clockUs;
  };
  // Only read after the engine stopped.
  const std::vector<Arrival>& Arrivals() const { return arrivals_; }

 private:
  const Clock& clock_;
  std::string name_ = "arrival recorder";
  std::vector<Arrival> arrivals_;
};

class EndWaiter final : public EngineNotificationSink {
 public:
  void Post(std::uint32_t message, std::uint32_t, std::int32_t) noexcept override {
    if (message != UM_SONG_END && message != UM_ENGINE_ERROR) return;
    std::lock_guard lock(mutex_);
    ended_ = true;
    changed_.notify_all();
  }
  void Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return ended_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool ended_ = false;
};

// Pan changes at random times, about 270 a second, off any millisecond grid.
void FillSong(test::TableStream& song, std::uint64_t seconds) {
  std::mt19937_64 random(42);
  std::uniform_int_distribution<std::uint64_t> gap(100, 7'300);
  std::uint64_t time = 0;
  const std::uint64_t end = seconds * 1'000'000;
  for (time = gap(random); time < end; time += gap(random)) {
    song.Short(time, PortId::A, 0xB0, 10, static_cast<std::uint8_t>(time % 128));
  }
  song.End(end);
  song.Build();
}

double Percentile(std::vector<double>& values, double fraction) {
  const auto at = static_cast<std::size_t>(fraction * static_cast<double>(values.size() - 1));
  std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at), values.end());
  return values[at];
}

void Measure(std::uint32_t periodMs, std::uint64_t seconds, bool realTime) {
  test::TableStream song;
  FillSong(song, seconds);
  LiveEngine live(periodMs, realTime ? SteadyPeriodicTimer::Priority::RealTime : SteadyPeriodicTimer::Priority::Normal);
  PlaybackEngine& engine = live.Engine();
  const Clock& clock = live.EngineClock();
  ArrivalRecorder device(clock, song.EventCount());
  EndWaiter end;

  const std::uint64_t startUs = clock.NowUs();
  engine.Start(song, device, nullptr, end, {});
  end.Wait();
  engine.Stop();

  std::vector<double> lateMs;
  for (const auto& arrival : device.Arrivals()) {
    if (arrival.songTimeUs >= song.Events().back().time) break;  // Stop's sound-off
    lateMs.push_back(static_cast<double>(arrival.clockUs - startUs) / 1000.0 -
                     static_cast<double>(arrival.songTimeUs) / 1000.0);
  }
  const double p50 = Percentile(lateMs, 0.50);
  const double p99 = Percentile(lateMs, 0.99);
  const double max = *std::max_element(lateMs.begin(), lateMs.end());
  std::printf("%s, period %2u ms: %zu records, lateness p50 %.3f ms, p99 %.3f ms, max %.3f ms (target p99 <= %.1f ms): %s\n",
              realTime ? "real-time timer" : "normal timer", periodMs, lateMs.size(), p50, p99, max, periodMs + 0.5, p99 <= periodMs + 0.5 ? "met" : "MISSED");
}

}  // namespace
}  // namespace velvasto

int main(int argc, char** argv) {
  const std::uint64_t seconds = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 20;
  if (seconds == 0) {
    std::fprintf(stderr, "usage: %s [seconds of song per period]\n", argv[0]);
    return 2;
  }
  for (const bool realTime : {false, true}) {
    for (const std::uint32_t periodMs : {1u, 5u}) velvasto::Measure(periodMs, seconds, realTime);
  }
  return 0;
}

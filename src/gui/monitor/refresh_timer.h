#pragma once
// CRefreshTimer: a periodic tick for a window (the PLAY lamp's blink, the piano rolls' ageing),
// delivered on the owner's thread as timer events of its event loop, with the timer id as the
// tick's argument. Two loops: the sleeping loop ticks once per interval and drifts by the time
// each tick takes; the catch-up loop wakes every 50 ms and makes up for late wake-ups with a
// burst of ticks, so that the ticks stay on the grid of the start time.

#include <QBasicTimer>
#include <QObject>
#include <cstdint>
#include <functional>

namespace velvasto::gui {

// Ticks the catch-up loop posts on a wake-up, and where its grid starts after them. Times are
// milliseconds of a 32-bit clock; the elapsed time is taken modulo 2^32, so that the clock's
// wrap-around is harmless.
struct CatchUp {
  std::uint32_t ticks = 0;
  std::uint32_t start = 0;
};
CatchUp CatchUpTicks(std::uint32_t start, std::uint32_t now, std::uint32_t interval);

class CRefreshTimer final : public QObject {
 public:
  enum class Loop { Sleeping, CatchUp };
  // How often the catch-up loop looks at the clock.
  static constexpr std::uint32_t kCatchUpWakeMs = 50;

  // `owner` receives each tick with `timerId`; the timer does not run yet.
  CRefreshTimer(std::uint32_t intervalMs, int timerId, std::function<void(int timerId)> owner);
  ~CRefreshTimer() override = default;

  // Not periodic: one tick, then the timer ends by itself. Takes effect at the next Start.
  void SetPeriodic(bool periodic) { periodic_ = periodic; }
  void SetLoop(Loop loop) { loop_ = loop; }

  // Starts ticking; false without an owner. Starting a running timer starts it afresh.
  bool Start();
  // Stops ticking; false for a timer that is not periodic. No tick arrives after it returns.
  bool Stop();
  bool Running() const { return timer_.isActive(); }

  int TimerId() const { return timerId_; }
  std::uint32_t IntervalMs() const { return intervalMs_; }

 protected:
  void timerEvent(QTimerEvent* event) override;

 private:
  // The catch-up loop's clock: milliseconds, wrapping at 2^32.
  static std::uint32_t NowMs();
  void Tick();

  std::uint32_t intervalMs_;
  int timerId_;
  std::function<void(int)> owner_;
  bool periodic_ = true;
  Loop loop_ = Loop::Sleeping;
  QBasicTimer timer_;
  std::uint32_t catchUpStart_ = 0;
};

}  // namespace velvasto::gui

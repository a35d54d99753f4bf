// Where messages to a JACK port land on the server's frame clock: their records' spacing kept
// whatever the sender's lateness, never in the past, in order, and sensible again after the
// song's clock jumps.

#include "midiout/backends/frame_schedule.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace velvasto::test {
namespace {

constexpr std::uint32_t kRate = 48'000;
constexpr std::uint32_t kPeriod = 256;

std::uint32_t Frames(std::uint64_t us) { return static_cast<std::uint32_t>(us * kRate / 1'000'000); }
std::int64_t Distance(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b); }

// A sender on a wall clock in microseconds; the server's frame counter starts at `firstFrame`.
struct Sender {
  explicit Sender(std::uint32_t firstFrame = 1'000) : firstFrame(firstFrame) {}

  FrameSchedule::Clock ClockAt(std::uint64_t wallUs) const { return {firstFrame + Frames(wallUs), kPeriod, kRate}; }
  // Sends a message of the record at `timeUs` at wall time `wallUs`, and checks that it can
  // still reach the server and is not held back longer than the schedule's latency.
  std::uint32_t Send(std::uint64_t timeUs, std::uint64_t wallUs) {
    const FrameSchedule::Clock clock = ClockAt(wallUs);
    const std::uint32_t frame = schedule.Place(timeUs, clock);
    const std::int64_t ahead = Distance(frame, clock.now);
    EXPECT_GE(ahead, kPeriod + Frames(FrameSchedule::kMarginUs)) << "in the past at " << timeUs;
    EXPECT_LE(ahead, kPeriod + Frames(FrameSchedule::kMarginUs + FrameSchedule::kToleratedLatenessUs))
        << "held too long at " << timeUs;
    return frame;
  }

  std::uint32_t firstFrame;
  FrameSchedule schedule;
};

// A timer of 5 ms (the default) sends each record up to a period late, plus a scheduling delay:
// the frames between messages are still those between their records.
TEST(FrameScheduleTest, RecordSpacingSurvivesTheSendersLatenessAndTheCounterWrapping) {
  for (const std::uint32_t firstFrame : {1'000u, 0xFFFF'0000u}) {
    Sender sender(firstFrame);
    const std::uint64_t songStartUs = 2'000'000;
    std::vector<std::pair<std::uint64_t, std::uint32_t>> placed;  // record time, frame
    for (std::uint64_t timeUs = 0; timeUs < 3'000'000; timeUs += 7'919) {
      const std::uint64_t tick = (timeUs + 4'999) / 5'000 * 5'000;
      const std::uint64_t delay = timeUs / 7'919 % 3 == 1 ? 1'700 : 0;
      placed.emplace_back(timeUs, sender.Send(timeUs, songStartUs + tick + delay));
    }
    // The first record falls on a tick: it is sent on time, and the others are placed from it,
    // give or take the estimate's allowance for drift.
    for (const auto& [timeUs, frame] : placed) {
      EXPECT_NEAR(Distance(frame, placed[0].second), static_cast<std::int64_t>(Frames(timeUs)),
                  1 + Frames(timeUs) / FrameSchedule::kDriftDivisor)
          << "record at " << timeUs << " µs, counter from " << firstFrame;
    }
  }
}

// A pause, seeks back and forth, and a lateness beyond what the schedule allows: each message is
// still placed where it can be played, and frames never go backwards.
TEST(FrameScheduleTest, JumpsOfTheSongsClockStartTheEstimateAgain) {
  Sender sender;
  std::uint32_t last = sender.Send(0, 10'000);
  const auto later = [&](std::uint64_t timeUs, std::uint64_t wallUs) {
    const std::uint32_t frame = sender.Send(timeUs, wallUs);
    EXPECT_GE(Distance(frame, last), 0) << timeUs;
    last = frame;
    return frame;
  };
  later(100'000, 110'000);
  const std::uint32_t resumed = later(200'000, 2'110'000);  // after two seconds of pause
  EXPECT_EQ(Distance(later(300'000, 2'210'000), resumed), Frames(100'000)) << "the spacing after the pause";
  later(50'000, 2'300'000);       // a seek back
  later(60'000'000, 2'400'000);   // a seek forward
  later(60'040'000, 2'480'000);   // 40 ms late
  const std::uint32_t onTime = later(60'100'000, 2'500'000);
  EXPECT_EQ(Distance(later(60'110'000, 2'510'000), onTime), Frames(10'000)) << "the spacing is back";
}

// The chase and the reset messages send many messages with one record time, spaced out on the
// sender's clock for slow receivers: that spacing stays. Notes off after a reset come after
// everything queued.
TEST(FrameScheduleTest, MessagesOfOneRecordTimeKeepTheirSendingSpacingAndResetsComeLast) {
  Sender sender;
  const std::uint32_t first = sender.Send(5'000'000, 0);
  EXPECT_EQ(Distance(sender.Send(5'000'000, 0), first), 0) << "a chord";
  EXPECT_EQ(Distance(sender.Send(5'000'000, 3'000), first), Frames(3'000));
  EXPECT_EQ(Distance(sender.Send(5'000'000, 53'000), first), Frames(53'000));

  const std::uint32_t queued = sender.Send(5'100'000, 100'000);
  const std::uint32_t notesOff = sender.schedule.PlaceNow(sender.ClockAt(100'000));
  EXPECT_EQ(notesOff, queued) << "not before what is queued";
  EXPECT_EQ(sender.schedule.PlaceNow(sender.ClockAt(1'000'000)), sender.ClockAt(1'000'000).now + kPeriod + Frames(1'000))
      << "as soon as possible when nothing is queued";
}

}  // namespace
}  // namespace velvasto::test

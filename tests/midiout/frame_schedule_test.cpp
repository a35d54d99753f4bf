// Where messages to a JACK port land on the server's frame clock: at their records' instants on
// the song's clock plus the latency, whatever the sender's lateness and however the server's
// clock runs against the monotonic clock; on the new clock once the song's clock moves; as soon
// as possible, in order, while it stands.

#include "midiout/backends/frame_schedule.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace velvasto::test {
namespace {

constexpr std::uint32_t kRate = 48'000;
constexpr std::uint32_t kPeriod = 256;
// Where the test's time 0 lies on the monotonic clock.
constexpr std::uint64_t kMonotonicOriginUs = 7'000'000'000;

std::uint32_t Frames(std::uint64_t us) { return static_cast<std::uint32_t>(us * kRate / 1'000'000); }
std::int64_t Distance(std::uint32_t a, std::uint32_t b) { return static_cast<std::int32_t>(a - b); }

// From a record's instant to the frame it is played at.
const std::uint32_t kLatencyFrames =
    kPeriod + Frames(FrameSchedule::kMarginUs) + Frames(FrameSchedule::kToleratedLatenessUs);
// How far rounding to whole frames, twice, and measuring the sender's lateness in the server's
// nominal frames may move a message (40 µs).
constexpr std::int64_t kRoundingFrames = 2;
// From the moment a message is sent to the first frame it can be played at.
const std::uint32_t kEarliestFrames = kPeriod + Frames(FrameSchedule::kMarginUs);

// A JACK server whose frame counter starts at `firstFrame` at the test's time 0 and runs `ppm`
// parts per million faster than the monotonic clock, and a sender on the monotonic clock (times
// in microseconds from the test's time 0).
struct Server {
  std::uint32_t firstFrame = 1'000;
  double ppm = 0;
  FrameSchedule schedule;

  std::uint32_t FrameAt(std::uint64_t us) const {
    return firstFrame + static_cast<std::uint32_t>(std::llround(static_cast<double>(us) * kRate * (1 + ppm / 1e6) / 1e6));
  }
  FrameSchedule::Clock ClockAt(std::uint64_t us) const { return {kMonotonicOriginUs + us, FrameAt(us), kPeriod, kRate}; }
  // The song's clock from now on: song time `songTimeUs` falls due at `dueUs`.
  void Follow(std::uint64_t songTimeUs, std::uint64_t dueUs) { schedule.Follow(songTimeUs, kMonotonicOriginUs + dueUs); }
  // Sends a message of the record at `timeUs` at `sentUs`; checks that it is neither in the past
  // nor held longer than the latency and the tolerated lateness again.
  std::uint32_t Send(std::uint64_t timeUs, std::uint64_t sentUs) {
    const FrameSchedule::Clock clock = ClockAt(sentUs);
    const std::uint32_t frame = schedule.Place(timeUs, clock);
    const std::int64_t ahead = Distance(frame, clock.now);
    EXPECT_GE(ahead, kEarliestFrames) << "in the past: record " << timeUs << " sent at " << sentUs;
    EXPECT_LE(ahead, kLatencyFrames + Frames(FrameSchedule::kToleratedLatenessUs))
        << "held too long: record " << timeUs << " sent at " << sentUs;
    return frame;
  }
  // Where a message whose record falls due at `dueUs` belongs: the latency after that instant.
  std::uint32_t Expected(std::uint64_t dueUs) const { return FrameAt(dueUs) + kLatencyFrames; }
};

// When the player's timer, every 5 ms, sends a record due at `dueUs`: at the first run at or
// after it, and every third record a scheduling delay later still.
std::uint64_t SentAt(std::uint64_t dueUs, std::uint64_t k) {
  const std::uint64_t run = (dueUs + 4'999) / 5'000 * 5'000;
  return run + (k % 3 == 1 ? 1'700 : k % 3 == 2 ? 15'000 : 0);
}

TEST(FrameScheduleTest, EachMessageIsPlayedTheLatencyAfterItsRecordsInstantHoweverLateItIsSent) {
  struct Case {
    std::uint32_t firstFrame;
    double ppm;
  };
  // The counter wrapping during the song; a server clock 200 ppm fast or slow over 3 s would
  // pull messages placed from the first one's frame 0.6 ms away.
  for (const auto& [firstFrame, ppm] : {Case{1'000, 0}, Case{0xFFFF'0000u, 0}, Case{1'000, 200}, Case{1'000, -200}}) {
    SCOPED_TRACE("counter from " + std::to_string(firstFrame) + ", server " + std::to_string(ppm) + " ppm");
    Server server{firstFrame, ppm, {}};
    const std::uint64_t songStartUs = 2'000'000;
    server.Follow(0, songStartUs);
    std::uint64_t k = 0;
    for (std::uint64_t timeUs = 0; timeUs < 3'000'000; timeUs += 7'919, ++k) {
      const std::uint32_t frame = server.Send(timeUs, SentAt(songStartUs + timeUs, k));
      ASSERT_NEAR(Distance(frame, server.Expected(songStartUs + timeUs)), 0, kRoundingFrames) << "record at " << timeUs;
    }
  }
}

// The player tells the schedule when its song clock moves. Records sent after the move belong to
// the new clock; what is sent while the clock stands goes out at once, spaced as it was sent,
// but never before what is already queued.
TEST(FrameScheduleTest, RecordsAfterTheSongClockMovesArePlacedOnItsNewInstants) {
  // A message sent while the song's clock stands: when it was sent, and its frame.
  using AtOnce = std::vector<std::pair<std::uint64_t, std::uint32_t>>;
  struct Case {
    std::string what;
    // Moves the clock after the record at 100 ms was sent, and returns the song time from which
    // the song goes on and when that falls due.
    std::function<std::pair<std::uint64_t, std::uint64_t>(Server&, AtOnce&)> move;
  };
  // A burst of messages of one record while the song's clock stands, 3 ms apart.
  const auto standing = [](Server& server, std::uint64_t timeUs, std::uint64_t fromUs, AtOnce& atOnce) {
    server.schedule.Leave();
    for (std::uint64_t sentUs = fromUs; sentUs < fromUs + 12'000; sentUs += 3'000) {
      atOnce.emplace_back(sentUs, server.Send(timeUs, sentUs));
    }
  };
  const std::vector<Case> cases{
      {"the song clock stood 30 ms for a System Exclusive message",
       [](Server& server, AtOnce&) {
         server.Follow(105'000, 135'000);
         return std::pair{105'000ull, 135'000ull};
       }},
      {"paused for two seconds, silenced at once, resumed",
       [&](Server& server, AtOnce& atOnce) {
         standing(server, 100'000, 103'000, atOnce);
         server.Follow(100'000, 2'103'000);
         return std::pair{100'000ull, 2'103'000ull};
       }},
      {"moved forward to a minute in, the controllers chased",
       [&](Server& server, AtOnce& atOnce) {
         standing(server, 60'000'000, 203'000, atOnce);
         server.Follow(60'000'000, 220'000);
         return std::pair{60'000'000ull, 220'000ull};
       }},
      {"moved back to the start, the controllers chased",
       [&](Server& server, AtOnce& atOnce) {
         standing(server, 0, 210'000, atOnce);
         server.Follow(0, 230'000);
         return std::pair{0ull, 230'000ull};
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Server server;
    server.Follow(0, 0);
    std::uint32_t last = 0;
    for (std::uint64_t timeUs = 0; timeUs <= 100'000; timeUs += 10'000) last = server.Send(timeUs, SentAt(timeUs, 0));

    AtOnce atOnce;
    const auto [songTimeUs, dueUs] = c.move(server, atOnce);
    for (const auto& [sentUs, frame] : atOnce) {
      const std::uint32_t earliest = server.FrameAt(sentUs) + kEarliestFrames;
      EXPECT_EQ(frame, Distance(earliest, last) > 0 ? earliest : last) << "sent at " << sentUs << " while the clock stands";
      last = frame;
    }
    for (std::uint64_t k = 0; k < 30; ++k) {
      const std::uint64_t timeUs = songTimeUs + k * 10'000 + 1'234;
      const std::uint64_t due = dueUs + (timeUs - songTimeUs);
      const std::uint32_t frame = server.Send(timeUs, SentAt(due, k));
      EXPECT_NEAR(Distance(frame, server.Expected(due)), 0, kRoundingFrames) << "record at " << timeUs;
      EXPECT_GE(Distance(frame, last), 0) << "record at " << timeUs;
      last = frame;
    }
  }
}

TEST(FrameScheduleTest, WhatTheLatencyDoesNotCoverGoesOutAsSoonAsPossibleAndInOrder) {
  Server server;
  const auto earliest = [&](std::uint64_t sentUs) { return server.FrameAt(sentUs) + kEarliestFrames; };
  EXPECT_EQ(server.Send(0, 0), earliest(0)) << "before the song clock is told";
  EXPECT_EQ(server.Send(0, 50'000), earliest(50'000)) << "the sending spacing is kept";

  server.Follow(0, 100'000);
  EXPECT_EQ(server.Send(0, 140'000), earliest(140'000)) << "sent 40 ms late";
  EXPECT_EQ(server.Send(1'000, 141'000), earliest(141'000)) << "still beyond the latency";
  const std::uint32_t ahead = server.Send(200'000, 150'000);
  EXPECT_EQ(ahead, server.Expected(150'000 + FrameSchedule::kToleratedLatenessUs)) << "due 150 ms ahead";
  EXPECT_EQ(server.Send(20'000, 160'000), ahead) << "not before what is queued";
  EXPECT_EQ(server.schedule.PlaceNow(server.ClockAt(161'000)), ahead) << "notes off after what is queued";
  EXPECT_EQ(server.schedule.PlaceNow(server.ClockAt(1'000'000)), earliest(1'000'000))
      << "notes off as soon as possible when nothing is queued";
}

}  // namespace
}  // namespace velvasto::test

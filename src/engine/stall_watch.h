#pragma once
// Whether a song played on virtual time is stuck behind a System Exclusive message that its
// device never finishes. While a message is in flight the song time stands still; once it is
// done, the engine makes the lost time up. A song dense with such messages may thus run far
// behind the clock and still be healthy: only song time that stands still for the limit, on
// a playing engine, means a message that is not coming back.

#include <cstdint>
#include <optional>


namespace velvasto {

class StallWatch {
 public:
  // Clock time a message may stay in flight.
  static constexpr std::uint64_t kLimitUs = 60'000'000;

  // Looks at the song after the clock has moved on to `clockUs`: whether it plays and its song
  // time; true once the song time has stood still for longer than the limit while it played.
  bool Stalled(bool playing, std::uint64_t songTimeUs, std::uint64_t clockUs);

 private:
  std::optional<std::uint64_t> songTimeUs_;
  std::uint64_t sinceUs_ = 0;
};

}  // namespace velvasto

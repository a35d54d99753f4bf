#include "song/smf_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>

#include "core/atomic_file.h"
#include "core/errors.h"
#include "core/text_codec.h"
#include "song/smf_clock.h"

namespace velvasto {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kMaxTempo = 0xFFFFFF;
constexpr std::uint32_t kMaxDivision = 0x7FFF;
constexpr std::uint32_t kMaxDelta = 0x0FFFFFFF;
// How far the written times may run from the table's before the written tempo turns back.
constexpr double kMaxDriftUs = 200;
// Without a tempo map: 500 ticks a quarter note at 120 beats a minute, a tick a millisecond.
constexpr std::uint32_t kFallbackDivision = 500;
constexpr double kFallbackQuarterUs = 500'000;

void AppendBE(Bytes& out, std::uint32_t value, int bytes) {
  for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void AppendVarLen(Bytes& out, std::uint32_t value) {
  std::array<std::uint8_t, 5> groups{};
  std::size_t count = 0;
  do {
    groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0);
  while (count > 1) out.push_back(groups[--count] | 0x80);
  out.push_back(groups[0]);
}

double StartUs(const TempoMap::Segment& segment) {
  return static_cast<double>(segment.timeUs) + segment.fractionUs;
}

// The written file's ticks and where they lie in the table's time.
class OutputAxis {
 public:
  explicit OutputAxis(const TempoMap& map) {
    if (map.Usable()) {
      map_ = map;
    } else {
      map_.Reset(kFallbackDivision);
      map_.AddSegment({0, 0, 0, kFallbackQuarterUs});
    }
    const auto segments = map_.Segments();
    double longest = 0;
    for (const TempoMap::Segment& segment : segments) longest = std::max(longest, segment.quarterUs);
    quarterSplit_ = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(std::ceil(longest / kMaxTempo)));
    division_ = std::min(map_.TicksPerQuarter(), kMaxDivision);
    ratio_ = static_cast<double>(quarterSplit_) * division_ / map_.TicksPerQuarter();
  }

  const TempoMap& Map() const { return map_; }
  std::uint32_t Division() const { return division_; }
  // Written quarter notes a quarter note of the song lasts (1 but for very slow tempos).
  std::uint32_t QuarterSplit() const { return quarterSplit_; }

  std::uint64_t FromSourceTick(std::uint64_t tick) const {
    return static_cast<std::uint64_t>(std::llround(static_cast<double>(tick) * ratio_));
  }

  // The written tick of table time `timeUs`; times are asked for in order.
  std::uint64_t TickOf(std::uint64_t timeUs) {
    const auto segments = map_.Segments();
    const auto time = static_cast<double>(timeUs);
    while (cursor_ + 1 < segments.size() && StartUs(segments[cursor_ + 1]) <= time) ++cursor_;
    const TempoMap::Segment& segment = segments[cursor_];
    double tick = static_cast<double>(segment.tick) +
                  (time - StartUs(segment)) * map_.TicksPerQuarter() / segment.quarterUs;
    if (cursor_ + 1 < segments.size()) tick = std::min(tick, static_cast<double>(segments[cursor_ + 1].tick));
    tick = std::max(tick, static_cast<double>(segment.tick));
    lastTick_ = std::max(lastTick_, static_cast<std::uint64_t>(std::llround(tick * ratio_)));
    return lastTick_;
  }

  // The table time at which written tick `tick` of segment `index` falls.
  double TargetUs(std::size_t index, std::uint64_t tick) const {
    const TempoMap::Segment& segment = map_.Segments()[index];
    const double sourceTick = static_cast<double>(tick) / ratio_;
    return StartUs(segment) + (sourceTick - static_cast<double>(segment.tick)) * segment.quarterUs / map_.TicksPerQuarter();
  }

 private:
  TempoMap map_;
  std::uint32_t quarterSplit_ = 1;
  std::uint32_t division_ = 0;
  double ratio_ = 1;
  std::size_t cursor_ = 0;
  std::uint64_t lastTick_ = 0;
};

struct TempoEvent {
  std::uint64_t tick;
  std::uint32_t quarterUs;
};

std::uint32_t ClampTempo(double quarterUs) {
  return static_cast<std::uint32_t>(std::clamp(quarterUs, 1.0, static_cast<double>(kMaxTempo)));
}

// The tempo events up to `endTick`. In each segment the written tempo is the segment's tempo in
// whole microseconds; when that is not exact, it is one of the two nearest whole values, the
// one that brings the written time back towards the table's, switched whenever the difference
// reaches kMaxDriftUs.
std::vector<TempoEvent> TempoEvents(const OutputAxis& axis, std::uint64_t endTick) {
  std::vector<TempoEvent> events;
  const auto segments = axis.Map().Segments();
  const double division = axis.Division();
  SmfClock written(axis.Division());
  std::uint64_t tick = 0;
  auto advanceTo = [&written, &tick](std::uint64_t target) {
    while (tick < target) {
      const std::uint64_t step = std::min<std::uint64_t>(target - tick, UINT32_MAX);
      written.Advance(step);
      tick += step;
    }
  };
  auto emit = [&events, &written](std::uint64_t at, std::uint32_t quarterUs) {
    if (!events.empty() && events.back().tick == at) events.pop_back();
    events.push_back({at, quarterUs});
    written.SetTempo(quarterUs);
  };

  for (std::size_t i = 0; i < segments.size(); ++i) {
    const std::uint64_t start = axis.FromSourceTick(segments[i].tick);
    if (start > endTick && i != 0) break;
    const std::uint64_t end = i + 1 < segments.size() ? std::min(axis.FromSourceTick(segments[i + 1].tick), endTick)
                                                      : endTick;
    advanceTo(start);
    const double exact = segments[i].quarterUs / axis.QuarterSplit();
    const std::uint32_t low = ClampTempo(std::floor(exact));
    const std::uint32_t high = ClampTempo(std::ceil(exact));
    for (;;) {
      const double drift = static_cast<double>(written.WholeUs()) + written.FractionUs() - axis.TargetUs(i, tick);
      const std::uint32_t tempo = low == high ? low : drift > 0 ? low : high;
      emit(tick, tempo);
      if (low == high) break;
      // Ticks until the drift reaches the bound on the other side.
      const double slope = (tempo - exact) / division;
      const double bound = tempo == low ? -kMaxDriftUs : kMaxDriftUs;
      const double ticks = std::max(1.0, std::floor((bound - drift) / slope));
      if (static_cast<double>(tick) + ticks >= static_cast<double>(end)) break;
      advanceTo(tick + static_cast<std::uint64_t>(ticks));
    }
  }
  return events;
}

class TrackWriter {
 public:
  // A track of PORT B begins with the port meta event, FF 21 01 01.
  explicit TrackWriter(bool portB = false) : portB_(portB) {}

  bool Used() const { return used_; }

  void Short(std::uint64_t tick, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    Delta(tick);
    if (status != running_) data_.push_back(status);
    running_ = status;
    data_.push_back(data1);
    if ((status & 0xE0) != 0xC0) data_.push_back(data2);
  }
  // A complete message from its F0 on, or bytes to be sent as they stand.
  void SysEx(std::uint64_t tick, std::span<const std::uint8_t> bytes) {
    Delta(tick);
    running_ = 0;
    if (bytes.front() == 0xF0) {
      data_.push_back(0xF0);
      bytes = bytes.subspan(1);
    } else {
      data_.push_back(0xF7);
    }
    AppendVarLen(data_, static_cast<std::uint32_t>(bytes.size()));
    data_.insert(data_.end(), bytes.begin(), bytes.end());
  }
  void Meta(std::uint64_t tick, std::uint8_t type, std::span<const std::uint8_t> bytes) {
    Delta(tick);
    running_ = 0;
    data_.push_back(0xFF);
    data_.push_back(type);
    AppendVarLen(data_, static_cast<std::uint32_t>(bytes.size()));
    data_.insert(data_.end(), bytes.begin(), bytes.end());
  }
  void AppendTo(Bytes& file, std::uint64_t endTick) {
    Meta(endTick, 0x2F, {});
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    AppendBE(file, static_cast<std::uint32_t>(data_.size()), 4);
    file.insert(file.end(), data_.begin(), data_.end());
  }

 private:
  void Delta(std::uint64_t tick) {
    if (!used_ && portB_) {
      data_.insert(data_.end(), {0x00, 0xFF, 0x21, 0x01, 0x01});
    }
    used_ = true;
    // A gap longer than a delta can hold is bridged by empty sequencer-specific events.
    while (tick - lastTick_ > kMaxDelta) {
      AppendVarLen(data_, kMaxDelta);
      data_.insert(data_.end(), {0xFF, 0x7F, 0x00});
      running_ = 0;
      lastTick_ += kMaxDelta;
    }
    AppendVarLen(data_, static_cast<std::uint32_t>(tick - lastTick_));
    lastTick_ = tick;
  }

  Bytes data_;
  std::uint64_t lastTick_ = 0;
  std::uint8_t running_ = 0;
  bool portB_;
  bool used_ = false;
};

// The tracks of one port: its System Exclusive messages, then its 16 channels.
struct PortTracks {
  explicit PortTracks(bool portB) : sysex(portB) { channels.fill(TrackWriter(portB)); }

  TrackWriter sysex;
  std::array<TrackWriter, 16> channels;
};

void WriteConductor(TrackWriter& track, const CMIDIStream& song, const OutputAxis& axis, std::uint64_t endTick) {
  const std::string title = song.Info().title;
  if (!title.empty()) {
    const std::string bytes = Utf8ToCp932(title).value_or(title);
    track.Meta(0, 0x03, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
  }
  const std::vector<TempoEvent> tempos = TempoEvents(axis, endTick);
  // Meters stand for the song's own quarter notes; where those are split they are left out.
  const auto meters = axis.QuarterSplit() == 1 ? axis.Map().Meters() : std::span<const TempoMap::Meter>{};
  std::size_t m = 0;
  for (const TempoEvent& tempo : tempos) {
    for (; m < meters.size() && axis.FromSourceTick(meters[m].tick) <= tempo.tick; ++m) {
      const std::uint8_t signature[] = {meters[m].numerator, meters[m].denominatorPower, 24, 8};
      track.Meta(axis.FromSourceTick(meters[m].tick), 0x58, signature);
    }
    const std::uint8_t value[] = {static_cast<std::uint8_t>(tempo.quarterUs >> 16),
                                  static_cast<std::uint8_t>(tempo.quarterUs >> 8),
                                  static_cast<std::uint8_t>(tempo.quarterUs)};
    track.Meta(tempo.tick, 0x51, value);
  }
  for (; m < meters.size() && axis.FromSourceTick(meters[m].tick) <= endTick; ++m) {
    const std::uint8_t signature[] = {meters[m].numerator, meters[m].denominatorPower, 24, 8};
    track.Meta(axis.FromSourceTick(meters[m].tick), 0x58, signature);
  }
}

}  // namespace

std::vector<std::uint8_t> BuildStandardMidiFile(const CMIDIStream& song) {
  OutputAxis axis(song.Tempos());
  std::array<PortTracks, 2> ports{PortTracks(false), PortTracks(true)};
  std::uint64_t endTick = 0;
  for (const StreamEvent& event : song.Events()) {
    if (event.status == kStatusTempo || event.status == kStatusMarker) continue;
    const std::uint64_t tick = axis.TickOf(event.time);
    endTick = tick;
    if (event.status == kStatusEnd || event.port == PortId::None) continue;
    PortTracks& port = ports[event.port == PortId::B ? 1 : 0];
    const auto status = static_cast<std::uint8_t>(event.message);
    if (event.status == kStatusSysEx) {
      if (const auto bytes = song.SysExData(event); !bytes.empty()) port.sysex.SysEx(tick, bytes);
    } else if (status >= 0x80 && status < 0xF0) {
      port.channels[status & 0x0F].Short(tick, status, static_cast<std::uint8_t>(event.message >> 8),
                                         static_cast<std::uint8_t>(event.message >> 16));
    } else if (status >= 0xF0) {
      // System messages other than exclusives: as they stand, song select with its number.
      const std::uint8_t bytes[] = {status, static_cast<std::uint8_t>(event.message >> 8)};
      port.sysex.SysEx(tick, std::span(bytes).first(status == 0xF3 ? 2 : 1));
    }
  }

  TrackWriter conductor;
  WriteConductor(conductor, song, axis, endTick);
  std::vector<TrackWriter*> tracks{&conductor};
  for (PortTracks& port : ports) {
    if (port.sysex.Used()) tracks.push_back(&port.sysex);
    for (TrackWriter& channel : port.channels) {
      if (channel.Used()) tracks.push_back(&channel);
    }
  }

  Bytes file{'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
  AppendBE(file, static_cast<std::uint32_t>(tracks.size()), 2);
  AppendBE(file, axis.Division(), 2);
  for (TrackWriter* track : tracks) track->AppendTo(file, endTick);
  return file;
}

std::vector<std::uint8_t> WriteStandardMidiFile(const CMIDIStream& song, const std::filesystem::path& path) {
  Bytes bytes = BuildStandardMidiFile(song);
  if (!ReplaceFileAtomically(path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()))) {
    throw CSystemErrMessage(errno);
  }
  return bytes;
}

}  // namespace velvasto

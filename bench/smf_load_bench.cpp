// Loading a large Standard MIDI File into the event table, against libsmf's smf_load on the
// same file. The song: 16 tracks, over a million events; a conductor track with tempo changes,
// 15 instrument tracks with notes under running status, controllers, pitch bends, program
// changes and GS exclusive messages.
//
//   build/default/bench/velvasto_bench --benchmark_filter=SmfLoad
//
// SmfLoadVelvasto reports the table's bytes per record (target: at most 32); SmfLoadRatio runs
// both loaders in each iteration and reports libsmf's time over ours, in thread CPU time and in
// wall time (target: at least 5).

#include <benchmark/benchmark.h>
#include <smf.h>

#include <chrono>
#include <ctime>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "song/midi_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void VarLen(Bytes& out, std::uint32_t value) {
  std::uint8_t groups[4];
  int count = 0;
  do {
    groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value != 0 && count < 4);
  while (count > 1) out.push_back(static_cast<std::uint8_t>(groups[--count] | 0x80));
  out.push_back(groups[0]);
}

void Chunk(Bytes& file, const char* tag, const Bytes& data) {
  file.insert(file.end(), tag, tag + 4);
  for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<std::uint8_t>(data.size() >> shift));
  file.insert(file.end(), data.begin(), data.end());
}

void EndOfTrack(Bytes& track, std::uint32_t delta) {
  VarLen(track, delta);
  track.insert(track.end(), {0xFF, 0x2F, 0x00});
}

// A small linear congruential generator, so that the song is the same on every run.
struct Random {
  std::uint32_t state = 12345;
  std::uint32_t Next(std::uint32_t range) {
    state = state * 1664525u + 1013904223u;
    return (state >> 8) % range;
  }
};

constexpr int kInstrumentTracks = 15;
constexpr int kStepsPerTrack = 27000;  // each step writes about 2.5 events
constexpr std::uint32_t kDivision = 480;

Bytes ConductorTrack(std::uint64_t songTicks) {
  Bytes track;
  const std::string title = "Benchmark song";
  track.insert(track.end(), {0x00, 0xFF, 0x03, static_cast<std::uint8_t>(title.size())});
  track.insert(track.end(), title.begin(), title.end());
  track.insert(track.end(), {0x00, 0xFF, 0x58, 0x04, 0x04, 0x02, 0x18, 0x08});
  // A tempo change every 8 bars, between 90 and 150 beats per minute.
  Random random{777};
  std::uint64_t tick = 0;
  bool first = true;
  while (tick < songTicks) {
    const std::uint32_t micros = 400000 + random.Next(266667);
    VarLen(track, first ? 0 : 8 * 4 * kDivision);
    track.insert(track.end(), {0xFF, 0x51, 0x03, static_cast<std::uint8_t>(micros >> 16),
                               static_cast<std::uint8_t>(micros >> 8), static_cast<std::uint8_t>(micros)});
    tick += first ? 0 : 8 * 4 * kDivision;
    first = false;
  }
  EndOfTrack(track, 0);
  return track;
}

Bytes InstrumentTrack(int index, std::uint64_t& ticks) {
  Random random{static_cast<std::uint32_t>(index) * 7919u};
  const auto channel = static_cast<std::uint8_t>(index % 16);
  Bytes track;
  track.insert(track.end(), {0x00, static_cast<std::uint8_t>(0xB0 | channel), 0x00, 0x00, 0x00, 0x20, 0x00,
                             0x00, static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(index * 5)});
  ticks = 0;
  std::uint32_t pending = 0;  // delta to put before the next event
  for (int step = 0; step < kStepsPerTrack; ++step) {
    const auto note = static_cast<std::uint8_t>(36 + random.Next(48));
    const std::uint32_t length = 60 * (1 + random.Next(4));
    // Note on, then a controller or a bend now and then, then the note off as a note-on of
    // velocity 0 under running status where it can be.
    VarLen(track, pending);
    track.insert(track.end(), {static_cast<std::uint8_t>(0x90 | channel), note,
                               static_cast<std::uint8_t>(40 + random.Next(80))});
    std::uint32_t used = 0;
    const std::uint32_t kind = random.Next(8);
    if (kind < 3) {
      VarLen(track, length / 2);
      used = length / 2;
      track.insert(track.end(), {static_cast<std::uint8_t>(0xB0 | channel), 0x0B,
                                 static_cast<std::uint8_t>(random.Next(128))});
      VarLen(track, length - used);
      track.insert(track.end(), {static_cast<std::uint8_t>(0x90 | channel), note, 0x00});
    } else if (kind == 3) {
      VarLen(track, length / 2);
      used = length / 2;
      track.insert(track.end(), {static_cast<std::uint8_t>(0xE0 | channel), static_cast<std::uint8_t>(random.Next(128)),
                                 static_cast<std::uint8_t>(random.Next(128))});
      VarLen(track, length - used);
      track.insert(track.end(), {static_cast<std::uint8_t>(0x90 | channel), note, 0x00});
    } else {
      VarLen(track, length);
      track.insert(track.end(), {note, 0x00});  // running status
    }
    ticks += length;
    pending = random.Next(3) * 30;
    ticks += pending;
    if (step % 500 == 499) {
      // GS reverb level of the part: F0 41 10 42 12 40 1x 22 vv sum F7.
      const std::uint8_t block = static_cast<std::uint8_t>(0x10 | ((channel + 1) & 0x0F));
      const auto value = static_cast<std::uint8_t>(random.Next(128));
      const auto sum = static_cast<std::uint8_t>((0u - (0x40u + block + 0x22u + value)) & 0x7F);
      VarLen(track, pending);
      track.insert(track.end(), {0xF0, 0x0A, 0x41, 0x10, 0x42, 0x12, 0x40, block, 0x22, value, sum, 0xF7});
      pending = 0;
    }
    if (step % 64 == 0) {
      VarLen(track, pending);
      track.insert(track.end(), {static_cast<std::uint8_t>(0xB0 | channel), 0x07,
                                 static_cast<std::uint8_t>(80 + random.Next(48))});
      pending = 0;
    }
  }
  EndOfTrack(track, pending);
  return track;
}

// The song, written once to a temporary file for both loaders.
class SongFile {
 public:
  SongFile() {
    std::vector<Bytes> tracks;
    std::uint64_t longest = 0;
    for (int i = 1; i <= kInstrumentTracks; ++i) {
      std::uint64_t ticks = 0;
      tracks.push_back(InstrumentTrack(i, ticks));
      longest = std::max(longest, ticks);
    }
    Bytes header = {0x00, 0x01, 0x00, static_cast<std::uint8_t>(kInstrumentTracks + 1),
                    static_cast<std::uint8_t>(kDivision >> 8), static_cast<std::uint8_t>(kDivision)};
    Bytes file;
    Chunk(file, "MThd", header);
    Chunk(file, "MTrk", ConductorTrack(longest));
    for (const Bytes& track : tracks) Chunk(file, "MTrk", track);
    path_ = std::filesystem::temp_directory_path() / ("velvasto-bench-" + std::to_string(getpid()) + ".mid");
    std::ofstream(path_, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                 static_cast<std::streamsize>(file.size()));
    size_ = file.size();
  }
  ~SongFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& Path() const { return path_; }
  std::size_t Size() const { return size_; }

 private:
  std::filesystem::path path_;
  std::size_t size_ = 0;
};

const SongFile& Song() {
  static const SongFile song;
  return song;
}

std::uint32_t LoadVelvasto(std::size_t* tableBytes = nullptr) {
  velvasto::CMIDIFile file(velvasto::SongSettings{});
  if (!file.Load(Song().Path())) return 0;
  if (tableBytes != nullptr) *tableBytes = file.TableBytes();
  return file.EventCount();
}

int LoadLibsmf() {
  smf_t* smf = smf_load(Song().Path().c_str());
  if (smf == nullptr) return -1;
  int events = 0;
  for (int i = 1; i <= smf->number_of_tracks; ++i) events += smf_get_track_by_number(smf, i)->number_of_events;
  smf_delete(smf);
  return events;
}

void SmfLoadVelvasto(benchmark::State& state) {
  std::uint32_t records = 0;
  std::size_t tableBytes = 0;
  for (auto _ : state) {
    records = LoadVelvasto(&tableBytes);
    benchmark::DoNotOptimize(records);
  }
  state.counters["records"] = records;
  state.counters["bytes_per_record"] = static_cast<double>(tableBytes) / records;
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Song().Size()));
}

// CPU time of the calling thread: the loaders are single-threaded, and a busy machine then
// disturbs the ratio less than it disturbs wall time.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void SmfLoadRatio(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  double oursCpu = 0, theirsCpu = 0, oursWall = 0, theirsWall = 0;
  int libsmfEvents = 0;
  for (auto _ : state) {
    const double cpu0 = ThreadSeconds();
    const auto wall0 = Clock::now();
    benchmark::DoNotOptimize(LoadVelvasto());
    const double cpu1 = ThreadSeconds();
    const auto wall1 = Clock::now();
    libsmfEvents = LoadLibsmf();
    const double cpu2 = ThreadSeconds();
    const auto wall2 = Clock::now();
    oursCpu += cpu1 - cpu0;
    theirsCpu += cpu2 - cpu1;
    oursWall += std::chrono::duration<double>(wall1 - wall0).count();
    theirsWall += std::chrono::duration<double>(wall2 - wall1).count();
  }
  if (libsmfEvents < 0) state.SkipWithError("libsmf could not load the song");
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["libsmf_events"] = libsmfEvents;
  state.counters["velvasto_cpu_ms"] = 1e3 * oursCpu / iterations;
  state.counters["libsmf_cpu_ms"] = 1e3 * theirsCpu / iterations;
  state.counters["ratio_cpu"] = theirsCpu / oursCpu;
  state.counters["ratio_wall"] = theirsWall / oursWall;
}

}  // namespace

BENCHMARK(SmfLoadVelvasto)->Unit(benchmark::kMillisecond);
BENCHMARK(SmfLoadRatio)->Unit(benchmark::kMillisecond);

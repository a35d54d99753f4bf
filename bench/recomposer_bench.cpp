// Load time of Recomposer songs: reading and both conversion passes of a 36-track song of ten
// minutes (tempo 120, time base 48, 300 measures of 4/4) with sixteenth-note chords on every
// track, nested loops, same-measure references, user and track exclusives and controller
// changes in every measure. Target: under 50 ms a song.
//   build/default/bench/velvasto_recomposer_bench

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

#include "song/g36_file.h"
#include "support/recomposer_builder.h"

namespace {

using velvasto::test::Bytes;
using velvasto::test::G36Builder;
using velvasto::test::RcpBuilder;

constexpr int kTracks = 36;
constexpr std::uint16_t kSixteenth = 12;

// One measure: 16 sixteenths of a two-note chord, a controller change and a measure end.
void Measure(velvasto::test::RecomposerTrack& track, std::uint8_t root) {
  track.Control(0, 0x0B, static_cast<std::uint8_t>(100 + root % 20));
  for (int i = 0; i < 16; ++i) {
    const auto note = static_cast<std::uint8_t>(root + (i * 7) % 12);
    track.Note(0, note, 10, 100).Note(kSixteenth, static_cast<std::uint8_t>(note + 4), 10, 90);
  }
  track.MeasureEnd();
}

// 300 measures: after the set-up and a first measure, 14 rounds of 5 rounds of a phrase of 4
// measures (the last a reference to the first), then 4 rounds of 4 measures, then 3 measures.
template <typename Builder>
Bytes TenMinuteSong(std::uint16_t (*referenceTo)(std::uint16_t recordIndex, std::uint16_t measure)) {
  Builder song;
  song.header.tempo = 120;
  song.header.timeBase = 48;
  song.header.userExclusives[0] = {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x00, 0x7F, 0x80, 0x84, 0xF7};
  for (int t = 0; t < kTracks; ++t) {
    auto& track = song.AddTrack().Channel(static_cast<std::uint8_t>(t % 32));
    const auto root = static_cast<std::uint8_t>(36 + t);
    track.Program(0, static_cast<std::uint8_t>(t)).Control(0, 0x07, 100).UserExclusive(0, 0, 0x00, 0x00);
    track.TrackExclusive(0, 0x40, 0x00, {0x41, 0x10, 0x42, 0x12, 0x83, 0x40, 0x01, 0x30, 0x80, 0x84});
    track.MeasureEnd();  // the set-up is a measure of its own (measure 0)
    const auto firstMeasureRecord = static_cast<std::uint16_t>(track.RecordCount());
    Measure(track, root);  // measure 1
    track.LoopStart().LoopStart();
    for (int m = 0; m < 3; ++m) Measure(track, static_cast<std::uint8_t>(root + m));
    track.SameMeasure(referenceTo(firstMeasureRecord, 1)).LoopEnd(5).LoopEnd(14);
    track.LoopStart();
    for (int m = 0; m < 4; ++m) Measure(track, static_cast<std::uint8_t>(root + 2 * m));
    track.LoopEnd(4);
    for (int m = 0; m < 3; ++m) Measure(track, static_cast<std::uint8_t>(root + m % 5));
    track.End();
  }
  return song.Build();
}

template <typename Reader>
void LoadSong(benchmark::State& state, const Bytes& bytes, const char* name) {
  velvasto::SongSettings settings;
  settings.portCount = 2;
  std::uint64_t records = 0;
  std::uint64_t songTimeUs = 0;
  for (auto _ : state) {
    std::unique_ptr<std::FILE, decltype(&std::fclose)> file(
        fmemopen(const_cast<std::uint8_t*>(bytes.data()), bytes.size(), "rb"), &std::fclose);
    Reader reader(settings);
    if (!reader.Load(file.get(), name)) state.SkipWithError("not loaded");
    records = reader.EventCount();
    songTimeUs = reader.PlayTimeUs();
    benchmark::DoNotOptimize(reader.Events().data());
  }
  state.counters["records"] = static_cast<double>(records);
  state.counters["song_s"] = static_cast<double>(songTimeUs) / 1e6;
}

void BM_LoadRcpTenMinutes36Tracks(benchmark::State& state) {
  // RCP references name the record where the measure starts.
  static const Bytes bytes =
      TenMinuteSong<RcpBuilder>([](std::uint16_t recordIndex, std::uint16_t) { return recordIndex; });
  LoadSong<velvasto::CRCPFile>(state, bytes, "bench.rcp");
}
BENCHMARK(BM_LoadRcpTenMinutes36Tracks)->Unit(benchmark::kMillisecond);

void BM_LoadG36TenMinutes36Tracks(benchmark::State& state) {
  // G36 references name the measure.
  static const Bytes bytes =
      TenMinuteSong<G36Builder>([](std::uint16_t, std::uint16_t measure) { return measure; });
  LoadSong<velvasto::CG36File>(state, bytes, "bench.g36");
}
BENCHMARK(BM_LoadG36TenMinutes36Tracks)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

#pragma once
// A song rendered to a WAV file through the built-in synthesizer, offline and as fast as the
// machine allows. The song goes through the very engine that plays it live — dispatch, master
// volume scaling, reset messages, the default channel volume — on virtual time (FastPlayer),
// into the synthesizer's render inputs, which place every message at its song time. PORT A is
// the synthesizer's input A (channels 1–16), PORT B its input B (17–32).
//
// The file holds the song up to its end record, then the synthesizer's release tail: at the
// end the render is finished before the engine stops, so the engine's sound-off does not cut
// the tail.

#include <cstdint>
#include <filesystem>
#include <functional>

#include "engine/playback_engine.h"
#include "midiout/backends/synth_core.h"
#include "song/midi_stream.h"

namespace velvasto::cli {

struct RenderJob {
  SynthConfig synth;
  std::filesystem::path wavPath;
  std::uint32_t sampleRate = 44100;
  StartOptions start;
  std::uint32_t timerPeriodMs = 5;
};

struct RenderResult {
  std::uint64_t frames = 0;
  std::uint32_t sampleRate = 0;
};

// Called now and then with the song time rendered so far.
using RenderProgress = std::function<void(std::uint64_t renderedUs)>;

// Renders `song` (loaded for one or two ports). Throws CDeviceErrMessage(1003) for the
// SoundFont, CSystemErrMessage with the system's reason for the file (a full disk, the
// file-size limit), and what playback throws; the file may then be incomplete (the caller
// removes it).
RenderResult RenderSong(CMIDIStream& song, const RenderJob& job, const RenderProgress& progress);

}  // namespace velvasto::cli

#pragma once
// Where the live synthesizer's sound goes: which of FluidSynth's audio drivers are tried, in
// which order, and starting the first one that works.

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <fluidsynth.h>

namespace velvasto {

// The sound servers running for this user.
struct RunningAudioServers {
  bool pulse = false;  // PulseAudio, or PipeWire's PulseAudio front end
  bool jack = false;   // JACK, or PipeWire's JACK front end
};

// Asks the system without starting anything: a PulseAudio server runs when $PULSE_SERVER names
// one or its socket in the runtime directory (or the system-wide one) takes a connection; a JACK
// server when it takes a client.
RunningAudioServers FindRunningAudioServers();

// The drivers to try, among those FluidSynth `offered`: the running servers first, PulseAudio
// before JACK — a desktop's sound goes through them, ALSA may have no route to them, and a JACK
// server holds the sound card that ALSA would open — then FluidSynth's default, then
// its other drivers. Left out: drivers of servers that do not run (their client libraries may
// start one), front ends that only reach those same servers (SDL, PortAudio), and "file", which
// writes a file instead of sounding.
std::vector<std::string> AudioDriverOrder(std::span<const std::string> offered, std::string_view fluidDefault,
                                          const RunningAudioServers& running);

struct AudioDriverDeleter {
  void operator()(fluid_audio_driver_t* driver) const { delete_fluid_audio_driver(driver); }
};
using AudioDriver = std::unique_ptr<fluid_audio_driver_t, AudioDriverDeleter>;

// Starts the audio of `synth`: through `requested` alone when it is not empty, otherwise through
// the first driver of AudioDriverOrder that starts. Through JACK the synthesizer's outputs are
// connected to the server's playback ports. Throws CNoAudioOutputErrMessage(1003) with
// each driver's answer when none does.
AudioDriver StartAudioDriver(fluid_settings_t* settings, fluid_synth_t* synth, const std::string& requested);

}  // namespace velvasto

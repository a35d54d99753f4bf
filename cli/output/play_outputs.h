#pragma once
// Opening the outputs for live play, with the answer a machine without sound needs: when the
// built-in synthesizer finds no audio output, one line says so and points to `render`, at once
// (the synthesizer gives up on a missing audio device without waiting), and the player exits
// with status 1:
//   velvasto-cli: no audio output could be started (<what the audio system said>); write the
//   song to a WAV file instead: velvasto-cli render <song> -o <song>.wav
// (one line). Other failures print the error as error_output.h does.
//
// A player that opens its devices itself (the player controller) calls OpenPlayOutputs first
// and lets the result go: the synthesizer keeps its SoundFont loaded for the second opening.

#include <memory>
#include <string>
#include <string_view>

#include "cli/output/output_plan.h"
#include "midiout/opened_ports.h"

namespace velvasto::cli {

// The one line for a machine without audio output; `song` is the file named in the hint
// ("FILE" when empty), `detail` what the audio system said.
std::string NoAudioOutputLine(std::string_view song, std::string_view detail);

// The outputs of `plan`, opened. Null when they cannot be opened, after the reason was printed
// on standard error: the caller then exits with kExitFileError.
std::unique_ptr<OpenedPorts> OpenPlayOutputs(const OutputPlan& plan, MidiDeviceCatalog& devices, std::string_view song);

}  // namespace velvasto::cli

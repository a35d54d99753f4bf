#include "cli/output/play_outputs.h"

#include <cstdio>
#include <exception>
#include <filesystem>

#include "cli/error_output.h"
#include "midiout/device_error.h"

namespace velvasto::cli {

std::string NoAudioOutputLine(std::string_view song, std::string_view detail) {
  const std::string file = song.empty() ? "FILE" : std::string(song);
  const std::string wav = song.empty() ? "OUT.wav" : std::filesystem::path(song).stem().string() + ".wav";
  const std::string reason = detail.empty() ? "no audio output could be started" : std::string(detail);
  return "velvasto-cli: " + reason + "; write the song to a WAV file instead: velvasto-cli render " + file + " -o " + wav;
}

std::unique_ptr<OpenedPorts> OpenPlayOutputs(const OutputPlan& plan, MidiDeviceCatalog& devices, std::string_view song) {
  try {
    return plan.Open(devices);
  } catch (const CNoAudioOutputErrMessage& e) {
    std::fprintf(stderr, "%s\n", NoAudioOutputLine(song, e.Detail()).c_str());
  } catch (...) {
    PrintCurrentException(std::current_exception());
  }
  return nullptr;
}

}  // namespace velvasto::cli

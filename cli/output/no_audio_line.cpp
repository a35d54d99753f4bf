#include "cli/output/no_audio_line.h"

#include <filesystem>

namespace velvasto::cli {

std::string NoAudioOutputLine(std::string_view song, std::string_view detail) {
  const std::string file = song.empty() ? "FILE" : std::string(song);
  const std::string wav = song.empty() ? "OUT.wav" : std::filesystem::path(song).stem().string() + ".wav";
  const std::string reason = detail.empty() ? "no audio output could be started" : std::string(detail);
  return "velvasto-cli: " + reason + "; write the song to a WAV file instead: velvasto-cli render " + file + " -o " + wav;
}

}  // namespace velvasto::cli

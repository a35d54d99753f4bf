#pragma once
// The answer a machine without sound needs. When the built-in synthesizer finds no audio output
// (it throws CNoAudioOutputErrMessage at once, without waiting for a device), the player prints
// this one line and exits with status 1:
//   velvasto-cli: no audio output could be started (<what the audio system said>); write the
//   song to a WAV file instead: velvasto-cli render <song> -o <song>.wav

#include <string>
#include <string_view>

namespace velvasto::cli {

// `song` is the file named in the hint ("FILE" when empty), `detail` what the audio system said
// (the error's Detail()).
std::string NoAudioOutputLine(std::string_view song, std::string_view detail);

}  // namespace velvasto::cli

#pragma once
// A failure of an output device that says more than the catalogue's text: which SoundFont,
// which port, what the audio system answered. The catalogue code and text are those of
// CMMSystemErrMessage, so every catcher of the error classes handles it; a command line can
// print the detail beside the message.

#include <cstdint>
#include <string>

#include "core/errors.h"

namespace velvasto {

class CDeviceErrMessage : public CMMSystemErrMessage {
 public:
  CDeviceErrMessage(std::int32_t code, std::string detail) : CMMSystemErrMessage(code), detail_(std::move(detail)) {}

  const std::string& Detail() const { return detail_; }

 private:
  std::string detail_;
};

// The built-in synthesizer found no audio output to play through (no sound card, no sound
// server). A terminal player can then suggest rendering to a file instead.
class CNoAudioOutputErrMessage final : public CDeviceErrMessage {
 public:
  using CDeviceErrMessage::CDeviceErrMessage;
};

}  // namespace velvasto

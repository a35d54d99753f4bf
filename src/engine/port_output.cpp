#include "engine/port_output.h"

#include "core/errors.h"

namespace velvasto {

void SendShortOrThrow(MidiOutDevice& device, std::uint32_t message, std::uint64_t timeUs) {
  try {
    device.SendShort(message, timeUs);
  } catch (...) {
    throw CMMSystemErrMessage(mmerr::kShortMsg);
  }
}

void ResetOrThrow(MidiOutDevice& device) {
  try {
    device.Reset();
  } catch (...) {
    throw CMMSystemErrMessage(mmerr::kReset);
  }
}

void ResetControllersOrThrow(MidiOutDevice& device) {
  try {
    device.ResetControllers();
  } catch (...) {
    throw CMMSystemErrMessage(mmerr::kReset);
  }
}

void SendSoundOff(MidiOutDevice& device, std::uint64_t timeUs) {
  for (std::uint32_t channel = 0; channel < 16; ++channel) {
    for (const std::uint32_t controller : {64u, 66u, 123u, 120u}) {
      SendShortOrThrow(device, 0xB0u | channel | controller << 8, timeUs);
    }
  }
}

}  // namespace velvasto

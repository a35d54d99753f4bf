#pragma once
// The reset messages that may be sent to the sound modules before a song starts.

#include <cstdint>
#include <span>
#include <vector>

namespace velvasto {

struct SettingsBlock;

// Which reset messages to send. Each is a play-mode setting ("CM Reset Send", "GS Reset Send",
// "XG System On Send", "GM1 System On Send", "GM2 System On Send"), except GM System Off, which
// the application keeps only until it ends.
struct ResetSwitches {
  bool cmReset = false;
  bool gsReset = false;
  bool xgSystemOn = false;
  bool gm1SystemOn = false;
  bool gm2SystemOn = false;
  bool gmSystemOff = false;
};

// The complete messages (F0 .. F7) of the enabled switches, in the order they are sent:
// CM reset, GS reset, XG System On, GM1 System On, GM2 System On, GM System Off.
std::vector<std::span<const std::uint8_t>> EnabledResetMessages(const ResetSwitches& switches);

// The switches of the settings block, with the application's GM System Off flag.
ResetSwitches ResetSwitchesOf(const SettingsBlock& settings, bool gmSystemOff);

}  // namespace velvasto

#include "engine/reset_messages.h"

#include <array>

#include "core/settings_block.h"

namespace velvasto {

namespace {

constexpr std::array<std::uint8_t, 11> kCmReset{0xF0, 0x41, 0x10, 0x16, 0x12, 0x7F, 0x00, 0x00, 0x00, 0x01, 0xF7};
constexpr std::array<std::uint8_t, 11> kGsReset{0xF0, 0x41, 0x10, 0x42, 0x12, 0x40, 0x00, 0x7F, 0x00, 0x41, 0xF7};
constexpr std::array<std::uint8_t, 9> kXgSystemOn{0xF0, 0x43, 0x10, 0x4C, 0x00, 0x00, 0x7E, 0x00, 0xF7};
constexpr std::array<std::uint8_t, 6> kGm1SystemOn{0xF0, 0x7E, 0x7F, 0x09, 0x01, 0xF7};
constexpr std::array<std::uint8_t, 6> kGm2SystemOn{0xF0, 0x7E, 0x7F, 0x09, 0x03, 0xF7};
constexpr std::array<std::uint8_t, 6> kGmSystemOff{0xF0, 0x7E, 0x7F, 0x09, 0x02, 0xF7};

}  // namespace

std::vector<std::span<const std::uint8_t>> EnabledResetMessages(const ResetSwitches& switches) {
  std::vector<std::span<const std::uint8_t>> messages;
  if (switches.cmReset) messages.emplace_back(kCmReset);
  if (switches.gsReset) messages.emplace_back(kGsReset);
  if (switches.xgSystemOn) messages.emplace_back(kXgSystemOn);
  if (switches.gm1SystemOn) messages.emplace_back(kGm1SystemOn);
  if (switches.gm2SystemOn) messages.emplace_back(kGm2SystemOn);
  if (switches.gmSystemOff) messages.emplace_back(kGmSystemOff);
  return messages;
}

ResetSwitches ResetSwitchesOf(const SettingsBlock& settings, bool gmSystemOff) {
  return {.cmReset = settings.cmResetSend != 0,
          .gsReset = settings.gsResetSend != 0,
          .xgSystemOn = settings.xgSystemOnSend != 0,
          .gm1SystemOn = settings.gm1SystemOnSend != 0,
          .gm2SystemOn = settings.gm2SystemOnSend != 0,
          .gmSystemOff = gmSystemOff};
}

}  // namespace velvasto

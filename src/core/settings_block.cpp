#include "core/settings_block.h"

#include <string_view>

#include "core/cini_file.h"
#include "core/errors.h"

namespace velvasto {
namespace {

struct IntKey {
  std::string_view name;
  int SettingsBlock::*field;
  int def;
};

struct StringKey {
  std::string_view name;
  std::string SettingsBlock::*field;
  std::string_view def;
};

// The order in which the block is read and written.
constexpr IntKey kIntKeys[] = {
    {"Monitor Port", &SettingsBlock::monitorPort, 0},
    {"Monitor Mode", &SettingsBlock::monitorMode, 0},
    {"CM6 Port", &SettingsBlock::cm6Port, 1},
    {"GSD Port", &SettingsBlock::gsdPort, 1},
    {"GSD2 Port", &SettingsBlock::gsd2Port, 0},
    {"Loop Mode", &SettingsBlock::loopMode, 0},
    {"DD Mode", &SettingsBlock::ddMode, 0},
    {"Map Mode", &SettingsBlock::mapMode, 0},
    {"Force Map", &SettingsBlock::forceMap, 0},
    {"55 Adjust", &SettingsBlock::adjust55, 0},
    {"RCP Loop Limit", &SettingsBlock::rcpLoopLimit, 255},
    {"CM Reset Send", &SettingsBlock::cmResetSend, 0},
    {"GS Reset Send", &SettingsBlock::gsResetSend, 0},
    {"XG System On Send", &SettingsBlock::xgSystemOnSend, 0},
    {"GM1 System On Send", &SettingsBlock::gm1SystemOnSend, 0},
    {"GM2 System On Send", &SettingsBlock::gm2SystemOnSend, 0},
    {"8850 Fix", &SettingsBlock::fix8850, 0},
    {"Volume Value", &SettingsBlock::volumeValue, 127},
};

constexpr StringKey kStringKeys[] = {
    {"SC-55 MAP Scan String", &SettingsBlock::sc55Scan, "55"},
    {"SC-88 MAP Scan String", &SettingsBlock::sc88Scan, "88N"},
    {"SC-88Pro MAP Scan String", &SettingsBlock::sc88ProScan, "88P"},
};

}  // namespace

void SettingsBlock::Load(const CINIFile& settings) {
  const CINIFile::LoadScope oneReading;
  for (const IntKey& key : kIntKeys) this->*key.field = settings.ReadInt(key.name, key.def);
  for (const StringKey& key : kStringKeys) this->*key.field = settings.ReadString(key.name, key.def);
}

void SettingsBlock::Save(CINIFile& settings) const {
  for (const IntKey& key : kIntKeys) {
    if (!settings.WriteInt(key.name, this->*key.field)) throw CErrMessage(errc::kIniSaveFailed);
  }
  for (const StringKey& key : kStringKeys) {
    if (!settings.WriteString(key.name, this->*key.field)) throw CErrMessage(errc::kIniSaveFailed);
  }
}

}  // namespace velvasto

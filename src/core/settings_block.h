#pragma once
// The settings block: the play-behaviour settings the application reads at start-up and writes
// back when it ends, all from section "Velvasto" of the settings file.

#include <string>

namespace velvasto {

class CINIFile;

struct SettingsBlock {
  int monitorPort = 0;       // "Monitor Port": 0 PORT A, 1 PORT B
  int monitorMode = 0;       // "Monitor Mode": 0 one panel and other monitors, 1 two panels
  int cm6Port = 1;           // "CM6 Port": 0 off, 1 PORT A, 2 PORT B
  int gsdPort = 1;           // "GSD Port"
  int gsd2Port = 0;          // "GSD2 Port"
  int loopMode = 0;          // "Loop Mode": 0 no repeat, 1 repeat, 2 random
  int ddMode = 0;            // "DD Mode": 0 new list, 1 append
  int mapMode = 0;           // "Map Mode"
  int forceMap = 0;          // "Force Map"
  int adjust55 = 0;          // "55 Adjust"
  int rcpLoopLimit = 255;    // "RCP Loop Limit"
  int cmResetSend = 0;       // "CM Reset Send"
  int gsResetSend = 0;       // "GS Reset Send"
  int xgSystemOnSend = 0;    // "XG System On Send"
  int gm1SystemOnSend = 0;   // "GM1 System On Send"
  int gm2SystemOnSend = 0;   // "GM2 System On Send"
  int fix8850 = 0;           // "8850 Fix"
  int volumeValue = 127;     // "Volume Value": 0..127
  std::string sc55Scan = "55";       // "SC-55 MAP Scan String"
  std::string sc88Scan = "88N";      // "SC-88 MAP Scan String"
  std::string sc88ProScan = "88P";   // "SC-88Pro MAP Scan String"

  // Reads every key in the order above; a missing key keeps the default shown.
  void Load(const CINIFile& settings);
  // Writes every key in the same order, the scan strings whether or not they changed. The first
  // write that fails throws CErrMessage(errc::kIniSaveFailed) and the keys after it are not
  // written.
  void Save(CINIFile& settings) const;
};

}  // namespace velvasto

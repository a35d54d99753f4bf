#pragma once
// What a reader needs to know of the settings while it converts a song. The caller fills it
// from the settings block, the active port choice and, for a list entry, the entry's own values.

#include <cstdint>
#include <string>

namespace velvasto {

struct SettingsBlock;

struct SongSettings {
  // Output ports the song uses: 1 (port A only) or 2.
  int portCount = 1;
  // "Map Mode": 0 no map correction, 1 scan automatically, 2 forced.
  int mapMode = 0;
  // "Force Map" as the map dialog stores it: 0 none, 1 SC-88Pro, 2 SC-88, 3 SC-55.
  int forceMap = 0;
  // "55 Adjust": fit bank numbers to the variations the first GS module has.
  bool adjust55 = false;
  // "8850 Fix": turn drum-pitch NRPN settings into exclusive messages.
  bool fix8850 = false;
  // "RCP Loop Limit": how often a loop of count 0, or above the limit, is played.
  int rcpLoopLimit = 255;
  // The map scan strings.
  std::string sc55Scan = "55";
  std::string sc88Scan = "88N";
  std::string sc88ProScan = "88P";
  // Output port of each control-file kind: 0 off, 1 port A, 2 port B.
  int cm6Port = 1;
  int gsdPort = 1;
  int gsd2Port = 0;
};

// The song settings of a single song: the block's values and the number of ports in use.
SongSettings MakeSongSettings(const SettingsBlock& block, int portCount);

}  // namespace velvasto

#include "song/song_settings.h"

#include "core/settings_block.h"

namespace velvasto {

SongSettings MakeSongSettings(const SettingsBlock& block, int portCount) {
  SongSettings settings;
  settings.portCount = portCount;
  settings.mapMode = block.mapMode;
  settings.forceMap = block.forceMap;
  settings.adjust55 = block.adjust55 != 0;
  settings.fix8850 = block.fix8850 != 0;
  settings.rcpLoopLimit = block.rcpLoopLimit;
  settings.sc55Scan = block.sc55Scan;
  settings.sc88Scan = block.sc88Scan;
  settings.sc88ProScan = block.sc88ProScan;
  settings.cm6Port = block.cm6Port;
  settings.gsdPort = block.gsdPort;
  settings.gsd2Port = block.gsd2Port;
  return settings;
}

}  // namespace velvasto

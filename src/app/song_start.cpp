#include "app/song_start.h"

#include <algorithm>

#include "engine/reset_messages.h"

namespace velvasto {

namespace {

// Map mode 0 keeps the settings block's values.
constexpr int kEntryScansMap = 1;
constexpr int kEntryForcesMap = 2;

}  // namespace

SongSettings SongSettingsFor(const SettingsBlock& settings, int portCount, const ListEntry* entry) {
  SongSettings song = MakeSongSettings(settings, portCount);
  if (entry == nullptr) return song;
  if (entry->mapMode == kEntryScansMap) song.mapMode = kEntryScansMap;
  if (entry->mapMode == kEntryForcesMap) {
    song.mapMode = kEntryForcesMap;
    song.forceMap = entry->forceMap;
  }
  song.adjust55 = song.adjust55 || entry->adjust55 != 0;
  return song;
}

SongStart SongStartFor(const CVelvastoApp& app) {
  const CPlayList& list = app.playList;
  const ListEntry* entry =
      app.listPlaying && list.CurrentIndexValid() ? &list.Entry(list.CurrentIndex()) : nullptr;
  SongStart start;
  start.settings = SongSettingsFor(app.settings, app.activePort.PortCount(), entry);
  start.options.masterVolume = static_cast<std::uint32_t>(std::clamp(entry ? entry->volume : app.settings.volumeValue, 0, 127));
  start.options.resets = ResetSwitchesOf(app.settings, app.gmSystemOff);
  start.timerPeriodMs = app.timerPeriods.period;
  return start;
}

}  // namespace velvasto

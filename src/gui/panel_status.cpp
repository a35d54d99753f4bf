#include "gui/panel_status.h"

namespace velvasto::gui {

PanelStatus PanelStatusOf(const CVelvastoApp& app, const std::optional<SongInfo>& song) {
  const SettingsBlock& settings = app.settings;
  PanelStatus status{.fileCount = app.playList.Count(),
                     .timeBase = song ? song->timeBase : 0,
                     .monitorPort = settings.monitorPort,
                     .singleRepeat = app.singleRepeat != 0,
                     .loopMode = settings.loopMode,
                     .ddMode = settings.ddMode,
                     .portSet = {}};
  const CMIDIPortSetCollection& sets = app.portSets;
  if (sets.Use() && sets.Selected() >= 0 && sets.Selected() < sets.SetsInUse())
    status.portSet = sets.Set(sets.Selected()).Label();
  return status;
}

}  // namespace velvasto::gui

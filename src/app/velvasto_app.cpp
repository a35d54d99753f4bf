#include "app/velvasto_app.h"

#include <algorithm>

#include "app/cmd_line_analize.h"
#include "app/runtime_dir.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/settings_location.h"

namespace velvasto {

CVelvastoApp::CVelvastoApp(std::unique_ptr<RandomSource> random) : playList(std::move(random)) {}

CVelvastoApp::StartResult CVelvastoApp::Start(std::span<const std::string> arguments, MidiDeviceCatalog& devices,
                                              const StartupPlaces& places, TimerRange timerRange) {
  closeAfterPlay = false;
  installFlag = false;
  uninstallFlag = false;

  CCmdLineAnalize commandLine;
  commandLine.Analize(arguments);
  openRequest = commandLine.Request();
  installFlag = commandLine.InstallFlag();
  uninstallFlag = commandLine.UninstallFlag();

  instance_ = std::make_unique<CSingleInstance>(places.runtimeFolder.empty() ? InstanceRuntimeDirectory()
                                                                             : places.runtimeFolder);
  if (!instance_->IsPrimary()) {
    instance_->HandOver(openRequest);
    return StartResult::HandedOver;
  }

  CINIFile::SetSettingsPath(places.settingsFile.empty() ? LocateSettingsFile(ExecutablePath()) : places.settingsFile);
  settings.Load(settingsFile_);
  activePort.Load(devices);
  defaultPort = activePort;
  portSets.Load(devices);
  timerPeriods.maximum = std::min(timerRange.maximum, TimerPeriods::kUpperBound);
  timerPeriods.minimum = std::min(timerRange.minimum, timerPeriods.maximum);
  const int configured = settingsFile_.ReadInt("Timer Period", 5);
  timerPeriods.period = configured < static_cast<int>(timerPeriods.minimum) ? timerPeriods.minimum
                        : static_cast<std::uint32_t>(configured) > timerPeriods.maximum
                            ? timerPeriods.maximum
                            : static_cast<std::uint32_t>(configured);
  return StartResult::Primary;
}

void CVelvastoApp::ListenForRequests(CSingleInstance::RequestHandler onRequest) {
  if (IsPrimary()) instance_->Listen(std::move(onRequest));
}

void CVelvastoApp::SaveSettings() {
  settings.Save(settingsFile_);
  if (!settingsFile_.WriteInt("Timer Period", static_cast<int>(timerPeriods.period))) {
    throw CErrMessage(errc::kIniSaveFailed);
  }
}

}  // namespace velvasto

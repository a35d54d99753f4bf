#include "gui/desktop_program.h"

#include <QApplication>
#include <QPointer>
#include <QSessionManager>
#include <QTranslator>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "app/association/associated_types.h"
#include "app/association/file_association.h"
#include "app/window_origin.h"
#include "core/cini_file.h"
#include "core/errors.h"
#include "core/paths.h"
#include "core/settings_location.h"
#include "engine/monotonic_clock.h"
#include "engine/steady_periodic_timer.h"
#include "gui/desktop/program_icon.h"
#include "gui/desktop/window_media_controls.h"
#include "gui/dialog_prompt.h"
#include "gui/ending_signals.h"
#include "gui/japanese_ui.h"
#include "gui/main_frame.h"
#include "gui/qt_text.h"
#include "gui/shown_errors.h"
#include "gui/startup_trace.h"
#include "midiout/backends/synth_core.h"
#include "midiout/device_registry.h"

namespace velvasto::gui {

namespace {

// Shows each error as the start-up shows its own: before there is a window.
class StartupErrorReporter final : public ErrorReporter {
 public:
  void ShowError(const std::string& text) override { ShowErrorBox(nullptr, text); }
};

// Opens the built-in synthesizer on a thread of its own while the window is being made, when the
// ports in use are the synthesizer's, so that the first song finds its SoundFont loaded and its
// audio output running. It stays open until Release (when the start-up's songs have opened
// their own devices): closing the audio output can take a while, and the songs would wait for it
// before opening it again. A failure here is left for the song's own start to report.
class SynthWarmUp {
 public:
  SynthWarmUp(MidiDeviceCatalog& devices, const CMIDIPort& ports) {
    const auto isSynth = [](const std::string& name) {
      return name == CMIDIPort::kMapperName || name == DeviceRegistry::kSynthNameA ||
             name == DeviceRegistry::kSynthNameB;
    };
    if (!isSynth(ports.PortAName()) && !(ports.PortCount() == 2 && isSynth(ports.PortBName()))) return;
    thread_ = std::jthread([&devices](const std::stop_token& release) {
      std::unique_ptr<MidiOutDevice> synth;
      try {
        synth = devices.MakeMapper();
        synth->Open();
      } catch (...) {
        return;
      }
      std::mutex mutex;
      std::unique_lock lock(mutex);
      std::condition_variable_any().wait(lock, release, [] { return false; });
      try {
        synth->Close();
      } catch (...) {
      }
    });
  }
  // Lets the synthesizer go, on the warm-up's own thread.
  void Release() { thread_.request_stop(); }

 private:
  std::jthread thread_;
};

// Qt in Japanese, for as long as the object lives. The windows carry the program's icon, and
// the desktop matches them to the program's desktop entry.
class QtApplication {
 public:
  QtApplication(int& argc, char** argv) : application_(argc, argv) {
    InstallQtJapanese(application_, translator_);
    UseJapaneseFonts();
    QGuiApplication::setDesktopFileName(ToQString(kDesktopId));
    QApplication::setWindowIcon(ProgramIcon());
  }
  int Run() { return QApplication::exec(); }

 private:
  QApplication application_;
  QTranslator translator_;
};

}  // namespace

void ListenForHandOvers(CVelvastoApp& app, CMainFrame& frame) {
  app.ListenForRequests([target = QPointer<CMainFrame>(&frame)](OpenRequest request) {
    // The frame is looked at only on the window's thread.
    QMetaObject::invokeMethod(
        qApp,
        [target, request = std::move(request)]() mutable {
          if (target) target->TakeHandOver(std::move(request));
        },
        Qt::QueuedConnection);
  });
}

int RunDesktopProgram(int argc, char** argv) {
  const std::vector<std::string> arguments(argv + 1, argv + argc);
  const std::unique_ptr<StartupTrace> trace = StartupTrace::FromEnvironment();
  std::unique_ptr<DeviceRegistry> registry;
  MidiDeviceCatalog* devices = nullptr;
  CVelvastoApp app;
  try {
    // The synthesizer's SoundFont comes from the settings file, which start-up then reads whole.
    const std::filesystem::path settingsFile = LocateSettingsFile(ExecutablePath());
    CINIFile::SetSettingsPath(settingsFile);
    registry = std::make_unique<DeviceRegistry>(SynthConfigFromSettings());
    devices = trace ? &trace->Watch(*registry) : registry.get();
    const CVelvastoApp::StartResult started =
        app.Start(arguments, *devices, {.runtimeFolder = {}, .settingsFile = settingsFile});
    // /Uninstall gives the user's file types back and ends without a window, also when another
    // instance runs (it has been brought to the front by then).
    if (app.uninstallFlag) {
      QtApplication qt(argc, argv);
      StartupErrorReporter reporter;
      return RemoveAssociationsOnUninstall(AssociationPlaces::ForThisUser(), reporter);
    }
    if (started == CVelvastoApp::StartResult::HandedOver) return 0;
  } catch (...) {
    const std::string text = CaughtErrorText();
    QtApplication qt(argc, argv);
    ShowErrorBox(nullptr, text);
    return 1;
  }

  SynthWarmUp warmUp(*devices, app.activePort);
  QtApplication qt(argc, argv);
  MonotonicClock clock;
  SteadyPeriodicTimer dispatchTimer(SteadyPeriodicTimer::Priority::RealTime);
  SteadyPeriodicTimer workerTimer;
  std::unique_ptr<CMainFrame> frame;
  try {
    frame = std::make_unique<CMainFrame>(ViewServices{app, *devices, {clock, dispatchTimer, workerTimer}});
  } catch (...) {
    ShowErrorBox(nullptr, CaughtErrorText());
    return 1;
  }
  const WindowOrigin origin = ReadWindowOrigin(CINIFile());
  frame->move(origin.left, origin.top);
  if (trace) trace->WatchFirstPaint(frame->View());
  frame->show();
  frame->Start([&warmUp] { warmUp.Release(); });
  // The media keys and the desktop's media controls, when there is a session bus.
  (new CWindowMediaControls(*frame))->Register(QDBusConnection::sessionBus());
  ListenForHandOvers(app, *frame);
  QObject::connect(qApp, &QGuiApplication::commitDataRequest, frame.get(), [&frame](QSessionManager& session) {
    if (!frame->QueryEndSession(session.allowsInteraction())) session.cancel();
  });
  std::optional<EndingSignals> endingSignals;
  RunShowingErrors(frame->View().Prompt(), [&] { endingSignals.emplace([&frame] { frame->EndWithoutAsking(); }); });
  const int status = qt.Run();
  RunShowingErrors(frame->View().SettingsWriteErrors(), [&app] { app.SaveSettings(); });
  return status;
}

}  // namespace velvasto::gui

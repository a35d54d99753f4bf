#pragma once
// CChildView: the main window's client area and the player's window. It owns the player
// controller and everything the player shows through: the panel monitor, the transport buttons
// and the volume slider (placed by the view layout), the title area and the labels it paints,
// the message boxes and file dialogs, and the pump that brings the engine's notifications to
// this thread.
//
// Every call into the player is made through Operate, which holds the pump (so that no
// notification runs inside a dialog the operation opens) and shows what the operation throws,
// so that no exception reaches the event loop.

#include <QFont>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/player_controller.h"
#include "app/player_view.h"
#include "app/song_slot.h"
#include "app/velvasto_app.h"
#include "gui/dialog_prompt.h"
#include "gui/distinct_error_reporter.h"
#include "gui/monitor/monitor_panel.h"
#include "gui/notification_pump.h"
#include "gui/shown_errors.h"
#include "gui/song_data_windows.h"
#include "gui/transport_widgets.h"
#include "gui/view_layout.h"
#include "midiout/device_catalog.h"

namespace velvasto::gui {

// What the view plays with: the application state, the output devices and what the engines run
// on (the machine's clock and timers, or virtual ones in tests). All outlive the view.
struct ViewServices {
  CVelvastoApp& app;
  MidiDeviceCatalog& devices;
  PlaybackTiming timing;
};

class CChildView final : public QWidget, public PlayerView {
  Q_OBJECT

 public:
  CChildView(const ViewServices& services, QWidget* parent);
  ~CChildView() override;

  // The player takes over: plain title, volume, the start-up's open request, layout.
  void Open();
  // Runs `action` once the view has been painted for the first time (at once if it has been).
  void AfterFirstPaint(std::function<void()> action);

  // Runs `operation(controller)` as one operation of the window (see above).
  template <typename Operation>
  void Operate(Operation&& operation);

  CommandState Query(CommandId command) const { return controller_->Query(command); }
  const PlayerController& Controller() const { return *controller_; }
  NotificationPump& Pump() { return pump_; }
  UserPrompt& Prompt() { return prompt_; }
  const ViewLayout& Layout() const { return layout_; }
  const TransportWidgets& Transport() const { return transport_; }
  SongDataWindows& SongData() { return songData_; }
  const MonitorPanel& Panel() const { return *panel_; }
  // Shows a failed write of the settings file once, however often it fails: closing writes the
  // window's position, the settings and the colours of every panel window and of the slider.
  ErrorReporter& SettingsWriteErrors() { return settingsWriteErrors_; }

  QSize sizeHint() const override;

  // PlayerView.
  void SetWindowTitle(const std::string& title) override;
  void RepaintTitleArea() override;
  void Repaint() override;
  void LayOut() override;
  void CommandStatesChanged() override;
  void SetPlayLamp(bool lit) override;
  void ShowBusy(bool busy) override;
  void ResetMetersForPlay() override;
  void ResetMetersForRepeat() override;
  void ClearMeters() override;
  void SetVolumeSlider(int volume) override;
  void ShowVolumeValue(int volume) override;
  void SetMapDisplay(int map) override;
  void RefreshSongProperties(const SongInfo* info) override;
  void ShowSongProperties(const SongInfo* info) override;
  bool OpenControlFileProgress(int kind, std::uint32_t total) override;
  void SetControlFileProgress(std::uint32_t sent) override;
  void CloseControlFileProgress() override;
  void CloseMainWindow() override;

 signals:
  // The commands' states may have changed (CommandStatesChanged).
  void CommandStatesMayHaveChanged();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void PaintContents();
  void WireTransport();
  void ShowPanelStatus();

  CVelvastoApp& app_;
  QFont bigFont_;
  QFont smallFont_;
  QFont displayFont_;  // the panel's small displays, whose texts set their widths
  LayoutMetrics metrics_;
  ViewLayout layout_;
  CDialogPrompt prompt_;
  DistinctErrorReporter settingsWriteErrors_;
  std::unique_ptr<MonitorPanel> panel_;
  NotificationPump pump_;
  TransportWidgets transport_;
  SongDataWindows songData_;
  bool painted_ = false;
  std::function<void()> afterFirstPaint_;
  // Last: its engine posts to the pump and calls the view until it is gone.
  std::unique_ptr<PlayerController> controller_;
};

template <typename Operation>
void CChildView::Operate(Operation&& operation) {
  const NotificationPump::Hold hold(pump_);
  RunShowingErrors(prompt_, [&] { operation(*controller_); });
}

}  // namespace velvasto::gui

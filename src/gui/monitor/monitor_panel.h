#pragma once
// The panel monitor of the main view: every meter window and status display, made as children
// of the view, fed with the playing song's monitor entries (as the MonitorSink of the player
// controller) and with the player's state by the view. The windows go where the view's layout
// puts them; the status tells which port the level meters monitor; the time meter's seek
// requests come out as a signal.

#include <QObject>
#include <QPointer>
#include <array>
#include <cstdint>
#include <string>

#include "app/monitor_sink.h"
#include "gui/view_layout.h"

class QWidget;

namespace velvasto {
class ErrorReporter;
}

namespace velvasto::gui {

class CMeterWnd;
class CRolMeterWnd;
class CVolBaseMeterWnd;
class CMasterVolMeterWnd;
class CTempoMeterWnd;
class CTimeMeterWnd;
class CFileCountWnd;
class CTimebaseWnd;
class CVolSetWnd;
class CMonPortWnd;
class CLoopWnd;
class CRepWnd;
class CDDModeWnd;
class CSelectPortWnd;
class CMapWnd;

enum class PanelWindow {
  RollA,
  RollB,
  Volume,
  Expression,
  Master,
  Tempo,
  Time,
  FileCount,
  Timebase,
  VolumeDisplay,
  MonitorPort,
  Loop,
  Repeat,
  DdMode,
  PortSet,
  Map,
};
inline constexpr std::size_t kPanelWindowCount = 16;

// The player's state that the panel shows: in the status displays, and as the port (0 A, 1 B)
// whose levels the volume, expression and master meters show.
struct PanelStatus {
  int fileCount = 0;
  std::uint32_t timeBase = 0;
  int monitorPort = 0;
  bool singleRepeat = false;
  int loopMode = 0;
  int ddMode = 0;
  // The label of the patchbay's port set in use; empty when it chose none.
  std::string portSet;
};

class MonitorPanel final : public QObject, public MonitorSink {
  Q_OBJECT

 public:
  // Makes every window as a child of `parent`, which the panel is to go before (it belongs to
  // the parent). Colours that cannot be written back when the windows go are shown through
  // `reporter`, which must outlive the panel.
  MonitorPanel(QWidget* parent, ErrorReporter& reporter);
  // Destroys the windows that still exist; their colours are written back.
  ~MonitorPanel() override;
  MonitorPanel(const MonitorPanel&) = delete;
  MonitorPanel& operator=(const MonitorPanel&) = delete;

  // Puts every window where the view's layout says, shown or hidden.
  void LayOut(const ViewLayout& layout);

  // A song of `songSeconds` starts: rolls cleared, volume and expression at 100, master at 127,
  // tempo 120, time 00:00.
  void ResetForPlay(std::uint32_t songSeconds);
  // The same song starts again: as ResetForPlay, but the rolls keep what they show.
  void ResetForRepeat(std::uint32_t songSeconds);
  // Play stopped: rolls cleared, level and master meters at 0.
  void Clear();

  void ShowStatus(const PanelStatus& status);
  void SetVolumeValue(int volume);
  // 0 none, 1 SC-55, 2 SC-88, 3 SC-88Pro.
  void SetMap(int map);

  CMeterWnd& Window(PanelWindow window) const;

  // MonitorSink.
  void NoteEvent(const MonitorEntry& entry) override;
  void ChannelVolume(const MonitorEntry& entry) override;
  void ChannelExpression(const MonitorEntry& entry) override;
  void Tempo(std::uint32_t beatsPerMinute) override;
  void MasterVolume(std::uint32_t port, std::uint32_t value) override;
  void RepaintPianoRoll(std::uint32_t port) override;
  void PlayTime(std::uint32_t seconds) override;

 signals:
  // The user moved the time meter to `seconds` from the start of the song.
  void SeekRequested(std::uint32_t seconds);

 private:
  CRolMeterWnd* Roll(std::uint32_t port) const;

  QPointer<CRolMeterWnd> rollA_;
  QPointer<CRolMeterWnd> rollB_;
  QPointer<CVolBaseMeterWnd> volume_;
  QPointer<CVolBaseMeterWnd> expression_;
  QPointer<CMasterVolMeterWnd> master_;
  QPointer<CTempoMeterWnd> tempo_;
  QPointer<CTimeMeterWnd> time_;
  QPointer<CFileCountWnd> fileCount_;
  QPointer<CTimebaseWnd> timebase_;
  QPointer<CVolSetWnd> volumeDisplay_;
  QPointer<CMonPortWnd> monitorPort_;
  QPointer<CLoopWnd> loop_;
  QPointer<CRepWnd> repeat_;
  QPointer<CDDModeWnd> ddMode_;
  QPointer<CSelectPortWnd> portSet_;
  QPointer<CMapWnd> map_;
  // The same windows by PanelWindow.
  std::array<QPointer<CMeterWnd>, kPanelWindowCount> windows_;
};

}  // namespace velvasto::gui

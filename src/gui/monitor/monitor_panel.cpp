#include "gui/monitor/monitor_panel.h"

#include <QWidget>

#include "gui/monitor/level_meter_wnd.h"
#include "gui/monitor/map_wnd.h"
#include "gui/monitor/master_vol_meter_wnd.h"
#include "gui/monitor/rol_meter_wnd.h"
#include "gui/monitor/status_wnd.h"
#include "gui/monitor/tempo_meter_wnd.h"
#include "gui/monitor/time_meter_wnd.h"
#include "gui/qt_rect.h"

namespace velvasto::gui {

namespace {

std::size_t Index(PanelWindow window) { return static_cast<std::size_t>(window); }

std::uint32_t ValidPort(int port) { return port == 0 ? 0 : 1; }

}  // namespace

MonitorPanel::MonitorPanel(QWidget* parent, ErrorReporter& reporter)
    : rollA_(new CRolMeterAWnd(reporter, parent)),
      rollB_(new CRolMeterBWnd(reporter, parent)),
      volume_(new CVolMeterWnd(reporter, parent)),
      expression_(new CExpMeterWnd(reporter, parent)),
      master_(new CMasterVolMeterWnd(reporter, parent)),
      tempo_(new CTempoMeterWnd(reporter, parent)),
      time_(new CTimeMeterWnd(reporter, parent)),
      fileCount_(new CFileCountWnd(reporter, parent)),
      timebase_(new CTimebaseWnd(reporter, parent)),
      volumeDisplay_(new CVolSetWnd(reporter, parent)),
      monitorPort_(new CMonPortWnd(reporter, parent)),
      loop_(new CLoopWnd(reporter, parent)),
      repeat_(new CRepWnd(reporter, parent)),
      ddMode_(new CDDModeWnd(reporter, parent)),
      portSet_(new CSelectPortWnd(reporter, parent)),
      map_(new CMapWnd(reporter, parent)),
      windows_{rollA_.data(),    rollB_.data(),         volume_.data(),      expression_.data(),
               master_.data(),   tempo_.data(),         time_.data(),        fileCount_.data(),
               timebase_.data(), volumeDisplay_.data(), monitorPort_.data(), loop_.data(),
               repeat_.data(),   ddMode_.data(),        portSet_.data(),     map_.data()} {
  connect(time_.data(), &CTimeMeterWnd::SeekRequested, this, &MonitorPanel::SeekRequested);
  ShowStatus({});
}

MonitorPanel::~MonitorPanel() {
  for (QPointer<CMeterWnd>& window : windows_) delete window.data();
}

CMeterWnd& MonitorPanel::Window(PanelWindow window) const { return *windows_[Index(window)]; }

CRolMeterWnd* MonitorPanel::Roll(std::uint32_t port) const { return port == 0 ? rollA_.data() : rollB_.data(); }

void MonitorPanel::LayOut(const ViewLayout& layout) {
  const auto place = [this](PanelWindow window, const Placement& placement) {
    CMeterWnd& placed = Window(window);
    placed.setGeometry(ToQRect(placement.rect));
    placed.setVisible(placement.visible);
  };
  place(PanelWindow::RollA, layout.rollA);
  place(PanelWindow::RollB, layout.rollB);
  place(PanelWindow::Volume, layout.volumeMeter);
  place(PanelWindow::Expression, layout.expressionMeter);
  place(PanelWindow::Master, layout.masterMeter);
  place(PanelWindow::Tempo, layout.tempoMeter);
  place(PanelWindow::Time, layout.timeMeter);
  place(PanelWindow::FileCount, layout.Status(StatusDisplay::FileCount));
  place(PanelWindow::Timebase, layout.Status(StatusDisplay::TimeBase));
  place(PanelWindow::VolumeDisplay, layout.Status(StatusDisplay::Volume));
  place(PanelWindow::MonitorPort, layout.Status(StatusDisplay::MonitorPort));
  place(PanelWindow::Loop, layout.Status(StatusDisplay::Loop));
  place(PanelWindow::Repeat, layout.Status(StatusDisplay::Repeat));
  place(PanelWindow::DdMode, layout.Status(StatusDisplay::DropMode));
  place(PanelWindow::PortSet, layout.Status(StatusDisplay::PortSet));
  place(PanelWindow::Map, layout.mapDisplay);
}

void MonitorPanel::ResetForPlay(std::uint32_t songSeconds) {
  rollA_->Reset();
  rollB_->Reset();
  ResetForRepeat(songSeconds);
}

void MonitorPanel::ResetForRepeat(std::uint32_t songSeconds) {
  volume_->ResetForPlay();
  expression_->ResetForPlay();
  master_->ResetForPlay();
  tempo_->SetTempo(CTempoMeterWnd::kStartTempo);
  time_->Reset(songSeconds);
}

void MonitorPanel::Clear() {
  rollA_->Reset();
  rollB_->Reset();
  volume_->Clear();
  expression_->Clear();
  master_->Clear();
}

void MonitorPanel::ShowStatus(const PanelStatus& status) {
  fileCount_->SetCount(status.fileCount);
  timebase_->SetTimeBase(status.timeBase);
  monitorPort_->SetPort(status.monitorPort);
  const std::uint32_t port = ValidPort(status.monitorPort);
  volume_->SetMonitoredPort(port);
  expression_->SetMonitoredPort(port);
  master_->SetMonitoredPort(port);
  loop_->SetOn(status.singleRepeat);
  repeat_->SetLoopMode(status.loopMode);
  ddMode_->SetMode(status.ddMode);
  portSet_->SetPortSet(status.portSet);
}

void MonitorPanel::SetVolumeValue(int volume) { volumeDisplay_->SetValue(static_cast<std::uint32_t>(volume)); }

void MonitorPanel::SetMap(int map) { map_->SetMap(map); }

void MonitorPanel::NoteEvent(const MonitorEntry& entry) { Roll(entry.port)->Take(entry); }

void MonitorPanel::ChannelVolume(const MonitorEntry& entry) {
  volume_->Take(entry.port, entry.channel, entry.value);
  Roll(entry.port)->SetVolume(entry.channel, entry.value);
}

void MonitorPanel::ChannelExpression(const MonitorEntry& entry) {
  expression_->Take(entry.port, entry.channel, entry.value);
  Roll(entry.port)->SetExpression(entry.channel, entry.value);
}

void MonitorPanel::Tempo(std::uint32_t beatsPerMinute) { tempo_->SetTempo(beatsPerMinute); }

void MonitorPanel::MasterVolume(std::uint32_t port, std::uint32_t value) {
  master_->Take(port, value);
  Roll(port)->SetMaster(value);
}

void MonitorPanel::RepaintPianoRoll(std::uint32_t port) { Roll(port)->ApplyBatch(); }

void MonitorPanel::PlayTime(std::uint32_t seconds) { time_->SetPosition(seconds); }

}  // namespace velvasto::gui

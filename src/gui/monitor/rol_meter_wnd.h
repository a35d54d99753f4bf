#pragma once
// The piano rolls: the 16 × 16 dot display of one port (PORT A in CRolMeterAWnd, PORT B in
// CRolMeterBWnd), fed with the note, GS dot-display and XG bitmap entries of its port, aged by
// its refresh timer every 100 ms. Only the columns whose dots changed are repainted.

#include <cstdint>

#include "engine/monitor_entry.h"
#include "gui/monitor/meter_wnd.h"
#include "gui/monitor/refresh_timer.h"
#include "gui/monitor/roll_model.h"

namespace velvasto::gui {

class CRolMeterWnd : public CMeterWnd {
 public:
  static constexpr std::uint32_t kRefreshMs = 100;

  ~CRolMeterWnd() override = default;

  // A note-on, note-off, GS dot-display or XG bitmap entry of the batch; others are ignored.
  void Take(const MonitorEntry& entry);
  void SetVolume(std::int32_t channel, std::uint32_t volume) { model_.SetVolume(channel, volume); }
  void SetExpression(std::int32_t channel, std::uint32_t expression) { model_.SetExpression(channel, expression); }
  void SetMaster(std::uint32_t master) { model_.SetMaster(master); }
  // The batch ends: the columns that changed are repainted.
  void ApplyBatch() { UpdateColumns(model_.ApplyBatch()); }
  // Silence and bars again, repainted in full.
  void Reset();

  const RollModel& Model() const { return model_; }
  const CRefreshTimer& RefreshTimer() const { return timer_; }
  // The dot of channel column 0..15 in row 1..16 counted from the bottom, in client coordinates.
  Rect Dot(int column, int rowFromBottom) const { return ChannelGrid(Client()).Dot(column, rowFromBottom); }

 protected:
  CRolMeterWnd(MeterKind kind, int timerId, ErrorReporter& reporter, QWidget* parent);

  void PaintContent(QPainter& painter, const Rect& dirty) override;
  std::vector<PopupItem> OwnColourItems() const override;

 private:
  void UpdateColumns(RollModel::Columns columns);

  RollModel model_;
  CRefreshTimer timer_;
};

class CRolMeterAWnd final : public CRolMeterWnd {
 public:
  CRolMeterAWnd(ErrorReporter& reporter, QWidget* parent) : CRolMeterWnd(MeterKind::RollA, 2, reporter, parent) {}
};

class CRolMeterBWnd final : public CRolMeterWnd {
 public:
  CRolMeterBWnd(ErrorReporter& reporter, QWidget* parent) : CRolMeterWnd(MeterKind::RollB, 3, reporter, parent) {}
};

}  // namespace velvasto::gui

#pragma once
// The volume and expression meters: one bar per channel of the monitored port, with a scale and
// the channel numbers. Both ports' values are kept, so switching the monitored port shows the
// other port's levels at once.

#include <array>
#include <cstdint>

#include "gui/monitor/meter_wnd.h"

namespace velvasto::gui {

class CVolBaseMeterWnd : public CMeterWnd {
 public:
  static constexpr int kMaximum = 127;

  // A channel's value of port 0 or 1; channels outside 0..15 and other ports are ignored. Only
  // the bar that changed is repainted, and only on the monitored port.
  void Take(std::uint32_t port, std::int32_t channel, std::uint32_t value);
  void SetMonitoredPort(std::uint32_t port);
  // A song starts: every value 100.
  void ResetForPlay() { SetAll(100); }
  // Play stopped: every value 0.
  void Clear() { SetAll(0); }

  std::uint32_t Value(std::uint32_t port, int channel) const { return values_[port][channel]; }
  // The bar of channel 1..16 in client coordinates.
  Rect ChannelBar(int channel) const { return ChannelGrid(Client()).ChannelBar(channel); }

 protected:
  CVolBaseMeterWnd(MeterKind kind, ErrorReporter& reporter, QWidget* parent) : CMeterWnd(kind, reporter, parent) {}

  void PaintContent(QPainter& painter, const Rect& dirty) override;
  std::vector<PopupItem> OwnColourItems() const override;
  void ColourChanged(ColourRole role) override;

 private:
  void SetAll(std::uint32_t value);

  std::array<std::array<std::uint32_t, 16>, 2> values_{};
  std::uint32_t monitoredPort_ = 0;
};

class CVolMeterWnd final : public CVolBaseMeterWnd {
 public:
  CVolMeterWnd(ErrorReporter& reporter, QWidget* parent) : CVolBaseMeterWnd(MeterKind::Volume, reporter, parent) {}
};

class CExpMeterWnd final : public CVolBaseMeterWnd {
 public:
  CExpMeterWnd(ErrorReporter& reporter, QWidget* parent) : CVolBaseMeterWnd(MeterKind::Expression, reporter, parent) {}
};

}  // namespace velvasto::gui

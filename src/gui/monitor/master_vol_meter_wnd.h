#pragma once
// The master volume meter: one bar for the master volume of the monitored port, with its value
// as a number below it. Both ports' values are kept.

#include <array>
#include <cstdint>

#include "gui/monitor/meter_wnd.h"

namespace velvasto::gui {

class CMasterVolMeterWnd final : public CMeterWnd {
 public:
  static constexpr int kMaximum = 127;

  CMasterVolMeterWnd(ErrorReporter& reporter, QWidget* parent);

  // The master volume of port 0 or 1; other ports are ignored.
  void Take(std::uint32_t port, std::uint32_t value);
  void SetMonitoredPort(std::uint32_t port);
  // A song starts: both ports at 127.
  void ResetForPlay() { SetBoth(127); }
  // Play stopped: both ports at 0.
  void Clear() { SetBoth(0); }

  std::uint32_t Value(std::uint32_t port) const { return values_[port]; }
  Rect Bar() const;
  // Where the monitored port's value stands.
  Rect ValueBox() const;

 protected:
  void PaintContent(QPainter& painter, const Rect& dirty) override;
  std::vector<PopupItem> OwnColourItems() const override;
  void ColourChanged(ColourRole role) override;

 private:
  void SetBoth(std::uint32_t value);
  QSize ValueTextSize() const;

  std::array<std::uint32_t, 2> values_{};
  std::uint32_t monitoredPort_ = 0;
};

}  // namespace velvasto::gui

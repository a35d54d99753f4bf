#pragma once
// The tempo meter: the current tempo in beats per minute as a number, and as a bar on a scale
// of 0 to 300 (faster tempos fill it), 120 whenever a song starts.

#include <cstdint>

#include "gui/monitor/meter_wnd.h"

namespace velvasto::gui {

class CTempoMeterWnd final : public CMeterWnd {
 public:
  static constexpr std::uint32_t kScaleMaximum = 300;
  static constexpr std::uint32_t kStartTempo = 120;

  CTempoMeterWnd(ErrorReporter& reporter, QWidget* parent);

  void SetTempo(std::uint32_t beatsPerMinute);
  std::uint32_t Tempo() const { return tempo_; }
  // Where the number and the bar stand, in client coordinates.
  TrackMeterLayout Layout() const;

 protected:
  void PaintContent(QPainter& painter, const Rect& dirty) override;
  std::vector<PopupItem> OwnColourItems() const override;

 private:
  std::uint32_t tempo_ = kStartTempo;
};

}  // namespace velvasto::gui

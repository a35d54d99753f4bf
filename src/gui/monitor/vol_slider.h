#pragma once
// CVolSlider: the main view's volume control, a vertical slider over 0..127 whose position 0 is
// at the top: the volume is 127 − position, so the thumb rises with the volume. Painted in two
// colours of the settings file (the background, and the active part of the track below the
// thumb), which a right click changes; they are written back when the slider goes.

#include <QSlider>

#include "engine/error_reporter.h"
#include "gui/monitor/colour_setting.h"

namespace velvasto::gui {

class CVolSlider final : public QSlider {
  Q_OBJECT

 public:
  static constexpr int kMaxVolume = 127;
  static constexpr Rgb kDefaultBack{0, 0, 0};
  static constexpr Rgb kDefaultFore{0, 223, 223};

  // `reporter` shows a failure to save the colours when the slider is destroyed.
  CVolSlider(ErrorReporter& reporter, QWidget* parent);
  // Saves both colours; a failed write is shown (62012) and the destruction goes on.
  ~CVolSlider() override;

  // The volume the position stands for, and the position of a volume.
  static int VolumeAt(int position) { return kMaxVolume - position; }
  static int PositionOf(int volume) { return kMaxVolume - volume; }
  int Volume() const { return VolumeAt(value()); }

  Rgb BackColour() const { return back_; }
  Rgb ForeColour() const { return fore_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  void RunMenuCommand(int id);

  ErrorReporter& reporter_;
  Rgb back_;
  Rgb fore_;
};

}  // namespace velvasto::gui

#pragma once
// The timer period dialog "タイマー分解能の設定": a slider over the output timer's period range
// (minimum..maximum, in milliseconds) at the period in use. The line "タイマー分解能 : %dms"
// follows the slider when the mouse lets it go, not while the thumb is dragged. OK takes the
// slider's position; a position outside the range is refused (message 62018) and the dialog
// stays open.

#include <QDialog>
#include <cstdint>

#include "app/velvasto_app.h"
#include "engine/error_reporter.h"

class QLabel;
class QSlider;

namespace velvasto::gui {

class CTimerPeriodDlg : public QDialog {
  Q_OBJECT

 public:
  CTimerPeriodDlg(const TimerPeriods& periods, ErrorReporter& reporter, QWidget* parent = nullptr);

  // After OK: the chosen period.
  std::uint32_t Period() const { return periods_.period; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowCurrent(int period);
  void OnOk();

  TimerPeriods periods_;
  ErrorReporter& reporter_;
  QSlider* slider_;
  QLabel* current_;
};

}  // namespace velvasto::gui

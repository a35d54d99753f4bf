#pragma once
// CPauseButton: the PAUSE button, which shows its paused faces while the song is paused.

#include <QPixmap>

#include "gui/monitor/org_button.h"

namespace velvasto::gui {

class CPauseButton final : public COrgButton {
  Q_OBJECT

 public:
  explicit CPauseButton(QWidget* parent);

  // Set by the view when the song pauses, cleared when it resumes or stops; repaints.
  void SetPaused(bool paused);
  bool Paused() const { return paused_; }

 protected:
  const QPixmap& Icon(Face face) const override;

 private:
  QPixmap pausedIcon_;
  QPixmap pausedPressedIcon_;
  bool paused_ = false;
};

}  // namespace velvasto::gui

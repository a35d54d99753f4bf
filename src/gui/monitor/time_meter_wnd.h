#pragma once
// The time meter: the play position as "mm:ss" and as a handle on a track of the song's length,
// which is also the seek control. The user drags the handle or clicks on the track (the time
// follows the pointer while the button is held), or moves it with the arrow keys while the
// meter has the focus; each finished move asks for the new position in whole seconds.

#include <QObject>
#include <cstdint>
#include <optional>

#include "gui/monitor/meter_wnd.h"

namespace velvasto::gui {

class CTimeMeterWnd final : public CMeterWnd {
  Q_OBJECT

 public:
  // How far one press of an arrow key moves.
  static constexpr std::uint32_t kKeyStepSeconds = 5;

  CTimeMeterWnd(ErrorReporter& reporter, QWidget* parent);

  // A song of `lengthSeconds` starts (0: nothing to seek in): position 0.
  void Reset(std::uint32_t lengthSeconds);
  // The play position in whole seconds, as the engine reports it. While the user drags, the
  // meter keeps showing where the drag is.
  void SetPosition(std::uint32_t seconds);

  std::uint32_t Position() const { return position_; }
  std::uint32_t Length() const { return length_; }
  // The time the meter shows: the drag's while one is under way, else the position.
  std::uint32_t ShownTime() const { return dragTarget_.value_or(position_); }
  TrackMeterLayout Layout() const;
  // The x of the handle for `seconds`, in client coordinates.
  int HandleX(std::uint32_t seconds) const;

 signals:
  void SeekRequested(std::uint32_t seconds);

 protected:
  void PaintContent(QPainter& painter, const Rect& dirty) override;
  std::vector<PopupItem> OwnColourItems() const override;

  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Seconds under a pointer at widget position `x`.
  std::uint32_t SecondsUnder(int x) const;
  void SeekTo(std::uint32_t seconds);

  std::uint32_t position_ = 0;
  std::uint32_t length_ = 0;
  std::optional<std::uint32_t> dragTarget_;
};

}  // namespace velvasto::gui

#pragma once
// CMeterWnd: what every window of the panel has in common. Its colours (loaded from the
// settings file when it is made, written back when it goes), its three fonts, the one-pixel
// border and the sunken frame it paints round its content, and the popup menu of the right
// button through which the user changes the colours with the colour dialog or restores the
// defaults. The windows of the panel derive from it and paint their content inside the frame.

#include <QFont>
#include <QString>
#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "gui/monitor/meter_geometry.h"
#include "gui/monitor/meter_kind.h"
#include "gui/monitor/popup_menu.h"

namespace velvasto {
class ErrorReporter;
}

namespace velvasto::gui {

// The three fonts every panel window draws with: Arial in cells of 8, 14 and 16 pixels. The
// status displays write in the medium one.
QFont MeterSmallFont();
QFont MeterMediumFont();
QFont MeterLargeFont();

class CMeterWnd : public QWidget {
 public:
  // Failures to write the colours back when the window goes are shown through `reporter`, which
  // must outlive the window.
  CMeterWnd(MeterKind kind, ErrorReporter& reporter, QWidget* parent);
  ~CMeterWnd() override;
  CMeterWnd(const CMeterWnd&) = delete;
  CMeterWnd& operator=(const CMeterWnd&) = delete;

  MeterKind Kind() const { return kind_; }
  const MeterColours& Colours() const { return colours_; }

  // The items of the popup menu, in their order.
  virtual std::vector<PopupItem> MenuItems() const;
  // Runs a popup-menu command of this window; other ids do nothing.
  virtual void RunCommand(int id);

  // Where the window draws: the widget less its one-pixel border, from (0, 0).
  Rect Client() const;

 protected:
  // Paints the window's content inside the frame. `painter` works in client coordinates;
  // `dirty` is the part of the client that needs painting.
  virtual void PaintContent(QPainter& painter, const Rect& dirty) = 0;
  // The colour items that come before the common ones in the popup menu.
  virtual std::vector<PopupItem> OwnColourItems() const { return {}; }
  // A colour of the window was changed through the popup menu.
  virtual void ColourChanged(ColourRole role);

  // Lets the user choose a new value for `colour` with the colour dialog; true when it changed.
  // The window is repainted.
  bool ChooseNewColour(Rgb& colour);
  MeterColours& MutableColours() { return colours_; }
  // Repaints `area` of the client.
  void UpdateClient(const Rect& area);
  static void Fill(QPainter& painter, const Rect& area, Rgb colour);
  // Draws `text` in `area` with the painter's font, aligned by `flags`.
  static void DrawText(QPainter& painter, const Rect& area, int flags, const QString& text);
  // Draws the channel numbers 1 to 16 with the painter's font, each centred under its column
  // (left to right) in a line from `top`. Where the columns are narrower than the numbers, a
  // number that would run into the one before it is left out.
  static void DrawChannelNumbers(QPainter& painter, const std::array<Rect, 16>& columns, int top);
  // Writes colours under their keys, showing a failure; a destructor's part.
  void SaveColours(const std::vector<KeyedColour>& colours) noexcept { gui::SaveColours(colours, reporter_); }

  const QFont& SmallFont() const { return smallFont_; }
  const QFont& MediumFont() const { return mediumFont_; }
  const QFont& LargeFont() const { return largeFont_; }

  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void PaintSunkenFrame(QPainter& painter, bool fill) const;

  MeterKind kind_;
  ErrorReporter& reporter_;
  MeterColours colours_;
  QFont smallFont_;
  QFont mediumFont_;
  QFont largeFont_;
};

}  // namespace velvasto::gui

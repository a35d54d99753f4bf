#pragma once
// What the panel's widget tests share: an answer to the next colour dialog, and reading the
// colour of a pixel of a window's client.

#include <QApplication>
#include <QColor>
#include <QColorDialog>
#include <QImage>
#include <QTimer>
#include <optional>
#include <string>
#include <vector>

#include "gui/recording_reporter.h"
#include "gui/monitor/meter_geometry.h"
#include "gui/monitor/meter_wnd.h"

namespace velvasto::gui::test {

// Waits for the next colour dialog and chooses `choice` in it, or cancels it when there is none.
// Remembers the colour the dialog opened with.
class ColourDialogAnswer {
 public:
  explicit ColourDialogAnswer(std::optional<QColor> choice) : choice_(choice) {
    poll_.setInterval(5);
    QObject::connect(&poll_, &QTimer::timeout, [this] { Answer(); });
    poll_.start();
  }
  bool Answered() const { return opened_.has_value(); }
  std::optional<QColor> Opened() const { return opened_; }

 private:
  void Answer() {
    auto* dialog = qobject_cast<QColorDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll_.stop();
    opened_ = dialog->currentColor();
    if (choice_) {
      dialog->setCurrentColor(*choice_);
      dialog->accept();
    } else {
      dialog->reject();
    }
  }

  std::optional<QColor> choice_;
  std::optional<QColor> opened_;
  QTimer poll_;
};

inline QColor ToColour(Rgb rgb) { return rgb.ToQColor(); }

// The window as it paints itself at its present size.
inline QImage Render(QWidget& window) { return window.grab().toImage(); }

// The colour at client point (x, y) of a rendered window: the client starts inside the
// one-pixel border.
inline QColor ClientPixel(const QImage& image, int x, int y) { return image.pixelColor(x + 1, y + 1); }
// The colour in the middle of `area` of the client.
inline QColor MiddleOf(const QImage& image, const Rect& area) {
  return ClientPixel(image, (area.left + area.right - 1) / 2, (area.top + area.bottom - 1) / 2);
}

}  // namespace velvasto::gui::test

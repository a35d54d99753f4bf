#pragma once
// The small status displays of the panel, each showing one value of the player's state as a
// short text: list count, time base, volume, monitor port, single repeat, list play order, drop
// mode and the patchbay's port set.

#include <QString>
#include <cstdint>
#include <string>

#include "gui/monitor/meter_wnd.h"

namespace velvasto::gui {

class CStatusWnd : public CMeterWnd {
 public:
  const QString& Text() const { return text_; }

 protected:
  enum class Align { Centre, LeftInset };
  CStatusWnd(MeterKind kind, Align align, ErrorReporter& reporter, QWidget* parent)
      : CMeterWnd(kind, reporter, parent), align_(align) {}

  void SetText(const QString& text);
  virtual Rgb TextColour() const { return Colours().text; }
  void PaintContent(QPainter& painter, const Rect& dirty) override;

 private:
  Align align_;
  QString text_;
};

class CFileCountWnd final : public CStatusWnd {
 public:
  CFileCountWnd(ErrorReporter& reporter, QWidget* parent);
  void SetCount(int entries) { SetText(QString::number(entries)); }
};

class CTimebaseWnd final : public CStatusWnd {
 public:
  CTimebaseWnd(ErrorReporter& reporter, QWidget* parent);
  void SetTimeBase(std::uint32_t ticksPerQuarter) { SetText(QString::number(ticksPerQuarter)); }
};

class CVolSetWnd final : public CStatusWnd {
 public:
  CVolSetWnd(ErrorReporter& reporter, QWidget* parent);
  void SetValue(std::uint32_t volume) { SetText(QString::number(volume)); }
};

class CMonPortWnd final : public CStatusWnd {
 public:
  CMonPortWnd(ErrorReporter& reporter, QWidget* parent);
  void SetPort(int port);
};

// "Loop", dimmed while single repeat is off.
class CLoopWnd final : public CStatusWnd {
 public:
  // How far the text colour is darkened while off, in thousandths of its luminance.
  static constexpr int kDimming = -330;

  CLoopWnd(ErrorReporter& reporter, QWidget* parent);
  void SetOn(bool on);
  bool On() const { return on_; }

 protected:
  Rgb TextColour() const override;

 private:
  bool on_ = false;
};

class CRepWnd final : public CStatusWnd {
 public:
  CRepWnd(ErrorReporter& reporter, QWidget* parent);
  void SetLoopMode(int loopMode);
};

class CDDModeWnd final : public CStatusWnd {
 public:
  CDDModeWnd(ErrorReporter& reporter, QWidget* parent);
  void SetMode(int ddMode);
};

class CSelectPortWnd final : public CStatusWnd {
 public:
  CSelectPortWnd(ErrorReporter& reporter, QWidget* parent);
  // The label of the port set in use; empty when the patchbay chose none.
  void SetPortSet(const std::string& label);
};

}  // namespace velvasto::gui

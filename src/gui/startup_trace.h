#pragma once
// The moments a start of the program is measured by: the main window shown (its first paint)
// and the first message sent to an output device. Traced when the environment variable
// VELVASTO_STARTUP_TRACE names a file: each event once, appended as a line
// "<event> <nanoseconds of the system's real-time clock>", so that a script compares them with
// the moment it started the program.

#include <QObject>
#include <atomic>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string_view>

#include "midiout/device_catalog.h"

class QWidget;

namespace velvasto::gui {

class StartupTrace final : public QObject {
 public:
  static constexpr std::string_view kWindowShown = "window-shown";
  static constexpr std::string_view kFirstMessage = "first-message";

  // The trace the environment asks for, or null.
  static std::unique_ptr<StartupTrace> FromEnvironment();
  explicit StartupTrace(std::filesystem::path file);
  ~StartupTrace() override;

  // The devices of `devices`, marking the first message any of them is sent (on the sending
  // thread). The result lives as long as this object.
  MidiDeviceCatalog& Watch(MidiDeviceCatalog& devices);
  // Marks the first paint of `widget`.
  void WatchFirstPaint(QWidget& widget);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class WatchedCatalog;
  void Mark(std::string_view event);

  std::filesystem::path file_;
  std::mutex mutex_;
  std::atomic<bool> firstMessageSeen_{false};
  bool windowShown_ = false;
  std::unique_ptr<WatchedCatalog> catalog_;
};

}  // namespace velvasto::gui

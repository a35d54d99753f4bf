#pragma once
// The transport operations as the user interface calls them: a failure is shown to the user and
// then thrown on, so that the caller can stop the song.

#include <string>

#include "engine/playback_engine.h"
#include "midiout/device_error.h"

namespace velvasto {

class ErrorReporter {
 public:
  virtual ~ErrorReporter() = default;
  // Shows an error text to the user (a message box with the error icon, or standard error).
  virtual void ShowError(const std::string& text) = 0;
  // Shows a device failure that says more than its text (which port, what the audio system
  // answered). Called while the error is being handled, so std::current_exception() is it. By
  // default only the text, as for any error.
  virtual void ShowDeviceError(const CDeviceErrMessage& error) { ShowError(error.Message()); }
};

class ReportingTransport {
 public:
  ReportingTransport(PlaybackEngine& engine, ErrorReporter& reporter) : engine_(engine), reporter_(reporter) {}

  void Start(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB, EngineNotificationSink& sink,
             const StartOptions& options);
  void Stop();
  void Pause();
  void Resume();
  void Seek(std::uint32_t seconds);
  void SetMasterVolume(std::uint32_t value);

 private:
  template <typename Operation>
  void Run(Operation&& operation);

  PlaybackEngine& engine_;
  ErrorReporter& reporter_;
};

}  // namespace velvasto

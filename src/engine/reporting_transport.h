#pragma once
// The transport operations as the user interface calls them: a failure is shown to the user and
// then thrown on, so that the caller can stop the song.

#include "engine/error_reporter.h"
#include "engine/playback_engine.h"

namespace velvasto {

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
  PlaybackEngine& engine_;
  ErrorReporter& reporter_;
};

}  // namespace velvasto

#include "engine/reporting_transport.h"

namespace velvasto {

void ReportingTransport::Start(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB,
                               EngineNotificationSink& sink, const StartOptions& options) {
  RunReported(reporter_, [&] { engine_.Start(song, portA, portB, sink, options); });
}

void ReportingTransport::Stop() {
  RunReported(reporter_, [&] { engine_.Stop(); });
}

void ReportingTransport::Pause() {
  RunReported(reporter_, [&] { engine_.Pause(); });
}

void ReportingTransport::Resume() {
  RunReported(reporter_, [&] { engine_.Resume(); });
}

void ReportingTransport::Seek(std::uint32_t seconds) {
  RunReported(reporter_, [&] { engine_.Seek(seconds); });
}

void ReportingTransport::SetMasterVolume(std::uint32_t value) {
  RunReported(reporter_, [&] { engine_.SetMasterVolume(value); });
}

}  // namespace velvasto

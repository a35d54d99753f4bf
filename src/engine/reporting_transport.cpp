#include "engine/reporting_transport.h"

#include "core/errors.h"

namespace velvasto {

template <typename Operation>
void ReportingTransport::Run(Operation&& operation) {
  try {
    operation();
  } catch (const CDeviceErrMessage& error) {
    reporter_.ShowDeviceError(error);
    throw;
  } catch (const CErrMessage& error) {
    reporter_.ShowError(error.Message());
    throw;
  } catch (...) {
    reporter_.ShowError(UndefinedErrorText());
    throw;
  }
}

void ReportingTransport::Start(CMIDIStream& song, MidiOutDevice& portA, MidiOutDevice* portB,
                               EngineNotificationSink& sink, const StartOptions& options) {
  Run([&] { engine_.Start(song, portA, portB, sink, options); });
}

void ReportingTransport::Stop() {
  Run([&] { engine_.Stop(); });
}

void ReportingTransport::Pause() {
  Run([&] { engine_.Pause(); });
}

void ReportingTransport::Resume() {
  Run([&] { engine_.Resume(); });
}

void ReportingTransport::Seek(std::uint32_t seconds) {
  Run([&] { engine_.Seek(seconds); });
}

void ReportingTransport::SetMasterVolume(std::uint32_t value) {
  Run([&] { engine_.SetMasterVolume(value); });
}

}  // namespace velvasto

#pragma once
// The audio and MIDI libraries print their own diagnostics on stderr. Ours are the error
// messages; these helpers keep the libraries quiet and collect what they say so that it can
// become the detail of an error.

#include <string>

namespace velvasto {

// Stops the ALSA library from printing ("ALSA lib ...") for the rest of the process.
void SilenceAlsaDiagnostics();
// Stops the JACK library from printing (no server running, ...) for the rest of the process.
void SilenceJackDiagnostics();

// Collects FluidSynth's warnings and errors logged on this thread while the object lives.
// Everything else FluidSynth logs, and whatever it logs when no collector is active, is dropped.
class FluidLogCollector {
 public:
  FluidLogCollector();
  ~FluidLogCollector();
  FluidLogCollector(const FluidLogCollector&) = delete;
  FluidLogCollector& operator=(const FluidLogCollector&) = delete;

  // The messages so far, separated by "; ".
  const std::string& Text() const { return text_; }
  void Append(const char* message);

 private:
  std::string text_;
  FluidLogCollector* outer_;
};

}  // namespace velvasto

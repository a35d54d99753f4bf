#include "midiout/backends/diagnostics.h"

#include <alsa/error.h>
#include <fluidsynth.h>
#include <jack/jack.h>

#include <mutex>

namespace velvasto {
namespace {

extern "C" void DropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}
extern "C" void DropJackMessage(const char*) {}

thread_local FluidLogCollector* activeCollector = nullptr;

// Informational and debugging messages ("Using 'alsa' audio driver") say nothing about a failure.
extern "C" void CollectFluidMessage(int level, const char* message, void*) {
  if (level > FLUID_WARN || activeCollector == nullptr || message == nullptr) return;
  activeCollector->Append(message);
}

void InstallFluidLogFunction() {
  static std::once_flag once;
  std::call_once(once, [] {
    for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) {
      fluid_set_log_function(level, CollectFluidMessage, nullptr);
    }
  });
}

}  // namespace

void SilenceAlsaDiagnostics() {
  static std::once_flag once;
  std::call_once(once, [] { snd_lib_error_set_handler(DropAlsaMessage); });
}

void SilenceJackDiagnostics() {
  static std::once_flag once;
  std::call_once(once, [] {
    jack_set_error_function(DropJackMessage);
    jack_set_info_function(DropJackMessage);
  });
}

FluidLogCollector::FluidLogCollector() : outer_(activeCollector) {
  InstallFluidLogFunction();
  activeCollector = this;
}

FluidLogCollector::~FluidLogCollector() { activeCollector = outer_; }

void FluidLogCollector::Append(const char* message) {
  if (!text_.empty()) text_ += "; ";
  text_ += message;
}

}  // namespace velvasto

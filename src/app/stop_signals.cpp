#include "app/stop_signals.h"

#include <atomic>
#include <cerrno>

#include "core/errors.h"

namespace velvasto {
namespace {

std::atomic<const SelfPipe*> g_pipe{nullptr};
static_assert(std::atomic<const SelfPipe*>::is_always_lock_free, "read in a signal handler");
static_assert(std::atomic<StopSignals::EndAtOnce>::is_always_lock_free, "read in a signal handler");
volatile std::sig_atomic_t g_received = 0;
std::atomic<StopSignals::EndAtOnce> g_cleanUp{nullptr};

extern "C" void OnStopSignal(int signal) {
  if (g_received != 0) {
    // Asked twice: the orderly stop is not getting anywhere. End now, as the signal would have,
    // after the program's clean-up.
    if (const StopSignals::EndAtOnce cleanUp = g_cleanUp.load()) cleanUp();
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return;
  }
  g_received = signal;
  if (const SelfPipe* pipe = g_pipe.load()) pipe->Notify(static_cast<unsigned char>(signal));
}

}  // namespace

StopSignals::StopSignals(EndAtOnce cleanUp) {
  g_received = 0;
  g_cleanUp.store(cleanUp);
  g_pipe.store(&pipe_);
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (std::size_t i = 0; i < std::size(kSignals); ++i) {
    if (::sigaction(kSignals[i], &action, &previous_[i]) != 0) {
      const int error = errno;
      for (std::size_t j = 0; j < i; ++j) ::sigaction(kSignals[j], &previous_[j], nullptr);
      g_pipe.store(nullptr);
      throw CSystemErrMessage(error);
    }
  }
}

StopSignals::~StopSignals() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
  g_pipe.store(nullptr);
}

int StopSignals::Received() const { return g_received; }

}  // namespace velvasto

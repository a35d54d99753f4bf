#pragma once
// How the user hears of a failed operation: shown once, then thrown on so that the caller can
// stop the song without showing it again.

#include <new>
#include <string>
#include <utility>

#include "core/errors.h"
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

// Runs `operation`; a failure is shown through `reporter` and thrown on unchanged. Shown: a
// device failure with its detail, the text of any other of the three error classes, 62002
// "メモリ不足です。" for an allocation failure, 62000 for anything else.
template <typename Operation>
void RunReported(ErrorReporter& reporter, Operation&& operation) {
  try {
    std::forward<Operation>(operation)();
  } catch (const CDeviceErrMessage& error) {
    reporter.ShowDeviceError(error);
    throw;
  } catch (const CErrMessage& error) {
    reporter.ShowError(error.Message());
    throw;
  } catch (const std::bad_alloc&) {
    reporter.ShowError(AppErrorText(errc::kOutOfMemory));
    throw;
  } catch (...) {
    reporter.ShowError(UndefinedErrorText());
    throw;
  }
}

}  // namespace velvasto

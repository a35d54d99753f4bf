#include "cli/error_output.h"

#include <cstdio>
#include <new>

#include "core/errors.h"
#include "midiout/device_error.h"

namespace velvasto::cli {

void PrintCurrentException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const CDeviceErrMessage& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
    if (!e.Detail().empty()) std::fprintf(stderr, "%s\n", e.Detail().c_str());
  } catch (const CErrMessage& e) {
    std::fprintf(stderr, "%s\n", e.Message().c_str());
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s\n", AppErrorText(errc::kOutOfMemory).c_str());
  } catch (...) {
    std::fprintf(stderr, "%s\n", UndefinedErrorText().c_str());
  }
}

}  // namespace velvasto::cli

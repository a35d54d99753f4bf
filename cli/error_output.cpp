#include "cli/error_output.h"

#include <cstdio>
#include <new>

namespace velvasto::cli {

void PrintError(const CErrMessage& error) { std::fprintf(stderr, "%s\n", error.Message().c_str()); }

void PrintError(const CDeviceErrMessage& error) {
  std::fprintf(stderr, "%s\n", error.Message().c_str());
  if (!error.Detail().empty()) std::fprintf(stderr, "%s\n", error.Detail().c_str());
}

void PrintCurrentException(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const CDeviceErrMessage& e) {
    PrintError(e);
  } catch (const CErrMessage& e) {
    PrintError(e);
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "%s\n", AppErrorText(errc::kOutOfMemory).c_str());
  } catch (...) {
    std::fprintf(stderr, "%s\n", UndefinedErrorText().c_str());
  }
}

}  // namespace velvasto::cli

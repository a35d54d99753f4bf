#include "gui/shown_errors.h"

#include <new>

#include "core/errors.h"

namespace velvasto::gui {

std::string CaughtErrorText() {
  try {
    throw;
  } catch (const CErrMessage& error) {
    return error.Message();
  } catch (const std::bad_alloc&) {
    return AppErrorText(errc::kOutOfMemory);
  } catch (...) {
    return UndefinedErrorText();
  }
}

}  // namespace velvasto::gui

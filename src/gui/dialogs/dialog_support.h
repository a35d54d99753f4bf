#pragma once
// What every settings dialog shares: the OK / Cancel row with the texts the dialog asks for, and
// running a step that may fail with the failure shown to the user instead of leaving the slot.

#include <QString>
#include <initializer_list>
#include <new>
#include <utility>

#include "core/errors.h"
#include "engine/reporting_transport.h"

class QDialog;
class QDialogButtonBox;
class QWidget;

namespace velvasto::gui {

// An OK button (the default button, so Enter presses it) captioned "OK" and a Cancel button
// captioned `cancelText`; Escape and Cancel reject the dialog. OK only emits the box's
// accepted(): the dialog checks its input there and accepts itself when it is valid.
QDialogButtonBox* MakeOkCancel(QDialog& dialog, const QString& cancelText);

// Tab moves through `widgets` in the order given (for controls not made in the order shown).
void SetTabOrder(std::initializer_list<QWidget*> widgets);

// Runs `step`; an error of the program's classes (or any other) is shown through `reporter` and
// false returned. No exception leaves, so a slot can call it.
template <typename Step>
bool RunShowingErrors(ErrorReporter& reporter, Step&& step) {
  try {
    std::forward<Step>(step)();
    return true;
  } catch (const CErrMessage& error) {
    reporter.ShowError(error.Message());
  } catch (const std::bad_alloc&) {
    reporter.ShowError(AppErrorText(errc::kOutOfMemory));
  } catch (...) {
    reporter.ShowError(UndefinedErrorText());
  }
  return false;
}

}  // namespace velvasto::gui

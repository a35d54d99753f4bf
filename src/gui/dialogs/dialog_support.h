#pragma once
// What every settings dialog shares: the OK / Cancel row with the texts the dialog asks for.

#include <QString>
#include <initializer_list>

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

}  // namespace velvasto::gui

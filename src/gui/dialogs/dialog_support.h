#pragma once
// What the settings dialogs share: the OK / Cancel row with the texts the dialog asks for, the
// radio buttons of a choice, the column of push buttons beside a list, the tab order.

#include <QString>
#include <initializer_list>
#include <vector>

class QButtonGroup;
class QDialog;
class QDialogButtonBox;
class QPushButton;
class QRadioButton;
class QVBoxLayout;
class QWidget;

namespace velvasto::gui {

// An OK button (the default button, so Enter presses it) captioned "OK" and a Cancel button
// captioned `cancelText`; Escape and Cancel reject the dialog. OK only emits the box's
// accepted(): the dialog checks its input there and accepts itself when it is valid.
QDialogButtonBox* MakeOkCancel(QDialog& dialog, const QString& cancelText);

// Tab moves through `widgets` in the order given (for controls not made in the order shown).
void SetTabOrder(std::initializer_list<QWidget*> widgets);

// The radio buttons of a choice among the values 0, 1, 2, … captioned `texts` in that order, in
// `group` under their values and named `namePattern` with the value for "%1". The button of
// `checked` is checked; a value that has none (a hand-edited settings file) checks none. The
// caller places them.
std::vector<QRadioButton*> MakeRadioButtons(QButtonGroup& group, std::initializer_list<QString> texts,
                                            const QString& namePattern, int checked, QWidget* parent);

// The push buttons beside a list, top to bottom with the room below them; none of them takes
// Enter from the dialog's OK.
QVBoxLayout* MakeButtonColumn(std::initializer_list<QPushButton*> buttons);

}  // namespace velvasto::gui

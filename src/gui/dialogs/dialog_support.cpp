#include "gui/dialogs/dialog_support.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velvasto::gui {

QDialogButtonBox* MakeOkCancel(QDialog& dialog, const QString& cancelText) {
  auto* buttons = new QDialogButtonBox(&dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  QPushButton* cancel = buttons->addButton(cancelText, QDialogButtonBox::RejectRole);
  ok->setObjectName(QStringLiteral("ok"));
  cancel->setObjectName(QStringLiteral("cancel"));
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  return buttons;
}

void SetTabOrder(std::initializer_list<QWidget*> widgets) {
  QWidget* previous = nullptr;
  for (QWidget* widget : widgets) {
    if (previous) QWidget::setTabOrder(previous, widget);
    previous = widget;
  }
}

std::vector<QRadioButton*> MakeRadioButtons(QButtonGroup& group, std::initializer_list<QString> texts,
                                            const QString& namePattern, int checked, QWidget* parent) {
  std::vector<QRadioButton*> radios;
  for (const QString& text : texts) {
    const int value = static_cast<int>(radios.size());
    auto* radio = new QRadioButton(text, parent);
    radio->setObjectName(namePattern.arg(value));
    radio->setChecked(value == checked);
    group.addButton(radio, value);
    radios.push_back(radio);
  }
  return radios;
}

QVBoxLayout* MakeButtonColumn(std::initializer_list<QPushButton*> buttons) {
  auto* column = new QVBoxLayout;
  for (QPushButton* button : buttons) {
    button->setAutoDefault(false);
    column->addWidget(button);
  }
  column->addStretch();
  return column;
}

}  // namespace velvasto::gui

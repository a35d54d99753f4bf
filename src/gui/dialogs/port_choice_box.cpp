#include "gui/dialogs/port_choice_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>

#include "core/errors.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

PortChoiceBox::PortChoiceBox(CMIDIPort& choice, ErrorReporter& reporter, QWidget* parent)
    : QWidget(parent),
      choice_(choice),
      reporter_(reporter),
      twoPorts_(new QCheckBox(QStringLiteral("&2ポート使用する"), this)),
      portA_(new QListWidget(this)),
      portB_(new QListWidget(this)) {
  twoPorts_->setObjectName(QStringLiteral("twoPorts"));
  portA_->setObjectName(QStringLiteral("portA"));
  portB_->setObjectName(QStringLiteral("portB"));
  for (QListWidget* list : {portA_, portB_}) {
    list->setMinimumWidth(fontMetrics().averageCharWidth() * 32);
    list->setMinimumHeight(fontMetrics().height() * 6);
  }
  auto* labelA = new QLabel(QStringLiteral("PORT &A"), this);
  auto* labelB = new QLabel(QStringLiteral("PORT &B"), this);
  labelA->setBuddy(portA_);
  labelB->setBuddy(portB_);

  auto* layout = new QGridLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(twoPorts_, 0, 0, 1, 2);
  layout->addWidget(labelA, 1, 0);
  layout->addWidget(labelB, 1, 1);
  layout->addWidget(portA_, 2, 0);
  layout->addWidget(portB_, 2, 1);

  twoPorts_->setEnabled(choice_.Devices().size() >= 2);
  twoPorts_->setChecked(choice_.PortCount() >= 2);
  Fill();
  connect(twoPorts_, &QCheckBox::clicked, this, &PortChoiceBox::OnTwoPortsClicked);
}

void PortChoiceBox::OnTwoPortsClicked(bool checked) {
  if (checked && choice_.PortCount() != 2 && !choice_.SetPortCount(2)) {
    twoPorts_->setChecked(false);
    reporter_.ShowError(AppErrorText(errc::kPortCountFailed));
    return;
  }
  if (!checked) choice_.SetPortCount(1);
  Fill();
}

bool PortChoiceBox::Commit() {
  if (twoPorts_->isChecked()) {
    if (!choice_.SetPortCount(2)) {
      reporter_.ShowError(AppErrorText(errc::kPortCountFailed));
      return false;
    }
    if (!choice_.Select(SelectedDevice(*portA_), SelectedDevice(*portB_))) {
      reporter_.ShowError(AppErrorText(errc::kSamePortSelected));
      return false;
    }
    return true;
  }
  choice_.SetPortCount(1);
  return choice_.Select(SelectedDevice(*portA_), CMIDIPort::kNoPort);
}

void PortChoiceBox::Fill() {
  const bool two = choice_.PortCount() == 2;
  FillList(*portA_, !two, choice_.PortA());
  FillList(*portB_, false, choice_.PortB());
  portB_->setEnabled(two);
}

void PortChoiceBox::FillList(QListWidget& list, bool withMapper, std::int32_t selected) {
  list.clear();
  const auto add = [&](const QString& name, std::int32_t device) {
    auto* item = new QListWidgetItem(name, &list);
    item->setData(Qt::UserRole, device);
    if (device == selected) list.setCurrentItem(item);
  };
  if (withMapper) add(ToQString(CMIDIPort::kMapperName), CMIDIPort::kMapper);
  const auto& devices = choice_.Devices();
  for (std::size_t i = 0; i < devices.size(); ++i) add(ToQString(devices[i].name), static_cast<std::int32_t>(i));
  if (!list.currentItem() && list.count() > 0) list.setCurrentRow(0);
}

std::int32_t PortChoiceBox::SelectedDevice(const QListWidget& list) {
  const QListWidgetItem* item = list.currentItem();
  return item ? item->data(Qt::UserRole).toInt() : -1;
}

}  // namespace velvasto::gui

#include "gui/dialogs/midi_port_set_item_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_support.h"
#include "gui/dialogs/port_choice_box.h"
#include "gui/qt_text.h"

namespace velvasto::gui {

CMIDIPortSetItemDlg::CMIDIPortSetItemDlg(const CMIDIPortSet& set, ErrorReporter& reporter, QWidget* parent)
    : QDialog(parent),
      set_(set),
      label_(new QLineEdit(ToQString(set.Label()), this)),
      scanString_(new QLineEdit(ToQString(set.ScanString()), this)),
      choice_(new PortChoiceBox(set_, reporter, this)) {
  setWindowTitle(QStringLiteral("仮想MIDIパッチベイ MIDIポートの設定"));
  label_->setObjectName(QStringLiteral("label"));
  scanString_->setObjectName(QStringLiteral("scanString"));

  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("接続音源名"), label_);
  fields->addRow(QStringLiteral("検索文字列"), scanString_);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(fields);
  layout->addWidget(choice_);
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("ｷｬﾝｾﾙ"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CMIDIPortSetItemDlg::OnOk);
  layout->addWidget(buttons);
}

void CMIDIPortSetItemDlg::OnOk() {
  if (!choice_->Commit()) return;
  set_.SetLabel(ToUtf8(label_->text()));
  set_.SetScanString(ToUtf8(scanString_->text()));
  accept();
}

}  // namespace velvasto::gui

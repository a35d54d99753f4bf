#include "gui/dialogs/midi_port_dlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

#include "gui/dialogs/dialog_support.h"
#include "gui/dialogs/port_choice_box.h"

namespace velvasto::gui {

CMIDIPortDlg::CMIDIPortDlg(const CMIDIPort& ports, bool installHint, ErrorReporter& reporter, QWidget* parent)
    : QDialog(parent), ports_(ports), choice_(new PortChoiceBox(ports_, reporter, this)) {
  setWindowTitle(QStringLiteral("MIDIポートの設定"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(choice_);
  if (installHint) {
    auto* hint = new QLabel(
        QStringLiteral("インストール時に設定を行わない場合でも、後から設定メニューから設定することができます。"), this);
    hint->setObjectName(QStringLiteral("installHint"));
    hint->setWordWrap(true);
    layout->addWidget(hint);
  }
  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("ｷｬﾝｾﾙ"));
  connect(buttons, &QDialogButtonBox::accepted, this, &CMIDIPortDlg::OnOk);
  layout->addWidget(buttons);
}

void CMIDIPortDlg::OnOk() {
  if (choice_->Commit()) accept();
}

}  // namespace velvasto::gui

#include "gui/dialogs/ctrl_send_dlg.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>
#include <algorithm>
#include <limits>

#include "app/control_file_progress.h"
#include "gui/qt_text.h"

namespace velvasto::gui {
namespace {

int ToBarValue(std::uint32_t value) {
  return static_cast<int>(std::min<std::uint32_t>(value, std::numeric_limits<int>::max()));
}

}  // namespace

CCtrlSendDlg::CCtrlSendDlg(int kind, std::uint32_t total, QWidget* parent)
    : QDialog(parent), text_(new QLabel(ToQString(ControlFileSendingText(kind)), this)), bar_(new QProgressBar(this)) {
  setWindowTitle(QStringLiteral("Velvasto"));
  setModal(false);
  text_->setObjectName(QStringLiteral("text"));
  bar_->setObjectName(QStringLiteral("progress"));
  bar_->setRange(0, ToBarValue(total));
  bar_->setValue(0);
  bar_->setMinimumWidth(fontMetrics().averageCharWidth() * 40);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_, 0, Qt::AlignHCenter);
  layout->addWidget(bar_);
}

void CCtrlSendDlg::SetPos(std::uint32_t sent) { bar_->setValue(std::min(ToBarValue(sent), bar_->maximum())); }

}  // namespace velvasto::gui

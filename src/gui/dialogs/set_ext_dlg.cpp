#include "gui/dialogs/set_ext_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <string_view>

#include "gui/dialogs/dialog_support.h"
#include "gui/qt_text.h"
#include "gui/shown_errors.h"

namespace velvasto::gui {
namespace {

struct BoxText {
  std::string_view extension;
  std::string_view text;
};

// In the order the dialog shows them.
constexpr std::array<BoxText, kAssociatedExtensions.size()> kBoxTexts{{
    {".mlt", "Velvastoリストファイル(*.mlt)"},
    {".mid", "標準MIDIファイル(*.mid)"},
    {".midi", "標準MIDIファイル(*.midi)"},
    {".rmi", "RIFF MIDIファイル(*.rmi)"},
    {".rcp", "レコンポーザファイル(*.rcp)"},
    {".r36", "レコンポーザファイル(*.r36)"},
    {".g36", "レコンポーザファイル(*.g36)"},
    {".g18", "レコンポーザファイル(*.g18)"},
}};

std::size_t TableIndex(std::string_view extension) {
  std::size_t index = 0;
  while (kAssociatedExtensions[index].extension != extension) ++index;
  return index;
}

// The wait cursor while the desktop's tools run.
class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace

CSetExtDlg::CSetExtDlg(const ExtensionTicks& ticks, bool installFlag, QWidget* parent) : QDialog(parent) {
  setWindowTitle(ToQString(kSetExtTitle));
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(ToQString(kSetExtNote), this);
  note->setWordWrap(true);
  layout->addWidget(note);

  for (const BoxText& box : kBoxTexts) {
    const std::size_t index = TableIndex(box.extension);
    boxes_[index] = new QCheckBox(ToQString(box.text), this);
    boxes_[index]->setChecked(ticks[index]);
    layout->addWidget(boxes_[index]);
    connect(boxes_[index], &QCheckBox::clicked, this, [this, index] { OnBoxClicked(index); });
  }

  selectAll_ = new QPushButton(this);
  selectAll_->setAutoDefault(false);
  connect(selectAll_, &QPushButton::clicked, this, &CSetExtDlg::OnSelectAll);
  layout->addWidget(selectAll_, 0, Qt::AlignLeft);

  auto* hint = new QLabel(ToQString(kSetExtInstallHint), this);
  hint->setWordWrap(true);
  hint->setVisible(installFlag);
  layout->addWidget(hint);

  QDialogButtonBox* buttons = MakeOkCancel(*this, QStringLiteral("キャンセル"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);

  // A type that any of its extensions has is shown ticked for all of them.
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    if (boxes_[i]->isChecked()) OnBoxClicked(i);
  }
  UpdateSelectAllText();
}

ExtensionTicks CSetExtDlg::Ticks() const {
  ExtensionTicks ticks{};
  for (std::size_t i = 0; i < boxes_.size(); ++i) ticks[i] = boxes_[i]->isChecked();
  return ticks;
}

void CSetExtDlg::OnBoxClicked(std::size_t index) {
  const bool ticked = boxes_[index]->isChecked();
  for (std::size_t i = 0; i < boxes_.size(); ++i) {
    if (kAssociatedExtensions[i].mimeType == kAssociatedExtensions[index].mimeType) boxes_[i]->setChecked(ticked);
  }
  UpdateSelectAllText();
}

void CSetExtDlg::OnSelectAll() {
  const bool anyUnticked = std::ranges::any_of(boxes_, [](const QCheckBox* box) { return !box->isChecked(); });
  for (QCheckBox* box : boxes_) box->setChecked(anyUnticked);
  UpdateSelectAllText();
}

void CSetExtDlg::UpdateSelectAllText() {
  const bool allTicked = std::ranges::all_of(boxes_, [](const QCheckBox* box) { return box->isChecked(); });
  selectAll_->setText(ToQString(allTicked ? kClearAllText : kSelectAllText));
}

void RunFileAssociationDialog(CFileAssociation& association, ErrorReporter& reporter, bool installFlag,
                              QWidget* parent) {
  ExtensionTicks ticks;
  {
    BusyCursor busy;
    ticks = association.CurrentTicks();
  }
  CSetExtDlg dialog(ticks, installFlag, parent);
  if (dialog.exec() != QDialog::Accepted) return;
  RunShowingErrors(reporter, [&] {
    BusyCursor busy;
    association.Apply(dialog.Ticks());
  });
}

}  // namespace velvasto::gui

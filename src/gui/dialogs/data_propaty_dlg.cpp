#include "gui/dialogs/data_propaty_dlg.h"

#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/qt_text.h"
#include "song/memo_lines.h"

namespace velvasto::gui {
namespace {

constexpr int kMemoColumns = 40;
constexpr int kMemoLines = 12;

QString YesNo(bool flag) { return flag ? QStringLiteral("有") : QStringLiteral("無"); }

QString MemoText(const SongInfo& info) {
  QString memo;
  for (const std::string& line : MemoLines(info)) memo += ToQString(line).left(kMemoColumns) + QLatin1Char('\n');
  return memo;
}

QString PlayTimeText(std::uint64_t playTimeUs) {
  const std::uint64_t seconds = playTimeUs / 1000000;
  return QStringLiteral("%1分%2秒").arg(seconds / 60).arg(seconds % 60);
}

}  // namespace

CDataPropatyDlg::CDataPropatyDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("MIDIデータのプロパティ"));
  setModal(false);
  const char16_t* const captions[kFieldCount] = {u"RCP/G36 メモ",    u"ファイル種別",  u"ファイルサブタイプ", u"MACバイナリ",
                                                 u"RIFFチャンク",    u"CM6ファイル名", u"GSDファイル名",     u"GSD2ファイル名",
                                                 u"タイムベース",    u"演奏時間",      u"トラック数"};
  const char* const names[kFieldCount] = {"memo", "kind",    "subtype",  "macBinary", "riff",  "cm6",
                                          "gsd",  "gsd2",    "timeBase", "playTime",  "tracks"};
  auto* form = new QFormLayout;
  for (int field = 0; field < kFieldCount; ++field) {
    auto* value = new QLabel(this);
    value->setObjectName(QString::fromLatin1(names[field]));
    value->setTextFormat(Qt::PlainText);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    values_[static_cast<std::size_t>(field)] = value;
    if (field != kMemo) form->addRow(QString::fromUtf16(captions[field]), value);
  }

  QLabel* memo = values_[kMemo];
  memo->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  memo->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  memo->setFrameShape(QFrame::Panel);
  memo->setFrameShadow(QFrame::Sunken);
  memo->setAutoFillBackground(true);
  QPalette palette = memo->palette();
  palette.setColor(QPalette::Window, QColor(255, 255, 250));
  palette.setColor(QPalette::WindowText, Qt::black);
  memo->setPalette(palette);
  const QFontMetrics metrics(memo->font());
  memo->setFixedSize(metrics.horizontalAdvance(QLatin1Char('M')) * kMemoColumns + 8, metrics.lineSpacing() * kMemoLines + 8);

  auto* buttons = new QDialogButtonBox(this);
  QPushButton* close = buttons->addButton(QStringLiteral("閉じる"), QDialogButtonBox::RejectRole);
  close->setObjectName(QStringLiteral("close"));
  close->setDefault(true);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::hide);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QString::fromUtf16(captions[kMemo]), this));
  layout->addWidget(memo);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void CDataPropatyDlg::Refresh(const SongInfo* info) {
  std::array<QString, kFieldCount> texts;
  if (info) {
    switch (info->kind) {
      case SongKind::Smf:
        texts[kKind] = QStringLiteral("標準MIDIファイル");
        texts[kSubtype] = info->subtype == 0 ? QStringLiteral("format0") : QStringLiteral("format1");
        texts[kMacBinary] = YesNo(info->macBinary);
        texts[kRiff] = YesNo(info->riff);
        break;
      case SongKind::Rcp:
        texts[kKind] = QStringLiteral("RCPファイル");
        texts[kSubtype] = info->subtype == 0 ? QStringLiteral("RCP") : QStringLiteral("R36");
        texts[kCm6] = ToQString(info->cm6File);
        texts[kGsd] = ToQString(info->gsdFile);
        break;
      case SongKind::G36:
        texts[kKind] = QStringLiteral("G36ファイル");
        texts[kSubtype] = info->subtype == 0 ? QStringLiteral("G36") : QStringLiteral("G18");
        texts[kCm6] = ToQString(info->cm6File);
        texts[kGsd] = ToQString(info->gsdFile);
        texts[kGsd2] = ToQString(info->gsd2File);
        break;
    }
    texts[kMemo] = MemoText(*info);
    texts[kTracks] = QString::number(info->trackCount);
    texts[kTimeBase] = QString::number(info->timeBase);
    texts[kPlayTime] = PlayTimeText(info->playTimeUs);
  }
  for (std::size_t field = 0; field < texts.size(); ++field) values_[field]->setText(texts[field]);
}

}  // namespace velvasto::gui

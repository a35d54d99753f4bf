#pragma once
// The progress window of a control file being sent ahead of a song: "CM6 FILE SENDING",
// "GSD FILE SENDING" or "GSD2 FILE SENDING" and a bar over the block's messages. Modeless; the
// main view makes one when a block begins, moves the bar as messages go out and deletes it at
// the block's end or when play stops.

#include <QDialog>
#include <cstdint>

class QLabel;
class QProgressBar;

namespace velvasto::gui {

class CCtrlSendDlg : public QDialog {
  Q_OBJECT

 public:
  // `kind` 0 CM6, 1 GSD, 2 GSD2; `total` the number of messages of the block.
  CCtrlSendDlg(int kind, std::uint32_t total, QWidget* parent = nullptr);

  // `sent` messages have gone out.
  void SetPos(std::uint32_t sent);

 private:
  QLabel* text_;
  QProgressBar* bar_;
};

}  // namespace velvasto::gui

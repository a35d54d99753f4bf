#pragma once
// The jump dialog "リストプレイデータダイレクト指定": the play list's songs by file name in a
// drop-down list, the first one chosen. After OK, Selected() is the chosen entry's place in the
// list, or −1 when the list offers nothing.

#include <QDialog>

#include "playlist/play_list.h"

class QComboBox;

namespace velvasto::gui {

class CDataSelectDlg : public QDialog {
  Q_OBJECT

 public:
  explicit CDataSelectDlg(const CPlayList& list, QWidget* parent = nullptr);

  int Selected() const { return selected_; }

 private:
  int selected_ = -1;
  QComboBox* entries_;
};

}  // namespace velvasto::gui

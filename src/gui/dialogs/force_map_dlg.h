#pragma once
// The forced-map dialog "強制MAP補正時の補正MAPの設定": which map forced correction applies,
// 0 none, 1 SC-88Pro, 2 SC-88, 3 SC-55. After OK, Map() holds the choice.

#include <QDialog>

class QButtonGroup;

namespace velvasto::gui {

class CForceMapDlg : public QDialog {
  Q_OBJECT

 public:
  // A value outside 0..3 checks no button; it is kept unless the user chooses one.
  explicit CForceMapDlg(int map, QWidget* parent = nullptr);

  int Map() const { return map_; }

 private:
  void OnOk();

  int map_;
  QButtonGroup* group_;
};

}  // namespace velvasto::gui

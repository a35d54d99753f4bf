#pragma once
// The control-file port dialog "コントロールファイル送信ポート設定": for CM6, GSD and GSD2 files
// whether they are sent and through which port (0 off, 1 PORT A, 2 PORT B), one radio group
// each. After OK, Ports() holds the three choices.

#include <QDialog>
#include <array>

class QButtonGroup;

namespace velvasto::gui {

struct ControlFilePorts {
  int cm6 = 1;
  int gsd = 1;
  int gsd2 = 0;
};

class CCtrlFilePortDlg : public QDialog {
  Q_OBJECT

 public:
  // A value other than 0, 1 or 2 (a hand-edited settings file) checks no button of its group;
  // it is kept unless the user chooses one.
  explicit CCtrlFilePortDlg(const ControlFilePorts& ports, QWidget* parent = nullptr);

  const ControlFilePorts& Ports() const { return ports_; }

 private:
  void OnOk();

  ControlFilePorts ports_;
  std::array<QButtonGroup*, 3> groups_{};
};

}  // namespace velvasto::gui

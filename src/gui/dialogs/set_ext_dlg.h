#pragma once
// CSetExtDlg: the file association dialog (command 32794, Ctrl+Shift+E). One check box per
// extension, the select-all button, the note that associations are given back, and the hint of
// a set-up start (/Commit). Extensions that share a file type on the desktop tick together.

#include <QDialog>
#include <array>

#include "app/association/file_association.h"
#include "engine/error_reporter.h"

class QCheckBox;
class QPushButton;

namespace velvasto::gui {

inline constexpr char kSetExtTitle[] = "拡張子関連付け設定";
inline constexpr char kSelectAllText[] = "全選択";
inline constexpr char kClearAllText[] = "全解除";
inline constexpr char kSetExtNote[] =
    "Velvastoの拡張子関連付けは以前の状態を保持し、関連付け解除やアンインストール時に元の状態へ戻します。";
inline constexpr char kSetExtInstallHint[] =
    "インストール時に関連付けを行わない場合でも、後から設定メニューから設定することができます。";

class CSetExtDlg : public QDialog {
  Q_OBJECT

 public:
  // `ticks` per entry of kAssociatedExtensions; the hint is shown when `installFlag` is set.
  CSetExtDlg(const ExtensionTicks& ticks, bool installFlag, QWidget* parent = nullptr);

  // The ticks as the user left them, per entry of kAssociatedExtensions.
  ExtensionTicks Ticks() const;

 private:
  // A box was clicked: the boxes of the same type follow it, and the button's text is updated.
  void OnBoxClicked(std::size_t index);
  // Ticks all when any is unticked, else unticks all.
  void OnSelectAll();
  // "全解除" when every box is ticked, else "全選択".
  void UpdateSelectAllText();

  std::array<QCheckBox*, kAssociatedExtensions.size()> boxes_{};
  QPushButton* selectAll_ = nullptr;
};

// Command 32794: the dialog over the user's present associations; OK applies the ticks. A
// failure ends the apply where it happened and is shown once the dialog has closed.
void RunFileAssociationDialog(CFileAssociation& association, ErrorReporter& reporter, bool installFlag,
                              QWidget* parent);

}  // namespace velvasto::gui
